#pragma once
#include <climits>
#include <cstddef>
#include <string>

// The keys of config.cfg: each name is spelled here and nowhere else, with its default and the
// rule by which a value read from the file is taken. Values live in section "Main"; two text
// keys name it "main", which the profile functions take for the same section. No default is
// ever written: a key is in the file only once an operation has changed its value.
namespace configkey {

// Read as an integer, on for any value but 0; written "1" or "0".
struct FlagKey {
    const char* name;
    bool fallback;
};

struct IntKey {
    enum class Fit {
        AsRead,
        Clamp,            // held within [lowest, highest]
        FallbackOutside,  // a value outside [lowest, highest] gives the default
        Low16Bits,        // unsigned 16-bit: the low 16 bits are kept
    };
    enum class Form {
        Decimal,
        OneOrZero,  // "1" for the value 1, "0" for any other
    };

    const char* name;
    int fallback;
    Fit fit = Fit::AsRead;
    int lowest = INT_MIN;
    int highest = INT_MAX;
    Form form = Form::Decimal;

    constexpr int fitted(int read) const {
        switch (fit) {
        case Fit::Clamp: return read < lowest ? lowest : read > highest ? highest : read;
        case Fit::FallbackOutside: return read < lowest || read > highest ? fallback : read;
        case Fit::Low16Bits: return read & 0xFFFF;
        case Fit::AsRead: break;
        }
        return read;
    }
};

struct TextKey {
    const char* name;
    const char* section;
    const char* fallback;  // the reader may put a folder before it
    std::size_t longest;   // a longer value gives the default; 0: any length
    bool refuseEmpty;      // an empty value gives the default
    bool upperCase;        // held in upper case (lowered first, as the platform's case tables go)

    bool accepts(const std::string& value) const {
        return !(refuseEmpty && value.empty()) && (longest == 0 || value.size() <= longest);
    }
};

using Fit = IntKey::Fit;
using Form = IntKey::Form;

// Main window, written at shutdown; the position is checked against the monitors when used.
inline constexpr IntKey SelDlgX{"SelDlgX", 210};
inline constexpr IntKey SelDlgY{"SelDlgY", 70};
// Empty, SQLite would open a temporary database and lose every copy at exit; longer than the
// program ever held, it names no file that could be opened.
// The default lies in the configuration folder.
inline constexpr TextKey DBPath{"DBPath", "main", "vorla.sql", 511, true, false};
// Hot keys 1 to 3: registration modifiers (1 Alt, 2 Control, 4 Shift, 8 Windows) and virtual key.
inline constexpr IntKey HotKeyVK{"HotKeyVK", 2, Fit::Low16Bits};
inline constexpr IntKey HotKey{"HotKey", 68, Fit::Low16Bits};
inline constexpr IntKey HotKeyPrevVK{"HotKeyPrevVK", 6, Fit::Low16Bits};
inline constexpr IntKey HotKeyPrev{"HotKeyPrev", 38, Fit::Low16Bits};
inline constexpr IntKey HotKeyNextVK{"HotKeyNextVK", 6, Fit::Low16Bits};
inline constexpr IntKey HotKeyNext{"HotKeyNext", 40, Fit::Low16Bits};
inline constexpr FlagKey ShowToolTip{"ShowToolTip", true};
// Kept as read, so that the check box shows what the file holds; written as a flag.
inline constexpr IntKey HideWindowAfter{"HideWindowAfter", 1, Fit::AsRead, INT_MIN, INT_MAX, Form::OneOrZero};
// An empty page would show nothing and page nowhere.
inline constexpr IntKey CountItemsInRange{"CountItemsInRange", 50, Fit::FallbackOutside, 1};
// A hand-edited count must not make the tray menu loop for ever.
inline constexpr IntKey CountMenuItemsInRange{"CountMenuItemsInRange", 15, Fit::Clamp, 0, 1000};
inline constexpr FlagKey MonitorClipBoard{"MonitorClipBoard", true};
inline constexpr FlagKey SaveItemsInDataBase{"SaveItemsInDataBase", true};
inline constexpr IntKey LimitRecordsInDB{"LimitRecordsInDB", 3000};
inline constexpr FlagKey CaptureImage{"CaptureImage", true};
inline constexpr FlagKey HideOnFocusLost{"HideOnFocusLost", false};
inline constexpr FlagKey MoveSelection{"MoveSelection", true};
inline constexpr FlagKey RestoreClipboard{"RestoreClipboard", true};
// Compatibility delay, ms. The paste page stores at most this too: a delay must not block the
// program for hours, and a negative one would make the platform's wait endless.
inline constexpr IntKey Sleep{"Sleep", 70, Fit::Clamp, 0, 1000};
inline constexpr TextKey ExceptApp{"ExceptApp", "main", ",yarrowkit.exe,brindlepod.exe,", 0, false, true};
inline constexpr FlagKey IconInTray{"IconInTray", true};
// The page shown last in the options window; only a hand-edited file holds another number.
inline constexpr IntKey OptionsIndex{"OptionsIndex", 0, Fit::FallbackOutside, 0, 3};
// The compaction counter belongs to the history store, which keeps its name (kVacuumCountKey,
// store/HistoryMaintenance.h) and reads and writes it through its StoreHost.

}  // namespace configkey

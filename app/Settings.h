#pragma once
#include <cstdint>
#include <string>

#include "app/SettingKeys.h"

// The values of config.cfg held in memory, one field per key, named as the key. Defaults are
// those of a missing file. RestoreClipboard and Sleep are process-wide (clipboard/ClipboardState.h),
// DBPath is dbPath; SelDlgX, SelDlgY, VacuumCount and OptionsIndex are read when needed.
struct HotKeyCombination {
    uint16_t modifiers;  // registration flags: 1 Alt, 2 Control, 4 Shift, 8 Windows key
    uint16_t key;        // virtual-key code; 0 = no hot key

    static constexpr HotKeyCombination of(const configkey::IntKey& modifiers, const configkey::IntKey& key) {
        return {static_cast<uint16_t>(modifiers.fallback), static_cast<uint16_t>(key.fallback)};
    }
};

struct Settings {
    HotKeyCombination HotKeyMain = HotKeyCombination::of(configkey::HotKeyVK, configkey::HotKey);
    HotKeyCombination HotKeyPrevious = HotKeyCombination::of(configkey::HotKeyPrevVK, configkey::HotKeyPrev);
    HotKeyCombination HotKeyNextItem = HotKeyCombination::of(configkey::HotKeyNextVK, configkey::HotKeyNext);
    bool ShowToolTip = configkey::ShowToolTip.fallback;
    int HideWindowAfter = configkey::HideWindowAfter.fallback;
    int CountItemsInRange = configkey::CountItemsInRange.fallback;
    int CountMenuItemsInRange = configkey::CountMenuItemsInRange.fallback;
    bool MonitorClipBoard = configkey::MonitorClipBoard.fallback;
    bool SaveItemsInDataBase = configkey::SaveItemsInDataBase.fallback;
    int LimitRecordsInDB = configkey::LimitRecordsInDB.fallback;
    bool CaptureImage = configkey::CaptureImage.fallback;
    bool HideOnFocusLost = configkey::HideOnFocusLost.fallback;
    bool MoveSelection = configkey::MoveSelection.fallback;
    std::string ExceptApp = configkey::ExceptApp.fallback;
    bool IconInTray = configkey::IconInTray.fallback;
};

// Where the settings are kept: section "Main" of config.cfg (app/ConfigFile.h). Each read takes
// the key's default and rule from its table entry; each write reaches the file at once.
class SettingsFile {
public:
    virtual ~SettingsFile() = default;

    virtual bool read(const configkey::FlagKey& key) const = 0;
    virtual int read(const configkey::IntKey& key) const = 0;
    // folder: put before the table's default (the history file's lies in the configuration folder).
    virtual std::string read(const configkey::TextKey& key, const std::string& folder = {}) const = 0;
    virtual void write(const configkey::FlagKey& key, bool value) const = 0;
    virtual void write(const configkey::IntKey& key, int value) const = 0;
    virtual void write(const configkey::TextKey& key, const std::string& value) const = 0;
};

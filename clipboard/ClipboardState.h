#pragma once
// Process-wide values of the clipboard engine. The window's thread owns them; the clipboard
// reader's thread reads the two that are atomic.
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "clipboard/ClipboardChanges.h"

// Clipboard notices start a capture only while this is set. Lowered around the program's own
// captures, writes and chain changes, so that their notices are harmless.
extern std::atomic<bool> captureEnabled;
// The program's write of the clipboard it has open. Lowers captureEnabled meanwhile and gives
// it back the value it had (a write made in the middle of other work must not switch capture
// on). Closes the clipboard at the end, the content it leaves marked dealt with: no capture
// reads the program's own write back, even when a viewer ahead in the chain keeps its notice.
class OwnClipboardWrite {
public:
    explicit OwnClipboardWrite(ClipboardChanges& changes) : changes_(changes), previous_(captureEnabled) {
        captureEnabled = false;
    }
    ~OwnClipboardWrite();
    OwnClipboardWrite(const OwnClipboardWrite&) = delete;
    OwnClipboardWrite& operator=(const OwnClipboardWrite&) = delete;

private:
    ClipboardChanges& changes_;
    bool previous_;
};

// The window that receives pastes; set by RememberPasteTarget.
extern HWND PasteTarget;
// The number registered for "Rich Text Format" at start-up.
extern UINT RichTextFormat;

// One clipboard format saved before a paste, to be put back after it.
struct SavedBlock {
    UINT format;
    std::string bytes;
};
// The clipboard content taken before a paste, in enumeration order; empty between pastes.
extern std::vector<SavedBlock> SavedClipboard;

// Settings used by the writer and the capture (the rest live in the main window's Settings).
// In a namespace because the platform already has a function called Sleep.
namespace paste {
extern bool RestoreClipboard;
extern std::atomic<int> Sleep;  // compatibility delay, ms
}  // namespace paste

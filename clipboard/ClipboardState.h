#pragma once
// Process-wide values of the clipboard engine. The window's thread owns them; the clipboard
// reader's thread reads the two that are atomic.
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

// Clipboard notices start a capture only while this is set. Lowered around the program's own
// captures, writes and chain changes, so that their notices are harmless.
extern std::atomic<bool> captureEnabled;
// Lowers captureEnabled while the program writes the open clipboard, and gives it back the
// value it had: a write made in the middle of other work must not switch capture on.
class OwnClipboardWrite {
public:
    OwnClipboardWrite() : previous_(captureEnabled) { captureEnabled = false; }
    ~OwnClipboardWrite() { captureEnabled = previous_; }
    OwnClipboardWrite(const OwnClipboardWrite&) = delete;
    OwnClipboardWrite& operator=(const OwnClipboardWrite&) = delete;

private:
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

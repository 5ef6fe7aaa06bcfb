#include "clipboard/ClipboardState.h"

std::atomic<bool> captureEnabled{false};

OwnClipboardWrite::~OwnClipboardWrite() {
    const DWORD written = GetClipboardSequenceNumber();  // nothing else changes it while it is open
    changes_.dealtWith(written);
    CloseClipboard();
    // Wine counts the close as one more change. Another program's write takes an empty and at
    // least one more step, so a single step past ours is the close.
    if (GetClipboardSequenceNumber() == written + 1) changes_.dealtWith(written + 1);
    captureEnabled = previous_;
}
HWND PasteTarget = nullptr;
UINT RichTextFormat = 0;
std::vector<SavedBlock> SavedClipboard;

namespace paste {
bool RestoreClipboard = true;
std::atomic<int> Sleep{70};
}  // namespace paste

#include "clipboard/ClipboardState.h"

std::atomic<bool> captureEnabled{false};
HWND PasteTarget = nullptr;
UINT RichTextFormat = 0;
std::vector<SavedBlock> SavedClipboard;

namespace paste {
bool RestoreClipboard = true;
std::atomic<int> Sleep{70};
}  // namespace paste

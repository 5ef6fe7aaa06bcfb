#include "clipboard/ClipboardState.h"

bool captureEnabled = false;
HWND PasteTarget = nullptr;
UINT RichTextFormat = 0;
std::vector<SavedBlock> SavedClipboard;

namespace paste {
bool RestoreClipboard = true;
int Sleep = 70;
}  // namespace paste

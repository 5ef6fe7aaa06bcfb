#pragma once
#include <windows.h>

#include "clipboard/ClipboardChanges.h"
#include "clipboard/ErrorReport.h"

// Types a history record into PasteTarget: saves the clipboard (when RestoreClipboard is on),
// puts the record on it, brings the target forward, sends Ctrl+V and puts the saved content
// back. `hide` hides the selection window for the paste; otherwise it takes the focus back.
void PasteRecord(int recordId, bool hide, HWND selectionWindow, ClipboardChanges& changes, const ReportError& report);

// Notes the caret (or focus) window of the foreground thread as PasteTarget, unless it
// belongs to the taskbar or to the selection window itself.
void RememberPasteTarget(HWND selectionWindow, HWND taskbarWindow);

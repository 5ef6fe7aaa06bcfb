// The selection window's commands: Paste, Copy, Delete and the keys that reach them.
#include "app/SelectionDialog.h"

#include <string>

#include "clipboard/ClipWriter.h"
#include "clipboard/PasteRecord.h"
#include "res/resource.h"
#include "store/History.h"
#include "store/HistoryDatabase.h"
#include "store/SqlException.h"
#include "ui/framework/MessageBoxes.h"

namespace {
constexpr char kDeleteErrorCaption[] = "YarrowKit Error #4";
constexpr char kDeleteErrorText[] = "Can't delete string\n Error #4 - ";

bool ctrlIsDown() { return (GetKeyState(VK_CONTROL) & 0x8000) != 0; }
bool isCopyKey(WPARAM key) { return key == 'C' || key == VK_INSERT; }
bool isModifier(WPARAM key) { return key == VK_CONTROL || key == VK_SHIFT || key == VK_MENU; }
}  // namespace

void SelectionDialog::OnPaste() {
    std::optional<int> id = itemList_.selectedRecordId();
    if (!id) return;
    UpdateData(true);
    PasteRecord(*id, settings_.HideWindowAfter != 0, hwnd(), showError_);
}

void SelectionDialog::OnCopy() {
    std::optional<int> id = itemList_.selectedRecordId();
    if (!id) return;
    PutRecordOnClipboard(*id, showError_);
    UpdateData(true);
    if (settings_.HideWindowAfter) OnCancel();
}

void SelectionDialog::OnDelete() {
    std::optional<int> id = itemList_.selectedRecordId();
    if (!id) return;
    itemPreview_.hide();
    try {
        history::remove(*id);
    } catch (const SqlException& error) {
        std::string text = std::string(kDeleteErrorText) + error.message();
        reportError(kDeleteErrorCaption, text, BoxIcon::error, hwnd());
        return;
    }
    HWND tree = item(IDC_ITEM_TREE);
    SendMessageA(tree, WM_SETREDRAW, FALSE, 0);
    itemList_.deleteSelectedItem();
    itemList_.lowerOffsetAfterDelete();
    if (itemList_.empty()) itemList_.showOlderPage();
    SendMessageA(tree, WM_SETREDRAW, TRUE, 0);
    itemList_.UpdateRangeLabel();
    historyChanged = true;
}

void SelectionDialog::postPaste() {
    PostMessageA(hwnd(), WM_COMMAND, MAKEWPARAM(IDC_PASTE, BN_CLICKED), reinterpret_cast<LPARAM>(item(IDC_PASTE)));
}

// Copy comes when C or Insert is released after it was pressed with Ctrl. Ctrl need not be
// down any more at that moment: people let go of both keys together, Ctrl often first.
void SelectionDialog::noteKeyDown(WPARAM key) {
    if (isCopyKey(key)) {
        copyKeyPressed_ = ctrlIsDown() ? key : 0;
    } else if (!isModifier(key)) {
        copyKeyPressed_ = 0;
    }
}

bool SelectionDialog::isCopyRelease(WPARAM key) {
    if (!isCopyKey(key) || (key != copyKeyPressed_ && !ctrlIsDown())) return false;
    copyKeyPressed_ = 0;
    return true;
}

bool SelectionDialog::PreTranslateMessage(MSG* message) {
    const bool inWindow = message->hwnd == hwnd() || IsChild(hwnd(), message->hwnd);
    if (!inWindow) return false;
    const bool inList = message->hwnd == item(IDC_ITEM_TREE);
    if (message->message == WM_KEYDOWN) {
        noteKeyDown(message->wParam);
        switch (message->wParam) {
        case VK_DELETE:
            if (!inList) break;
            OnDelete();
            RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            return true;
        case VK_RETURN:
            if (!inList) break;
            postPaste();
            return true;
        case VK_F4:
            PostMessageA(hwnd(), WM_COMMAND, ID_OPTIONS, 0);
            break;
        default: break;
        }
        return IsDialogMessageA(hwnd(), message) != FALSE;
    }
    if (message->message == WM_KEYUP && isCopyRelease(message->wParam)) {
        OnCopy();
        return true;
    }
    return false;
}

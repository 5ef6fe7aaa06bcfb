// The selection window's commands: Paste, Copy, Delete, the Find box and the keys that reach them.
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
bool isPrintable(WPARAM character) { return character >= 0x20 && character != 0x7F; }
}  // namespace

void SelectionDialog::OnPaste() {
    std::optional<int> id = itemList_.selectedRecordId();
    if (!id) return;
    UpdateData(true);
    PasteRecord(*id, settings_.HideWindowAfter != 0, hwnd(), monitor_.changes(), showError_);
}

void SelectionDialog::OnCopy() {
    std::optional<int> id = itemList_.selectedRecordId();
    if (!id) return;
    PutRecordOnClipboard(*id, monitor_.changes(), showError_);
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

void SelectionDialog::OnFindChanged() { SetTimer(hwnd(), kFindTimer, kFindDelayMs, nullptr); }

bool SelectionDialog::applyFind() {
    KillTimer(hwnd(), kFindTimer);
    const std::string typed = findBox_.text();
    if (typed == itemList_.filter()) return false;
    itemList_.setFilter(typed);
    if (!itemList_.LoadPage()) return false;
    itemList_.selectNow();
    return true;
}

// Items whose side rows are made in the background are found from then on: a search shown
// while they were made is run again once all are there.
void SelectionDialog::onTextsStep() {
    storeHost_.OnTimer(WinStoreHost::kTextsTimer);
    if (storeHost_.makingTexts() || itemList_.filter().empty()) return;
    if (itemList_.LoadPage()) itemList_.selectNow();
}

// Each showing starts from the whole history.
void SelectionDialog::resetFind() {
    findBox_.clear();
    applyFind();
}

// The keys of the window, before the control with the focus sees them; true when consumed.
bool SelectionDialog::OnKeyDown(const MSG& message) {
    const bool inList = message.hwnd == item(IDC_ITEM_TREE);
    const bool inFind = message.hwnd == findBox_.window();
    switch (message.wParam) {
    case VK_DELETE:
        if (!inList) return false;
        OnDelete();
        RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        return true;
    case VK_RETURN:
        if (!inList && !inFind) return false;
        // What was typed last is searched before its selected match is pasted.
        if (inFind) applyFind();
        postPaste();
        return true;
    case VK_UP: case VK_DOWN:
        if (!inFind) return false;
        applyFind();
        SendMessageA(item(IDC_ITEM_TREE), WM_KEYDOWN, message.wParam, message.lParam);
        return true;
    case VK_ESCAPE:
        // A search is undone before the window goes.
        if (findBox_.empty()) return false;
        findBox_.clear();
        applyFind();
        return true;
    case VK_F3: findBox_.focus(); return true;
    case 'F':
        if (!ctrlIsDown()) return false;
        findBox_.focus();
        return true;
    case VK_F4: PostMessageA(hwnd(), WM_COMMAND, ID_OPTIONS, 0); return false;
    default: return false;
    }
}

bool SelectionDialog::PreTranslateMessage(MSG* message) {
    const bool inWindow = message->hwnd == hwnd() || IsChild(hwnd(), message->hwnd);
    if (!inWindow) return false;
    if (message->message == WM_KEYDOWN) {
        noteKeyDown(message->wParam);
        if (OnKeyDown(*message)) return true;
        return IsDialogMessageW(hwnd(), message) != FALSE;
    }
    // Type-to-find: a character typed in the list starts or continues the search.
    if (message->message == WM_CHAR && message->hwnd == item(IDC_ITEM_TREE) && isPrintable(message->wParam)) {
        findBox_.type(message->wParam);
        return true;
    }
    if (message->message == WM_KEYUP && isCopyRelease(message->wParam)) {
        OnCopy();
        return true;
    }
    return false;
}

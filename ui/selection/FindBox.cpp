#include "ui/selection/FindBox.h"

#include <commctrl.h>

#include "res/resource.h"
#include "ui/framework/WideText.h"

namespace {
// Where the box stands, in dialog units: right of the label "Find:", above the list.
constexpr RECT kPlace = {30, 7, 231, 19};
constexpr wchar_t kCue[] = L"Type to find";
}  // namespace

void FindBox::create(HWND dialog) {
    RECT place = kPlace;
    MapDialogRect(dialog, &place);
    edit_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                            place.left, place.top, place.right - place.left, place.bottom - place.top, dialog,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_FIND_BOX)), GetModuleHandleW(nullptr),
                            nullptr);
    if (!edit_) return;
    SendMessageW(edit_, WM_SETFONT, SendMessageW(dialog, WM_GETFONT, 0, 0), FALSE);
    SendMessageW(edit_, EM_SETCUEBANNER, FALSE, reinterpret_cast<LPARAM>(kCue));
    SetWindowPos(edit_, GetDlgItem(dialog, IDC_FIND_LABEL), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

std::string FindBox::text() const {
    if (!edit_) return {};
    std::wstring typed(static_cast<std::size_t>(GetWindowTextLengthW(edit_)) + 1, L'\0');
    typed.resize(static_cast<std::size_t>(GetWindowTextW(edit_, typed.data(), static_cast<int>(typed.size()))));
    return utf8FromWide(typed);
}

bool FindBox::empty() const { return !edit_ || GetWindowTextLengthW(edit_) == 0; }

void FindBox::clear() {
    if (edit_) SetWindowTextW(edit_, L"");
}

void FindBox::focus() {
    if (!edit_) return;
    SetFocus(edit_);
    SendMessageW(edit_, EM_SETSEL, 0, -1);
}

void FindBox::type(WPARAM character) {
    if (!edit_) return;
    SetFocus(edit_);
    const LRESULT end = GetWindowTextLengthW(edit_);
    SendMessageW(edit_, EM_SETSEL, end, end);
    SendMessageW(edit_, WM_CHAR, character, 0);
}

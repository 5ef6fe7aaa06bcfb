#include "ui/framework/Dialog.h"

#include <windowsx.h>

#include "ui/framework/DataExchange.h"
#include "ui/framework/WinApp.h"

namespace {
// Marks the windows of Dialog objects, so that a modal loop can find the object of any window.
constexpr char kDialogProperty[] = "YkDialog";
}  // namespace

Dialog::Dialog(int templateId) : templateId_(templateId) {}

Dialog::~Dialog() {
    if (hwnd_) DestroyWindow(hwnd_);
}

INT_PTR Dialog::DoModal(HWND owner) {
    HINSTANCE instance = WinApp::current() ? WinApp::current()->instance() : GetModuleHandleA(nullptr);
    hwnd_ = CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId_), owner, DialogProc,
                               reinterpret_cast<LPARAM>(this));
    if (!hwnd_) return -1;
    bool reenableOwner = owner && IsWindowEnabled(owner);
    if (reenableOwner) EnableWindow(owner, FALSE);
    modal_ = true;
    ending_ = false;
    // Like the framework's modal loop: show the dialog as it starts (a filter may refuse).
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    runModalLoop();
    if (reenableOwner) EnableWindow(owner, TRUE);
    if (hwnd_) DestroyWindow(hwnd_);
    modal_ = false;
    return result_;
}

void Dialog::runModalLoop() {
    MSG message;
    while (!ending_ && hwnd_) {
        // Wide, so that characters typed into a wide control (the Find box) keep every script;
        // the platform converts for the ANSI windows.
        BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (preTranslate(&message)) continue;
        if (IsDialogMessageW(hwnd_, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

Dialog* Dialog::fromWindow(HWND window) {
    return static_cast<Dialog*>(GetPropA(window, kDialogProperty));
}

bool Dialog::preTranslate(MSG* message) {
    for (HWND window = message->hwnd; window; window = GetAncestor(window, GA_PARENT)) {
        Dialog* dialog = fromWindow(window);
        if (dialog && dialog->PreTranslateMessage(message)) return true;
        if (!(GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD)) break;
    }
    return false;
}

HWND Dialog::Create(HWND parent) {
    HINSTANCE instance = WinApp::current() ? WinApp::current()->instance() : GetModuleHandleA(nullptr);
    return CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId_), parent, DialogProc,
                              reinterpret_cast<LPARAM>(this));
}

bool Dialog::UpdateData(bool save) {
    DataExchange exchange(hwnd_, save);
    DoDataExchange(exchange);
    return !exchange.failed();
}

void Dialog::EndDialog(INT_PTR result) {
    result_ = result;
    ending_ = true;
    if (modal_ && hwnd_) PostMessageA(hwnd_, WM_NULL, 0, 0);  // wake the loop
}

void Dialog::OnOK() {
    if (!UpdateData(true)) return;
    EndDialog(IDOK);
}

void Dialog::OnCancel() { EndDialog(IDCANCEL); }

INT_PTR Dialog::answer(UINT message, LRESULT value) {
    return SetDlgMsgResult(hwnd_, message, value);
}

INT_PTR Dialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return OnInitDialog();
    case WM_COMMAND: return onCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY: return dispatchNotify(reinterpret_cast<NMHDR*>(lParam));
    case WM_TIMER: return onTimer(wParam);
    case WM_DESTROY: onDestroy(); return FALSE;
    case WM_INITMENUPOPUP: onInitMenuPopup(reinterpret_cast<HMENU>(wParam)); return FALSE;
    default: return FALSE;
    }
}

INT_PTR Dialog::dispatchNotify(NMHDR* header) {
    std::optional<LRESULT> reply = onNotify(static_cast<int>(header->idFrom), header);
    return reply ? answer(WM_NOTIFY, *reply) : FALSE;
}

bool Dialog::onCommand(int id, int) {
    switch (id) {
    case IDOK: OnOK(); return true;
    case IDCANCEL: OnCancel(); return true;
    default: return false;
    }
}

std::optional<LRESULT> Dialog::onNotify(int, NMHDR*) { return std::nullopt; }

bool Dialog::onTimer(UINT_PTR) { return false; }

INT_PTR CALLBACK Dialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* self;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
        SetPropA(window, kDialogProperty, self);
        self->hwnd_ = window;
    } else {
        self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
    }
    if (!self) return FALSE;
    INT_PTR result = FALSE;
    try {
        result = self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind through the platform's dispatcher.
        result = FALSE;
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, DWLP_USER, 0);
        RemovePropA(window, kDialogProperty);
        self->hwnd_ = nullptr;
    }
    return result;
}

#include "ui/menu/MenuWindowHook.h"

#include <cstring>

#include "ui/menu/MenuPainter.h"
#include "ui/menu/MenuStyles.h"
#include "ui/menu/OptionalPlatform.h"

namespace {
constexpr char kPrevMenuProc[] = "PrevMenuProc";
constexpr char kMenuWindowClass[] = "#32768";

bool isMenuWindow(HWND window) {
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    return std::strcmp(name, kMenuWindowClass) == 0;
}
}  // namespace

void MenuWindowHook::install() {
    if (!hook_) hook_ = SetWindowsHookExA(WH_CALLWNDPROC, OnCallWndProc, nullptr, GetCurrentThreadId());
}

void MenuWindowHook::remove() {
    if (hook_) UnhookWindowsHookEx(hook_);
    hook_ = nullptr;
}

LRESULT CALLBACK MenuWindowHook::OnCallWndProc(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_CREATE && isMenuWindow(call->hwnd)) subclass(call->hwnd);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void MenuWindowHook::subclass(HWND menuWindow) {
    if (GetPropA(menuWindow, kPrevMenuProc)) return;
    const OptionalPlatform& platform = OptionalPlatform::system();
    if (platform.themed()) platform.setWindowTheme(menuWindow, L"", L"");
    const LONG_PTR previous =
        SetWindowLongPtrA(menuWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MenuWindowProc));
    SetPropA(menuWindow, kPrevMenuProc, reinterpret_cast<HANDLE>(previous));
}

LRESULT CALLBACK MenuWindowHook::MenuWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto previous = reinterpret_cast<WNDPROC>(GetPropA(window, kPrevMenuProc));
    if (!previous) return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemovePropA(window, kPrevMenuProc);
        return CallWindowProcA(previous, window, message, wParam, lParam);
    }
    const LRESULT result = CallWindowProcA(previous, window, message, wParam, lParam);
    if (message == WM_PAINT || message == WM_NCPAINT) paintFlatFrame(window);
    return result;
}

void MenuWindowHook::paintFlatFrame(HWND menuWindow) {
    if (!menustyle::current().look.flatFrame) return;
    const MenuColours colours = MenuColours::fromSystem();
    RECT rect;
    GetWindowRect(menuWindow, &rect);
    OffsetRect(&rect, -rect.left, -rect.top);
    HDC dc = GetWindowDC(menuWindow);
    HBRUSH frame = CreateSolidBrush(colours.frame);
    HBRUSH background = CreateSolidBrush(colours.background);
    FrameRect(dc, &rect, frame);
    // The platform's raised edge inside it gives way to the menu's background.
    for (int ring = 0; ring < 2; ++ring) {
        InflateRect(&rect, -1, -1);
        FrameRect(dc, &rect, background);
    }
    DeleteObject(background);
    DeleteObject(frame);
    ReleaseDC(menuWindow, dc);
}

#include "ui/options/PageCaption.h"

namespace {
const char kClassName[] = "YarrowkitPageCaption";

void registerClassOnce(HINSTANCE instance, WNDPROC procedure) {
    WNDCLASSA windowClass = {};
    if (GetClassInfoA(instance, kClassName, &windowClass)) return;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);
}
}  // namespace

PageCaption::~PageCaption() {
    if (hwnd_) DestroyWindow(hwnd_);
    releaseDrawingObjects();
}

bool PageCaption::Create(HWND parent, const RECT& area, int controlId) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    registerClassOnce(instance, WindowProc);
    CreateWindowExA(0, kClassName, "", WS_CHILD | WS_VISIBLE, area.left, area.top, area.right - area.left,
                    area.bottom - area.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), instance,
                    this);
    return hwnd_ != nullptr;
}

void PageCaption::OnCreate() {
    background_ = RGB(161, 157, 157);
    brush_ = CreateSolidBrush(background_);
    font_ = CreateFontA(26, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, "Times New Roman");
}

void PageCaption::releaseDrawingObjects() {
    if (brush_) DeleteObject(brush_);
    if (font_) DeleteObject(font_);
    brush_ = nullptr;
    font_ = nullptr;
}

void PageCaption::setText(const std::string& text) {
    text_ = text;
    if (!hwnd_) return;
    // Also the window text, so that other programs (screen readers, tests) can read it.
    SetWindowTextA(hwnd_, text_.c_str());
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void PageCaption::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd_, &paint);
    RECT client;
    GetClientRect(hwnd_, &client);
    FillRect(dc, &client, brush_);
    HGDIOBJ previousFont = SelectObject(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, text_.c_str(), -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, previousFont);
    EndPaint(hwnd_, &paint);
}

LRESULT PageCaption::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_PAINT: OnPaint(); return 0;
    case WM_ERASEBKGND: return 1;  // painting fills the whole band
    default: return DefWindowProcA(hwnd_, message, wParam, lParam);
    }
}

LRESULT CALLBACK PageCaption::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* creating = static_cast<PageCaption*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creating));
        creating->hwnd_ = window;
    }
    auto* self = reinterpret_cast<PageCaption*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return self->HandleMessage(message, wParam, lParam);
}

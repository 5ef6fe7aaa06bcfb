#include "ui/controls/HyperLinkCtrl.h"

#include <commctrl.h>
#include <shellapi.h>

#include "ui/controls/HyperLinkText.h"
#include "ui/controls/LinkPlacement.h"
#include "ui/framework/MessageBoxes.h"

namespace {

constexpr UINT_PTR kSubclassId = 1;
constexpr UINT_PTR kToolId = 1;
constexpr int kHelpHandCursor = 106;  // in the platform's help program
constexpr int kRepaintSlack = 10;      // the underline and italics may reach past the text
// The last glyph may overhang its advance width, which is all that GetTextExtentPoint32A
// measures; without room for it the control clips it (seen under Wine).
constexpr int kFitSlack = 3;

// The default value of a HKEY_CLASSES_ROOT key, at most MAX_PATH bytes; false when unreadable.
bool readClassesValue(const std::string& keyName, std::string& value) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, keyName.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    char data[MAX_PATH + 1] = {};
    LONG size = MAX_PATH;
    LONG status = RegQueryValueA(key, nullptr, data, &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return false;
    value.assign(data, strnlen(data, MAX_PATH));
    return true;
}

hyperlink::Alignment alignmentOf(LONG_PTR style) {
    switch (style & SS_TYPEMASK) {
    case SS_CENTER: return hyperlink::Alignment::Centre;
    case SS_RIGHT: return hyperlink::Alignment::Right;
    default: return hyperlink::Alignment::Left;
    }
}

}  // namespace

HyperLinkCtrl::~HyperLinkCtrl() {
    detach();
    if (underlinedFont_) DeleteObject(underlinedFont_);
    if (normalFont_) DeleteObject(normalFont_);
    if (linkCursor_) DestroyCursor(linkCursor_);
    if (tooltip_ && IsWindow(tooltip_)) DestroyWindow(tooltip_);
}

bool HyperLinkCtrl::attach(HWND control) {
    if (hwnd_ || !control || !IsWindow(control)) return false;
    hwnd_ = control;
    parent_ = GetParent(control);
    if (!SetWindowSubclass(hwnd_, ControlProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this)) ||
        !SetWindowSubclass(parent_, ParentProc, reinterpret_cast<UINT_PTR>(hwnd_), reinterpret_cast<DWORD_PTR>(this))) {
        detach();
        return false;
    }
    SetWindowLongPtrA(hwnd_, GWL_STYLE, GetWindowLongPtrA(hwnd_, GWL_STYLE) | SS_NOTIFY);
    std::string text = controlText();
    if (address_.empty()) address_ = hyperlink::addressFromText(text);
    if (text.empty()) SetWindowTextA(hwnd_, address_.c_str());
    makeFonts();
    fitToText();
    loadDefaultCursor();
    setUnderlineMode(kUnderlinedOnHover);
    tooltipText_ = hyperlink::tooltipText(address_, tooltipPrefix_);
    createTooltip();
    return true;
}

void HyperLinkCtrl::detach() {
    if (!hwnd_) return;
    KillTimer(hwnd_, kHoverTimer);
    RemoveWindowSubclass(hwnd_, ControlProc, kSubclassId);
    if (parent_) RemoveWindowSubclass(parent_, ParentProc, reinterpret_cast<UINT_PTR>(hwnd_));
    hwnd_ = nullptr;
    parent_ = nullptr;
}

std::string HyperLinkCtrl::controlText() const {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(hwnd_)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(hwnd_, text.data(), static_cast<int>(text.size()))));
    return text;
}

void HyperLinkCtrl::makeFonts() {
    auto font = reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0));
    if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    if (!font) font = static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
    LOGFONTA description = {};
    GetObjectA(font, sizeof description, &description);
    normalFont_ = CreateFontIndirectA(&description);
    description.lfUnderline = TRUE;
    underlinedFont_ = CreateFontIndirectA(&description);
}

void HyperLinkCtrl::setAddress(const std::string& address) {
    address_ = address;
    if (!hwnd_) return;
    fitToText();
    tooltipText_ = hyperlink::tooltipText(address_, tooltipPrefix_);
    updateTooltip();
}

void HyperLinkCtrl::setVisited(bool visited) {
    visited_ = visited;
    if (hwnd_) repaint();
}

void HyperLinkCtrl::setLinkCursor(HCURSOR cursor) {
    if (linkCursor_) DestroyCursor(linkCursor_);
    linkCursor_ = cursor;
    if (!linkCursor_) loadDefaultCursor();
}

void HyperLinkCtrl::setUnderlineMode(int mode) {
    if (mode != underlineMode_ && hwnd_) {
        setControlFont(mode == kAlwaysUnderlined ? underlinedFont_ : normalFont_);
        repaint();
    }
    underlineMode_ = mode;
}

void HyperLinkCtrl::loadDefaultCursor() {
    if (linkCursor_) return;
    char folder[MAX_PATH] = {};
    UINT length = GetWindowsDirectoryA(folder, sizeof folder);
    if (length > 0 && length < sizeof folder) {
        std::string helpProgram = std::string(folder) + "\\winhlp32.exe";
        // As data only: nothing of that program runs, and it need not match our bitness.
        if (HMODULE module = LoadLibraryExA(helpProgram.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
            if (HCURSOR hand = LoadCursorA(module, MAKEINTRESOURCEA(kHelpHandCursor))) linkCursor_ = CopyCursor(hand);
            FreeLibrary(module);
        }
    }
    // Current systems no longer ship that cursor; theirs is the standard hand.
    if (!linkCursor_) {
        if (HCURSOR hand = LoadCursorA(nullptr, IDC_HAND)) linkCursor_ = CopyCursor(hand);
    }
}

void HyperLinkCtrl::createTooltip() {
    tooltip_ = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!tooltip_) return;
    TTTOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    // The tooltip watches the control's mouse messages itself.
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = hwnd_;
    tool.uId = kToolId;
    tool.lpszText = tooltipText_.data();
    GetClientRect(hwnd_, &tool.rect);
    SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void HyperLinkCtrl::updateTooltip() {
    if (!tooltip_) return;
    TTTOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = hwnd_;
    tool.uId = kToolId;
    GetClientRect(hwnd_, &tool.rect);
    SendMessageA(tooltip_, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
    tool.lpszText = tooltipText_.data();
    SendMessageA(tooltip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}

void HyperLinkCtrl::fitToText() {
    if (!fitToText_ || !hwnd_) return;
    RECT window, client;
    GetWindowRect(hwnd_, &window);
    MapWindowPoints(nullptr, parent_, reinterpret_cast<POINT*>(&window), 2);
    GetClientRect(hwnd_, &client);
    const int borderWidth = (window.right - window.left) - client.right;
    const int borderHeight = (window.bottom - window.top) - client.bottom;

    std::string text = controlText();
    SIZE extent = {};
    HDC dc = GetDC(hwnd_);
    HGDIOBJ previous = SelectObject(dc, underlinedFont_);
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    SelectObject(dc, previous);
    ReleaseDC(hwnd_, dc);

    const LONG_PTR style = GetWindowLongPtrA(hwnd_, GWL_STYLE);
    hyperlink::Box fitted = hyperlink::fittedBox({window.left, window.top, window.right, window.bottom},
                                                 extent.cx + kFitSlack + borderWidth, extent.cy + borderHeight,
                                                 alignmentOf(style), (style & SS_CENTERIMAGE) != 0);
    SetWindowPos(hwnd_, nullptr, fitted.left, fitted.top, fitted.width(), fitted.height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void HyperLinkCtrl::setControlFont(HFONT font) { SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE); }

void HyperLinkCtrl::repaint() { InvalidateRect(hwnd_, nullptr, TRUE); }

COLORREF HyperLinkCtrl::textColour() const {
    if (hovering_) return hoverColour_;
    return visited_ ? visitedColour_ : unvisitedColour_;
}

int HyperLinkCtrl::openAddress(const std::string& address, int showCommand) {
    auto opened = reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, showCommand));
    int result = static_cast<int>(opened);
    if (result > 32) return result;
    // No association for the address itself: hand it to the browser that opens web pages.
    std::string browserClass, commandTemplate;
    if (!readClassesValue(".htm", browserClass) ||
        !readClassesValue(browserClass + "\\shell\\open\\command", commandTemplate))
        return result;
    return static_cast<int>(WinExec(hyperlink::browserCommandLine(commandTemplate, address).c_str(),
                                    static_cast<UINT>(showCommand)));
}

void HyperLinkCtrl::reportOpenError(int code) {
    reportError(hyperlink::openErrorMessage(code), BoxIcon::exclamation, parent_);
}

void HyperLinkCtrl::OnClicked() {
    hovering_ = false;
    int result = openAddress(address_, SW_SHOW);
    if (result > 32) {
        setVisited(true);
        return;
    }
    visited_ = false;
    MessageBeep(MB_ICONEXCLAMATION);
    reportOpenError(result);
}

void HyperLinkCtrl::OnMouseMove() {
    if (hovering_) return;
    hovering_ = true;
    if (underlineMode_ == kUnderlinedOnHover) setControlFont(underlinedFont_);
    repaint();
    SetTimer(hwnd_, kHoverTimer, 100, nullptr);
}

void HyperLinkCtrl::OnHoverTimer() {
    DWORD position = GetMessagePos();
    POINT point = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    ScreenToClient(hwnd_, &point);
    RECT client;
    GetClientRect(hwnd_, &client);
    if (PtInRect(&client, point)) return;
    hovering_ = false;
    KillTimer(hwnd_, kHoverTimer);
    if (underlineMode_ != kAlwaysUnderlined) setControlFont(normalFont_);
    client.right += kRepaintSlack;
    InvalidateRect(hwnd_, &client, TRUE);
}

void HyperLinkCtrl::OnEraseBackground(HDC dc) {
    RECT client;
    GetClientRect(hwnd_, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
}

void HyperLinkCtrl::OnDestroy() { KillTimer(hwnd_, kHoverTimer); }

LRESULT HyperLinkCtrl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEMOVE: OnMouseMove(); break;
    case WM_TIMER:
        if (wParam != kHoverTimer) break;
        OnHoverTimer();
        return 0;
    case WM_SETCURSOR:
        if (!linkCursor_) break;
        SetCursor(linkCursor_);
        return TRUE;
    case WM_ERASEBKGND: OnEraseBackground(reinterpret_cast<HDC>(wParam)); return TRUE;
    case WM_DESTROY: OnDestroy(); break;
    case WM_NCDESTROY: {
        LRESULT result = DefSubclassProc(hwnd_, message, wParam, lParam);
        detach();
        return result;
    }
    default: break;
    }
    return DefSubclassProc(hwnd_, message, wParam, lParam);
}

// The parent's side: what it is told about this control is handled here, as the framework
// reflects notifications back to the control that sent them.
LRESULT HyperLinkCtrl::HandleParentMessage(HWND parent, UINT message, WPARAM wParam, LPARAM lParam) {
    const bool aboutThis = reinterpret_cast<HWND>(lParam) == hwnd_;
    if (message == WM_COMMAND && aboutThis && HIWORD(wParam) == STN_CLICKED) {
        OnClicked();
        return 0;
    }
    if (message == WM_CTLCOLORSTATIC && aboutThis) {
        // A parent may choose the background; the text colour is the link's.
        LRESULT brush = DefSubclassProc(parent, message, wParam, lParam);
        auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, textColour());
        SetBkMode(dc, TRANSPARENT);
        return brush ? brush : reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    return DefSubclassProc(parent, message, wParam, lParam);
}

LRESULT CALLBACK HyperLinkCtrl::ControlProc(HWND, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR self) {
    return reinterpret_cast<HyperLinkCtrl*>(self)->HandleMessage(message, wParam, lParam);
}

LRESULT CALLBACK HyperLinkCtrl::ParentProc(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR self) {
    return reinterpret_cast<HyperLinkCtrl*>(self)->HandleParentMessage(parent, message, wParam, lParam);
}

#include "ui/selection/PreviewTooltip.h"

#include "ui/framework/WideText.h"

namespace {
constexpr int kMaxTipWidth = 300;  // longer lines wrap
}

PreviewTooltip::PreviewTooltip() { resetTool(TTF_TRACK); }

PreviewTooltip::~PreviewTooltip() {
    if (window_ && IsWindow(window_)) DestroyWindow(window_);
}

void PreviewTooltip::resetTool(UINT flags) {
    tool_ = {};
    // The record as the common controls of every supported system understand it.
    tool_.cbSize = TTTOOLINFOW_V2_SIZE;
    tool_.uFlags = flags;
    tool_.lpszText = text_.empty() ? nullptr : text_.data();
}

void PreviewTooltip::create(HWND owner) {
    if (window_) return;
    window_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, GetModuleHandleA(nullptr),
                              nullptr);
    if (!window_) return;
    text_.clear();
    resetTool(TTF_TRACK);
    SendMessageA(window_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool_));
    SendMessageA(window_, TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
    SendMessageA(window_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool_));
}

void PreviewTooltip::showAt(const std::string& text, int x, int y) {
    if (!window_) return;
    text_ = wideFromUtf8(text);
    resetTool(TTF_TRACK | TTF_ABSOLUTE | TTF_PARSELINKS);
    // The tooltip keeps its own copy of the text.
    SendMessageA(window_, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool_));
    SendMessageA(window_, TTM_TRACKPOSITION, 0, MAKELPARAM(x, y));
    SendMessageA(window_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool_));
}

void PreviewTooltip::hide() {
    if (window_) SendMessageA(window_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool_));
}

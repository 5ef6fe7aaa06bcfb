// The hyperlink control on a real static text control of a dialog.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/controls/HyperLinkCtrl.h"

namespace {

constexpr int kLinkId = 200;

// A dialog made from an in-memory template with one static text control, as the resource
// compiler would lay it out.
class LinkHost {
public:
    LinkHost(const char* text, DWORD style) {
        std::vector<WORD> words(512, 0);
        auto* dialog = reinterpret_cast<DLGTEMPLATE*>(words.data());
        dialog->style = WS_POPUP | WS_VISIBLE | DS_SETFONT;
        dialog->cdit = 1;
        dialog->cx = 200;
        dialog->cy = 60;
        size_t at = sizeof(DLGTEMPLATE) / sizeof(WORD) + 3;  // no menu, default class, no title
        words[at++] = 8;
        at = appendText(words, at, "MS Sans Serif");
        at = (at + 1) & ~size_t(1);  // items are DWORD aligned
        auto* item = reinterpret_cast<DLGITEMTEMPLATE*>(&words[at]);
        item->style = WS_CHILD | WS_VISIBLE | style;
        item->x = 10;
        item->y = 10;
        item->cx = 180;
        item->cy = 12;
        item->id = kLinkId;
        at += sizeof(DLGITEMTEMPLATE) / sizeof(WORD);
        words[at++] = 0xFFFF;
        words[at++] = 0x0082;  // Static
        at = appendText(words, at, text);
        window_ = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), dialog, nullptr, DefaultProc, 0);
    }
    ~LinkHost() { DestroyWindow(window_); }
    HWND window() const { return window_; }
    HWND control() const { return GetDlgItem(window_, kLinkId); }

private:
    static size_t appendText(std::vector<WORD>& words, size_t at, const char* text) {
        for (const char* c = text; *c; ++c) words[at++] = static_cast<WORD>(static_cast<unsigned char>(*c));
        words[at++] = 0;
        return at;
    }
    static INT_PTR CALLBACK DefaultProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }
    HWND window_;
};

// Handles messages until the condition holds or the time is up; the condition's last value.
template <typename Condition>
bool pumpUntil(Condition condition, DWORD milliseconds) {
    const DWORD until = GetTickCount() + milliseconds;
    while (!condition() && static_cast<int>(until - GetTickCount()) > 0) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(5);
    }
    return condition();
}

void pumpFor(DWORD milliseconds) { pumpUntil([] { return false; }, milliseconds); }

RECT rectInParent(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool underlined(HWND control) {
    LOGFONTA font = {};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfUnderline != 0;
}

SIZE textExtent(HWND control, const std::string& text) {
    HDC dc = GetDC(control);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE size = {};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return size;
}

}  // namespace

TEST(HyperLinkCtrl, AttachTakesTheTextAsAddressAndFitsTheWindowAroundIt) {
    LinkHost host("www.example.org/page", SS_CENTER);
    ASSERT_TRUE(host.control());
    RECT before = rectInParent(host.control());
    HyperLinkCtrl link;
    ASSERT_TRUE(link.attach(host.control()));

    EXPECT_EQ(link.address(), "http://www.example.org/page");
    EXPECT_EQ(link.tooltipText(), "Go to www.example.org/page");
    EXPECT_TRUE(GetWindowLongA(host.control(), GWL_STYLE) & SS_NOTIFY);
    EXPECT_NE(link.linkCursor(), nullptr);  // the help program's hand, or the standard one

    RECT after = rectInParent(host.control());
    SIZE text = textExtent(host.control(), "www.example.org/page");
    EXPECT_GE(after.right - after.left, text.cx + 1) << "room for the last glyph's overhang";
    EXPECT_LE(after.right - after.left, text.cx + 4);
    EXPECT_EQ(after.bottom - after.top, text.cy);
    EXPECT_LE(std::abs((after.left + after.right) - (before.left + before.right)), 1);  // centred as before
    EXPECT_EQ(after.top, before.top);
}

TEST(HyperLinkCtrl, SetAddressRefitsAndRetitlesAndAnEmptyControlShowsItsAddress) {
    LinkHost host("", SS_LEFT);
    HyperLinkCtrl link;
    link.setAddress("mailto:someone@example.org");
    ASSERT_TRUE(link.attach(host.control()));
    char text[128] = {};
    GetWindowTextA(host.control(), text, sizeof text);
    EXPECT_STREQ(text, "mailto:someone@example.org");
    EXPECT_EQ(link.tooltipText(), "E-mail someone@example.org");

    RECT before = rectInParent(host.control());
    SetWindowTextA(host.control(), "a much longer text than the address was");
    link.setAddress("http://example.org");
    RECT after = rectInParent(host.control());
    EXPECT_EQ(after.left, before.left);
    const int longer = textExtent(host.control(), "a much longer text than the address was").cx;
    EXPECT_GE(after.right - after.left, longer + 1);
    EXPECT_LE(after.right - after.left, longer + 4);
    EXPECT_EQ(link.tooltipText(), "Go to example.org");
}

TEST(HyperLinkCtrl, UnderlinedWhileTheMouseIsOverItOnly) {
    LinkHost host("www.example.org", SS_LEFT);
    HyperLinkCtrl link;
    ASSERT_TRUE(link.attach(host.control()));
    EXPECT_FALSE(underlined(host.control()));

    RECT rect;
    GetWindowRect(host.control(), &rect);
    SetCursorPos(rect.left + 2, rect.top + 2);
    SendMessageA(host.control(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_TRUE(link.hovering());
    EXPECT_TRUE(underlined(host.control()));
    pumpFor(250);
    EXPECT_TRUE(link.hovering()) << "the pointer is still over the link";

    // The hover timer notices the pointer has gone; under load that can take a while.
    SetCursorPos(rect.right + 50, rect.bottom + 50);
    EXPECT_TRUE(pumpUntil([&] { return !link.hovering(); }, 5000));
    EXPECT_FALSE(underlined(host.control()));

    link.setUnderlineMode(HyperLinkCtrl::kAlwaysUnderlined);
    EXPECT_TRUE(underlined(host.control()));
}

TEST(HyperLinkCtrl, ShowsItsCursorOverTheControl) {
    LinkHost host("www.example.org", SS_LEFT);
    HyperLinkCtrl link;
    ASSERT_TRUE(link.attach(host.control()));
    SendMessageA(host.control(), WM_SETCURSOR, reinterpret_cast<WPARAM>(host.control()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), link.linkCursor());
}

// The hyperlink control on the static texts of a real dialog: fitted to its text, underlined
// while the pointer is over it, showing its own cursor.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "res/resource.h"
#include "ui/controls/HyperLinkCtrl.h"
#include "ui/framework/Dialog.h"
#include "win_support.h"

namespace {

RECT rectInParent(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

HFONT fontOf(HWND control) { return reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)); }

bool underlined(HWND control) {
    LOGFONTA font = {};
    GetObjectA(fontOf(control), sizeof font, &font);
    return font.lfUnderline != 0;
}

SIZE textExtent(HWND control) {
    char text[256] = {};
    const int length = GetWindowTextA(control, text, sizeof text);
    HDC dc = GetDC(control);
    HGDIOBJ previous = SelectObject(dc, fontOf(control));
    SIZE size = {};
    GetTextExtentPoint32A(dc, text, length, &size);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return size;
}

// The window of a centred link holds its text and the last glyph's overhang, centred where it was.
void expectFittedAround(HWND control, const RECT& before) {
    const RECT after = rectInParent(control);
    const SIZE text = textExtent(control);
    EXPECT_GE(after.right - after.left, text.cx + 1);
    EXPECT_LE(after.right - after.left, text.cx + 4);
    EXPECT_EQ(after.bottom - after.top, text.cy);
    EXPECT_LE(std::abs((after.left + after.right) - (before.left + before.right)), 1);
    EXPECT_EQ(after.top, before.top);
}

}  // namespace

TEST(HyperLinkCtrl, FitsItsWindowToTheTextWheneverTheAddressIsSet) {
    Dialog about(IDD_ABOUT);
    ASSERT_TRUE(about.Create(nullptr));
    HyperLinkCtrl mail, home;
    const HWND mailControl = about.item(IDC_MAIL_LINK), homeControl = about.item(IDC_HOME_LINK);
    const RECT mailBefore = rectInParent(mailControl), homeBefore = rectInParent(homeControl);
    SetWindowTextA(mailControl, "www.example.org/page");
    ASSERT_TRUE(mail.attach(mailControl));
    EXPECT_EQ(mail.address(), "http://www.example.org/page") << "the text gives the address";
    EXPECT_TRUE(GetWindowLongA(mailControl, GWL_STYLE) & SS_NOTIFY);
    expectFittedAround(mailControl, mailBefore);

    home.setAddress("http://www.example.org");
    ASSERT_TRUE(home.attach(homeControl));
    char text[64] = {};
    GetWindowTextA(homeControl, text, sizeof text);
    EXPECT_STREQ(text, "http://www.example.org") << "an empty control shows its address";
    expectFittedAround(homeControl, homeBefore);
    SetWindowTextA(homeControl, "a much longer text than the address was");
    home.setAddress("http://example.org");
    expectFittedAround(homeControl, homeBefore);
}

TEST(HyperLinkCtrl, UnderlinedWhileThePointerIsOverItAndShowsItsCursor) {
    Dialog about(IDD_ABOUT);
    ASSERT_TRUE(about.Create(nullptr));
    ShowWindow(about.hwnd(), SW_SHOW);
    const HWND control = about.item(IDC_MAIL_LINK);
    HyperLinkCtrl link;
    ASSERT_TRUE(link.attach(control));
    EXPECT_FALSE(underlined(control));
    RECT rect;
    GetWindowRect(control, &rect);
    SetCursorPos(rect.left + 2, rect.top + 2);
    SendMessageA(control, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_TRUE(underlined(control));
    SendMessageA(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), link.linkCursor());
    // The hover timer notices the pointer has gone; under load that can take a while.
    SetCursorPos(rect.right + 50, rect.bottom + 50);
    EXPECT_TRUE(pumpUntil([&] { return !link.hovering(); }, 10000));
    EXPECT_FALSE(underlined(control));
}

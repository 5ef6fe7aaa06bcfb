// The hyperlink control on the static texts of a real dialog: fitted to its text, underlined
// while the pointer is over it, showing its own cursor.
#include <cstdlib>

#include "res/resource.h"
#include "ui/controls/HyperLinkCtrl.h"
#include "ui/framework/Dialog.h"
#include "win_support.h"

namespace {

HFONT fontOf(HWND control) { return reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)); }

bool underlined(HWND control) {
    LOGFONTA font = {};
    return GetObjectA(fontOf(control), sizeof font, &font) && font.lfUnderline;
}

RECT rectInParent(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The window of a centred link holds its text and the last glyph's overhang, centred where it was.
void expectFittedToItsText(HWND control, const RECT& before) {
    char text[256] = {};
    SIZE size = {};
    HDC dc = GetDC(control);
    SelectObject(dc, fontOf(control));
    GetTextExtentPoint32A(dc, text, GetWindowTextA(control, text, sizeof text), &size);
    ReleaseDC(control, dc);
    const RECT after = rectInParent(control);
    EXPECT_GE(after.right - after.left, size.cx + 1) << text;
    EXPECT_LE(after.right - after.left, size.cx + 4) << text;
    EXPECT_EQ(after.bottom - after.top, size.cy) << text;
    EXPECT_LE(std::abs((after.left + after.right) - (before.left + before.right)), 1) << text;
    EXPECT_EQ(after.top, before.top) << text;
}

// Puts the pointer at x, y; the platform refuses while our window is not yet on the screen.
bool movePointer(int x, int y) {
    POINT at;
    return pumpUntil([&] { return SetCursorPos(x, y) && GetCursorPos(&at) && at.x == x && at.y == y; }, 10000);
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
    expectFittedToItsText(mailControl, mailBefore);

    home.setAddress("http://www.example.org");
    ASSERT_TRUE(home.attach(homeControl));
    char text[64] = {};
    GetWindowTextA(homeControl, text, sizeof text);
    EXPECT_STREQ(text, "http://www.example.org") << "an empty control shows its address";
    expectFittedToItsText(homeControl, homeBefore);
    SetWindowTextA(homeControl, "a much longer text than the address was");
    home.setAddress("http://example.org");
    expectFittedToItsText(homeControl, homeBefore);
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
    ASSERT_TRUE(movePointer(rect.left + 2, rect.top + 2));
    SendMessageA(control, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_TRUE(underlined(control));
    EXPECT_FALSE(pumpUntil([&] { return !link.hovering(); }, 300)) << "the pointer is still over it";
    SendMessageA(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), link.linkCursor());
    // The hover timer notices the pointer has gone; under load that can take a while.
    ASSERT_TRUE(movePointer(rect.right + 50, rect.bottom + 50));
    EXPECT_TRUE(pumpUntil([&] { return !link.hovering(); }, 10000));
    EXPECT_FALSE(underlined(control));
}

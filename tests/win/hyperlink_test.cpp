// The hyperlink control on the static texts of a real dialog: fitted to its text, underlined
// under the pointer, showing its own cursor. Clicks and colours are seen end to end.
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

std::string textOf(HWND control) {
    char text[256] = {};
    return std::string(text, GetWindowTextA(control, text, sizeof text));
}

// The window of a centred link holds its text and the last glyph's overhang, centred where it was.
void expectFittedToItsText(HWND control, const RECT& before) {
    const std::string text = textOf(control);
    SIZE size = {};
    HDC dc = GetDC(control);
    SelectObject(dc, fontOf(control));
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    ReleaseDC(control, dc);
    RECT after;
    GetWindowRect(control, &after);
    EXPECT_GE(after.right - after.left, size.cx + 1) << text;
    EXPECT_LE(after.right - after.left, size.cx + 4) << text;
    EXPECT_EQ(after.bottom - after.top, size.cy) << text;
    EXPECT_LE(std::abs((after.left + after.right) - (before.left + before.right)), 1) << text;
    EXPECT_EQ(after.top, before.top) << text;
}

}  // namespace

TEST(HyperLinkCtrl, FitsItsWindowToTheTextUnderlinesUnderThePointerAndShowsItsCursor) {
    Dialog about(IDD_ABOUT);
    ASSERT_TRUE(about.Create(nullptr));
    HyperLinkCtrl mail, home;
    const HWND mailControl = about.item(IDC_MAIL_LINK), homeControl = about.item(IDC_HOME_LINK);
    RECT mailBefore, homeBefore;
    GetWindowRect(mailControl, &mailBefore);
    GetWindowRect(homeControl, &homeBefore);
    SetWindowTextA(mailControl, "www.example.org/page");
    ASSERT_TRUE(mail.attach(mailControl));
    EXPECT_EQ(mail.address(), "http://www.example.org/page") << "the text gives the address";
    expectFittedToItsText(mailControl, mailBefore);

    home.setAddress("http://www.example.org");
    ASSERT_TRUE(home.attach(homeControl));
    EXPECT_EQ(textOf(homeControl), "http://www.example.org") << "an empty control shows its address";
    SetWindowTextA(homeControl, "a much longer text than the address was");
    home.setAddress("http://example.org");
    expectFittedToItsText(homeControl, homeBefore);

    EXPECT_FALSE(underlined(mailControl));
    SendMessageA(mailControl, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_TRUE(underlined(mailControl));
    SendMessageA(mailControl, WM_SETCURSOR, reinterpret_cast<WPARAM>(mailControl), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_NE(GetCursor(), LoadCursorA(nullptr, IDC_ARROW)) << "its own cursor, a copy of a hand";
}

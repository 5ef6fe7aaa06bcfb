// The icon menu on real platform menus: measuring, the disabled icon's silhouette, and a dialog's
// menu bar taken over with the icon table and its menu windows hooked. Mnemonics and clicks on
// the taken-over menus are end to end.
#include "app/MenuIcons.h"
#include "res/resource.h"
#include "ui/menu/IconMenuDialog.h"
#include "ui/menu/MenuPainter.h"
#include "win_support.h"

namespace {

CIconMenuItemData textItem(const char* text, bool inMenuBar = false) {
    CIconMenuItemData item;
    item.text = text;
    item.inMenuBar = inMenuBar;
    return item;
}

MEASUREITEMSTRUCT measured(const CIconMenuItemData& item) {
    MEASUREITEMSTRUCT measure = {ODT_MENU, 0, 0, 0, 0, 0};
    MenuPainter().measure(item, measure);
    return measure;
}

// Draws `item` in `state` into a memory bitmap; how often each colour occurs in its icon square.
std::map<COLORREF, int> iconColours(const MenuPainter& painter, const CIconMenuItemData& item, UINT state) {
    const int size = MenuPainter::kIconSize, left = (MenuPainter::kIconColumn - size) / 2;
    const int top = (MenuPainter::kItemHeight - size) / 2;
    HDC screen = GetDC(nullptr), dc = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(dc, CreateCompatibleBitmap(screen, 160, MenuPainter::kItemHeight));
    painter.draw(item, {ODT_MENU, 0, item.command, 0, state, nullptr, dc, {0, 0, 160, MenuPainter::kItemHeight},
                        reinterpret_cast<ULONG_PTR>(&item)});
    std::map<COLORREF, int> counts;
    for (int y = top; y < top + size; ++y)
        for (int x = left; x < left + size; ++x) ++counts[GetPixel(dc, x, y)];
    DeleteObject(SelectObject(dc, previous));
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return counts;
}

}  // namespace

TEST(IconMenu, MeasureLeavesRoomForTheIconColumnTextAndShortcut) {
    CIconMenuItemData separator;
    separator.kind = CIconMenuItemData::Kind::Separator;
    const MEASUREITEMSTRUCT plain = measured(textItem("&Options..."));
    EXPECT_GT(plain.itemWidth, UINT{MenuPainter::kIconColumn + 30}) << "icon column plus the text";
    EXPECT_GE(plain.itemHeight, UINT{MenuPainter::kIconSize + 4});
    EXPECT_GT(measured(textItem("&Options...\tF4")).itemWidth, plain.itemWidth + 20) << "a gap and the shortcut";
    EXPECT_LT(measured(separator).itemHeight, plain.itemHeight);
    EXPECT_LT(measured(textItem("&Options...", true)).itemWidth, plain.itemWidth) << "the bar has no icon column";
}

TEST(IconMenu, DisabledIconIsAOneColourSilhouette) {
    menustyle::setIconVariant(0);  // as the program chooses at start-up
    MenuPainter painter(OptionalPlatform::none());
    CIconMenuStrip strip(programMenuIcons());
    CIconMenuItemData gear = textItem("&Options...\tF4");
    gear.images = strip.images();
    gear.image = strip.cellOf(ID_OPTIONS);
    const MenuColours& colours = painter.colours();
    std::map<COLORREF, int> disabled = iconColours(painter, gear, ODS_GRAYED);
    EXPECT_GT(disabled[colours.silhouette], 40) << "the gear's shape, not a few stray pixels";
    EXPECT_EQ(disabled.size(), 2u) << "the silhouette on the icon band";
    EXPECT_TRUE(disabled.count(colours.band));
    const std::map<COLORREF, int> enabled = iconColours(painter, gear, 0);
    EXPECT_GT(enabled.size(), 2u) << "the icon in its own colours";
    EXPECT_EQ(enabled.count(colours.silhouette), 0u);
}

TEST(IconMenu, DialogTakesOverItsMenuBarWithTheIconTableAndHooksItsMenuWindows) {
    CIconMenuDialog host(IDD_SELECTION, programMenuIcons());
    ASSERT_TRUE(host.Create(nullptr));
    const HMENU bar = GetMenu(host.hwnd());
    EXPECT_TRUE(iconItemOf(bar, 0, TRUE)->inMenuBar);
    // By command, in any submenu: About is the last of its popup, yet the table's fifth cell.
    const std::pair<UINT, int> cells[] = {{ID_OPTIONS, 0}, {ID_ABOUT, 4}, {ID_CLOSE_APP, 6}, {ID_PASTE_TO_TARGET, -1}};
    for (const auto& [command, cell] : cells) {
        const CIconMenuItemData* item = iconItemOf(bar, command);
        ASSERT_TRUE(item && (GetMenuState(bar, command, MF_BYCOMMAND) & MF_OWNERDRAW)) << command;
        EXPECT_EQ(item->hasIcon() ? item->image : -1, cell) << command;
        EXPECT_FALSE(item->inMenuBar) << command;
    }
    EXPECT_EQ(iconItemOf(bar, ID_COPY_TO_CLIPBOARD)->text, "&Copy to Clipboard\tCtrl-C \\ Ctrl-Insert");
    EXPECT_FALSE(GetMenuState(GetSystemMenu(host.hwnd(), FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_OWNERDRAW)
        << "the system menu stays the platform's";
    // A menu window of the thread, as the platform makes one for each popup menu it shows.
    const HWND menuWindow =
        CreateWindowExA(0, "#32768", nullptr, WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    EXPECT_TRUE(GetPropA(menuWindow, "PrevMenuProc")) << "subclassed as it was made";
    DestroyWindow(menuWindow);
}

// The icon menu layer on real platform menus: what the items keep, the icon table, measuring,
// the disabled silhouette rendered into a memory bitmap, the menu-window hook and the
// menu-character answer of the dialog base.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "app/MenuIcons.h"
#include "res/resource.h"
#include "ui/menu/IconMenu.h"
#include "ui/menu/IconMenuDialog.h"
#include "ui/menu/IconMenuStrip.h"
#include "ui/menu/MenuPainter.h"
#include "ui/menu/MenuStyles.h"

namespace {

constexpr UINT kFirst = 500, kSecond = 501, kInner = 502;

UINT stateOf(HMENU menu, UINT position) { return GetMenuState(menu, position, MF_BYPOSITION); }

// A 32-bit top-down bitmap to draw items into and read back.
class PixelCanvas {
public:
    PixelCanvas(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        previous_ = SelectObject(dc_, bitmap_);
    }
    ~PixelCanvas() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    COLORREF at(int x, int y) const {
        GdiFlush();
        const DWORD pixel = bits_[y * width_ + x];
        return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    }
    // How often each colour occurs in the rectangle.
    std::map<COLORREF, int> colours(const RECT& rect) const {
        std::map<COLORREF, int> counts;
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x) ++counts[at(x, y)];
        return counts;
    }

private:
    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    DWORD* bits_ = nullptr;
};

class IconMenuTest : public testing::Test {
protected:
    void SetUp() override {
        menustyle::select(menustyle::kDefaultStyle);
        menustyle::setIconVariant(0);
    }
    void TearDown() override { menustyle::select(menustyle::kDefaultStyle); }

    // Draws `item` into a fresh canvas the size of one menu item and returns the canvas.
    std::unique_ptr<PixelCanvas> render(const MenuPainter& painter, const CIconMenuItemData& item, UINT state) {
        auto canvas = std::make_unique<PixelCanvas>(kWidth, MenuPainter::kItemHeight);
        DRAWITEMSTRUCT draw = {};
        draw.CtlType = ODT_MENU;
        draw.itemState = state;
        draw.hDC = canvas->dc();
        draw.rcItem = {0, 0, kWidth, MenuPainter::kItemHeight};
        draw.itemData = reinterpret_cast<ULONG_PTR>(&item);
        painter.draw(item, draw);
        return canvas;
    }
    static RECT iconRect() {
        const int x = (MenuPainter::kIconColumn - MenuPainter::kIconSize) / 2;
        const int y = (MenuPainter::kItemHeight - MenuPainter::kIconSize) / 2;
        return {x, y, x + MenuPainter::kIconSize, y + MenuPainter::kIconSize};
    }
    CIconMenuItemData gearItem() const {
        CIconMenuItemData item;
        item.text = "&Options...\tF4";
        item.command = ID_OPTIONS;
        item.images = strip_.images();
        item.image = strip_.cellOf(ID_OPTIONS);
        return item;
    }

    static constexpr int kWidth = 160;
    CIconMenuStrip strip_{programMenuIcons()};
};

}  // namespace

TEST_F(IconMenuTest, ItemsKeepTextIdFlagsCheckMarksSeparatorsSubmenusAndValues) {
    CIconMenu submenu;
    submenu.createPopup();
    ASSERT_TRUE(submenu.appendItem(0, kInner, "Inner"));
    CIconMenu menu;
    menu.createPopup();
    ASSERT_TRUE(menu.appendItem(0, kFirst, "First\tCtrl-F"));
    ASSERT_TRUE(menu.appendItem(MF_SEPARATOR, 0));
    ASSERT_TRUE(menu.appendItem(MF_POPUP, reinterpret_cast<UINT_PTR>(submenu.handle()), "Sub"));
    ASSERT_TRUE(menu.insertItem(1, 0, kSecond, "Second"));
    CheckMenuItem(menu.handle(), kSecond, MF_BYCOMMAND | MF_CHECKED);

    HMENU handle = menu.handle();
    ASSERT_EQ(menu.itemCount(), 4);
    EXPECT_EQ(GetMenuItemID(handle, 0), kFirst);
    EXPECT_EQ(GetMenuItemID(handle, 1), kSecond);
    EXPECT_EQ(GetSubMenu(handle, 3), submenu.handle());
    for (UINT position = 0; position < 4; ++position) EXPECT_TRUE(stateOf(handle, position) & MF_OWNERDRAW);
    EXPECT_TRUE(stateOf(handle, 1) & MF_CHECKED);
    EXPECT_FALSE(stateOf(handle, 0) & MF_CHECKED);
    EXPECT_TRUE(stateOf(handle, 2) & MF_SEPARATOR);
    EXPECT_EQ(menu.itemAt(0)->text, "First\tCtrl-F");
    EXPECT_EQ(menu.itemAt(3)->kind, CIconMenuItemData::Kind::Submenu);
    EXPECT_EQ(menu.itemAt(3)->text, "Sub");
    EXPECT_EQ(menu.itemAt(2)->kind, CIconMenuItemData::Kind::Separator);

    EXPECT_TRUE(menu.setItemValue(kSecond, 4711));
    EXPECT_TRUE(submenu.setItemValue(kInner, 42));
    EXPECT_EQ(menu.itemValue(kSecond), ULONG_PTR{4711});
    EXPECT_EQ(menu.itemValue(kInner), ULONG_PTR{42}) << "found through the submenu";
    EXPECT_EQ(menu.itemValue(kFirst), ULONG_PTR{0});
    EXPECT_FALSE(menu.itemValue(999).has_value());
    EXPECT_FALSE(menu.setItemValue(999, 1));

    EXPECT_TRUE(menu.deleteItem(kSecond));
    EXPECT_FALSE(menu.deleteItem(kSecond));
    EXPECT_EQ(menu.itemCount(), 3);
    EXPECT_FALSE(menu.itemValue(kSecond).has_value());
    EXPECT_EQ(menu.itemAt(0)->text, "First\tCtrl-F");
}

TEST_F(IconMenuTest, SubmenuSurvivesTheMenuItWasAppendedTo) {
    CIconMenu submenu;
    submenu.createPopup();
    submenu.appendItem(0, kInner, "Inner");
    {
        CIconMenu menu;
        menu.createPopup();
        menu.appendItem(MF_POPUP, reinterpret_cast<UINT_PTR>(submenu.handle()), "Sub");
    }
    EXPECT_TRUE(IsMenu(submenu.handle()));
    EXPECT_EQ(GetMenuItemID(submenu.handle(), 0), kInner);
}

TEST_F(IconMenuTest, TakingOverTheMenuBarKeepsEveryItemAndAppliesTheIconTable) {
    ASSERT_EQ(ImageList_GetImageCount(strip_.images()), CIconMenuStrip::kCells);
    HMENU bar = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAIN_MENU));
    ASSERT_TRUE(bar);
    {
        CIconMenu menu;
        menu.attach(bar, true);
        menu.applyIcons(strip_);
        ASSERT_EQ(menu.itemCount(), 3);
        EXPECT_EQ(menu.itemAt(0)->text, "&Main");
        EXPECT_TRUE(menu.itemAt(0)->inMenuBar);
        HMENU main = GetSubMenu(bar, 0);
        EXPECT_EQ(GetMenuItemCount(main), 7);
        EXPECT_TRUE(stateOf(main, 2) & MF_SEPARATOR);
        EXPECT_FALSE(FindIconMenuItem(main, ID_OPTIONS)->inMenuBar);

        const std::map<UINT, int> expected = {{ID_OPTIONS, 0}, {ID_HOME_PAGE, 1}, {ID_SEND_FEEDBACK, 3},
                                              {ID_ABOUT, 4},   {ID_CLOSE_APP, 6}};
        for (UINT command : {ID_MONITOR_CLIPBOARD, ID_RECONNECT_CLIPBOARD, ID_OPTIONS, ID_HIDE_WINDOW, ID_CLOSE_APP,
                             ID_PASTE_TO_TARGET, ID_COPY_TO_CLIPBOARD, ID_DELETE_CLIP, ID_HOME_PAGE, ID_FORUM,
                             ID_SEND_FEEDBACK, ID_NEWSLETTER, ID_ABOUT}) {
            const CIconMenuItemData* item = menu.findItem(command);
            ASSERT_TRUE(item) << command;
            EXPECT_TRUE(GetMenuState(bar, command, MF_BYCOMMAND) & MF_OWNERDRAW) << command;
            const auto cell = expected.find(command);
            EXPECT_EQ(item->hasIcon(), cell != expected.end()) << command;
            if (cell != expected.end()) {
                EXPECT_EQ(item->image, cell->second) << command;
            }
        }
        EXPECT_EQ(menu.findItem(ID_OPTIONS)->text, "&Options...\tF4");
        EXPECT_EQ(menu.findItem(ID_COPY_TO_CLIPBOARD)->text, "&Copy to Clipboard\tCtrl-C \\ Ctrl-Insert");
    }
    DestroyMenu(bar);
}

TEST_F(IconMenuTest, MeasureLeavesRoomForTheIconColumnTextAndShortcut) {
    MenuPainter painter;
    auto measured = [&](const CIconMenuItemData& item) {
        MEASUREITEMSTRUCT measure = {};
        measure.CtlType = ODT_MENU;
        painter.measure(item, measure);
        return measure;
    };
    CIconMenuItemData plain;
    plain.text = "&Options...";
    CIconMenuItemData withShortcut = plain;
    withShortcut.text = "&Options...\tF4";
    CIconMenuItemData separator;
    separator.kind = CIconMenuItemData::Kind::Separator;

    const MEASUREITEMSTRUCT item = measured(plain);
    EXPECT_GT(item.itemWidth, static_cast<UINT>(MenuPainter::kIconColumn + 30)) << "icon column plus the text";
    EXPECT_GE(item.itemHeight, static_cast<UINT>(MenuPainter::kIconSize + 4));
    EXPECT_GT(measured(withShortcut).itemWidth, item.itemWidth + 10);
    EXPECT_LT(measured(separator).itemHeight, item.itemHeight);
    CIconMenuItemData barItem = plain;
    barItem.inMenuBar = true;
    EXPECT_LT(measured(barItem).itemWidth, item.itemWidth) << "menu-bar items have no icon column";
}

TEST_F(IconMenuTest, DisabledIconIsAOneColourSilhouetteEnabledIconIsNot) {
    MenuPainter painter(OptionalPlatform::none());
    const CIconMenuItemData item = gearItem();
    const MenuColours& colours = painter.colours();

    auto disabled = render(painter, item, ODS_GRAYED);
    const std::map<COLORREF, int> seen = disabled->colours(iconRect());
    std::set<COLORREF> kinds;
    for (const auto& [colour, count] : seen) kinds.insert(colour);
    EXPECT_EQ(kinds, (std::set<COLORREF>{colours.band, colours.silhouette}));
    EXPECT_GT(seen.at(colours.silhouette), 40) << "the gear's shape, not a few stray pixels";
    EXPECT_NE(colours.silhouette, colours.background);
    EXPECT_NE(colours.silhouette, colours.text);

    auto enabled = render(painter, item, 0);
    EXPECT_GT(enabled->colours(iconRect()).size(), 2u) << "the icon in its own colours";
    EXPECT_EQ(enabled->colours(iconRect()).count(colours.silhouette), 0u);
}

TEST_F(IconMenuTest, DrawsWithoutThemesAndGradientsInEveryStyle) {
    MenuPainter painter(OptionalPlatform::none());
    CIconMenuItemData item = gearItem();
    CIconMenuItemData separator;
    separator.kind = CIconMenuItemData::Kind::Separator;
    CIconMenuItemData submenu;
    submenu.kind = CIconMenuItemData::Kind::Submenu;
    submenu.text = "Help";
    for (int style = 0; style < menustyle::kStyleCount; ++style) {
        menustyle::select(style);
        for (UINT state : {0u, static_cast<UINT>(ODS_SELECTED), static_cast<UINT>(ODS_CHECKED | ODS_GRAYED)}) {
            render(painter, item, state);
            render(painter, separator, state);
            render(painter, submenu, state);
        }
    }
    // Without GradientFill the gradient band of style 4 is solid.
    menustyle::select(4);
    auto canvas = render(painter, separator, 0);
    const RECT band = {0, 0, MenuPainter::kIconColumn, MenuPainter::kItemHeight};
    EXPECT_EQ(canvas->colours(band).size(), 1u);
    EXPECT_EQ(canvas->at(1, 1), painter.colours().band);
}

namespace {

// The main window's template and menu bar, with the layer behind it.
class MenuHost : public CIconMenuDialog {
public:
    MenuHost() : CIconMenuDialog(IDD_SELECTION, programMenuIcons()) {}
};

struct MenuWindowSeen {
    bool found = false;
    bool subclassed = false;
};
MenuWindowSeen* menuWindowSeen = nullptr;

// Runs inside the popup menu's own loop: looks at the menu window, then closes the menu.
void CALLBACK inspectMenuWindow(HWND, UINT, UINT_PTR, DWORD) {
    HWND window = FindWindowA("#32768", nullptr);
    if (window && IsWindowVisible(window)) {
        menuWindowSeen->found = true;
        menuWindowSeen->subclassed = GetPropA(window, "PrevMenuProc") != nullptr;
    }
    EndMenu();
}

}  // namespace

TEST_F(IconMenuTest, MenuWindowsAreSubclassedWhileTheDialogLives) {
    MenuHost host;
    ASSERT_TRUE(host.Create(nullptr));
    EXPECT_TRUE(GetMenuState(GetMenu(host.hwnd()), 0, MF_BYPOSITION) & MF_OWNERDRAW) << "the menu bar is taken over";
    EXPECT_TRUE(GetMenuState(GetSystemMenu(host.hwnd(), FALSE), SC_CLOSE, MF_BYCOMMAND) != 0xFFFFFFFF);
    EXPECT_FALSE(GetMenuState(GetSystemMenu(host.hwnd(), FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_OWNERDRAW)
        << "the system menu stays the platform's";

    CIconMenu menu;
    menu.createPopup();
    menu.appendItem(0, kFirst, "First", strip_.images(), 0);
    MenuWindowSeen seen;
    menuWindowSeen = &seen;
    const UINT_PTR timer = SetTimer(nullptr, 0, 300, inspectMenuWindow);
    SetForegroundWindow(host.hwnd());
    TrackPopupMenu(menu.handle(), 0, 100, 100, 0, host.hwnd(), nullptr);
    KillTimer(nullptr, timer);
    menuWindowSeen = nullptr;
    EXPECT_TRUE(seen.found);
    EXPECT_TRUE(seen.subclassed);
}

TEST_F(IconMenuTest, MenuCharacterOpensTheItemWithThatMnemonic) {
    MenuHost host;
    ASSERT_TRUE(host.Create(nullptr));
    HMENU help = GetSubMenu(GetMenu(host.hwnd()), 2);
    auto ask = [&](char key, HMENU menu, UINT flags) {
        return SendMessageA(host.hwnd(), WM_MENUCHAR, MAKEWPARAM(key, flags), reinterpret_cast<LPARAM>(menu));
    };
    EXPECT_EQ(ask('n', help, MF_POPUP), MAKELRESULT(3, MNC_EXECUTE)) << "Subscribe to &Newsletter";
    EXPECT_EQ(ask('A', help, MF_POPUP), MAKELRESULT(5, MNC_EXECUTE)) << "&About";
    EXPECT_EQ(ask('c', GetMenu(host.hwnd()), 0), MAKELRESULT(1, MNC_EXECUTE)) << "&Clip on the bar";
    EXPECT_EQ(HIWORD(ask('q', help, MF_POPUP)), MNC_IGNORE);
}

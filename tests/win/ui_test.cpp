// The user interface where no journey sees the outcome: a notification's answer (the list's custom draw),
// a link fitted to its text, the icon menu's measure, disabled silhouette and taken-over menu bar, and the
// tray menu against a real history file. Clicks, keys, link colours and the records listed are end to end.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "app/MenuIcons.h"
#include "app/Paths.h"
#include "app/TrayMenu.h"
#include "app/WinStoreHost.h"
#include "res/resource.h"
#include "store/History.h"
#include "store/HistoryDatabase.h"
#include "ui/controls/HyperLinkCtrl.h"
#include "ui/framework/Dialog.h"
#include "ui/menu/IconMenuDialog.h"
#include "ui/menu/IconMenuItemData.h"
#include "ui/menu/MenuPainter.h"

namespace {

struct AnsweringDialog : Dialog {
    AnsweringDialog() : Dialog(IDD_ABOUT) {}
    using Dialog::HandleMessage;
    std::optional<LRESULT> notifyAnswer;
    std::optional<LRESULT> onNotify(int, NMHDR*) override { return notifyAnswer; }
};

// The icon menu's record behind an item, read as the owner-draw messages read it.
const CIconMenuItemData* iconItemOf(HMENU menu, UINT item, BOOL byPosition = FALSE) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    return GetMenuItemInfoA(menu, item, byPosition, &info) ? CIconMenuItemData::from(info.dwItemData) : nullptr;
}

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

std::vector<UINT> commandsOf(HMENU menu) {
    std::vector<UINT> commands;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) commands.push_back(GetMenuItemID(menu, i));
    return commands;
}

}  // namespace

TEST(Dialog, ANotificationsAnswerTravelsInTheMessageResult) {
    AnsweringDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    NMHDR header = {nullptr, 1006, static_cast<UINT>(NM_CUSTOMDRAW)};
    // The hook's answer, then the dialog procedure's result and the message result (99: untouched).
    const struct { std::optional<LRESULT> answer; INT_PTR result; LONG_PTR messageResult; } cases[] = {
        {std::nullopt, FALSE, 99}, {CDRF_NOTIFYITEMDRAW, TRUE, CDRF_NOTIFYITEMDRAW}};
    for (const auto& c : cases) {
        dialog.notifyAnswer = c.answer;
        SetWindowLongPtrA(dialog.hwnd(), DWLP_MSGRESULT, 99);
        EXPECT_EQ(dialog.HandleMessage(WM_NOTIFY, 1006, reinterpret_cast<LPARAM>(&header)), c.result);
        EXPECT_EQ(GetWindowLongPtrA(dialog.hwnd(), DWLP_MSGRESULT), c.messageResult);
    }
}

TEST(HyperLinkCtrl, TakesItsAddressFromItsTextAndFitsItsWindowToTheTextWhereItWasCentred) {
    Dialog about(IDD_ABOUT);
    ASSERT_TRUE(about.Create(nullptr));
    const HWND control = about.item(IDC_MAIL_LINK);
    const std::string text = "www.example.org/page";
    RECT before, after;
    GetWindowRect(control, &before);
    SetWindowTextA(control, text.c_str());
    HyperLinkCtrl link;
    ASSERT_TRUE(link.attach(control));
    EXPECT_EQ(link.address(), "http://" + text);
    SIZE size = {};
    HDC dc = GetDC(control);
    SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    ReleaseDC(control, dc);
    GetWindowRect(control, &after);
    // The text and the last glyph's overhang, centred where the control was.
    EXPECT_GE(after.right - after.left, size.cx + 1);
    EXPECT_LE(after.right - after.left, size.cx + 4);
    EXPECT_NEAR(after.left + after.right, before.left + before.right, 1);
}

TEST(IconMenu, MeasureLeavesRoomForTheIconColumnTextAndShortcut) {
    const MEASUREITEMSTRUCT plain = measured(textItem("&Options..."));
    EXPECT_GT(plain.itemWidth, UINT{MenuPainter::kIconColumn + 30}) << "icon column plus the text";
    EXPECT_GE(plain.itemHeight, UINT{MenuPainter::kIconSize + 4});
    EXPECT_GT(measured(textItem("&Options...\tF4")).itemWidth, plain.itemWidth + 20) << "a gap and the shortcut";
    EXPECT_LT(measured(textItem("&Options...", true)).itemWidth, plain.itemWidth) << "the bar has no icon column";
}

TEST(IconMenu, DisabledIconIsAOneColourSilhouette) {
    menustyle::setIconVariant(0);  // as the program chooses at start-up
    MenuPainter painter(OptionalPlatform::none());
    CIconMenuStrip strip(programMenuIcons());
    CIconMenuItemData gear = textItem("&Options...\tF4");
    gear.images = strip.images();
    gear.image = strip.cellOf(ID_OPTIONS);
    std::map<COLORREF, int> disabled = iconColours(painter, gear, ODS_GRAYED);
    EXPECT_GT(disabled[painter.colours().silhouette], 40) << "the gear's shape, not a few stray pixels";
    EXPECT_EQ(disabled.size(), 2u) << "the silhouette on the icon band";
    EXPECT_GT(iconColours(painter, gear, 0).size(), 2u) << "enabled, the icon in its own colours";
}

TEST(IconMenu, DialogTakesOverItsMenuBarWithTheIconTable) {
    CIconMenuDialog host(IDD_SELECTION, programMenuIcons());
    ASSERT_TRUE(host.Create(nullptr));
    const HMENU bar = GetMenu(host.hwnd());
    EXPECT_TRUE(iconItemOf(bar, 0, TRUE)->inMenuBar);
    // By command, in any submenu: About is the last of its popup, yet the table's fifth cell.
    for (const auto& [command, cell] : {std::pair<UINT, int>{ID_ABOUT, 4}, {ID_PASTE_TO_TARGET, -1}}) {
        const CIconMenuItemData* item = iconItemOf(bar, command);
        ASSERT_TRUE(item && (GetMenuState(bar, command, MF_BYCOMMAND) & MF_OWNERDRAW)) << command;
        EXPECT_EQ(item->hasIcon() ? item->image : -1, cell) << command;
        EXPECT_FALSE(item->inMenuBar) << command;
    }
    EXPECT_EQ(iconItemOf(bar, ID_COPY_TO_CLIPBOARD)->text, "&Copy to Clipboard\tCtrl-C \\ Ctrl-Insert");
}

TEST(TrayMenu, CheckMarkAndRecentItemsRebuiltAtEachOpening) {
    char temp[MAX_PATH];
    configFolder.assign(temp, GetTempPathA(sizeof temp, temp));
    dbPath = configFolder + "yk-tray-menu.sql";
    WinStoreHost storeHost(configFolder + "yk-tray-menu.cfg", "yarrowkit");
    openHistoryDatabase(dbPath, configFolder, storeHost);
    CIconMenuStrip strip(programMenuIcons());
    TrayMenu tray;
    tray.build(strip, nullptr);
    // "int PRIMARY KEY" lets a hand-made row have no id; ordered by Id it comes first.
    historyDb.execute("INSERT INTO Log(Id, Name) VALUES (NULL, 'x');");
    ClipRecord record;
    record.Id = history::claimNextId();
    record.Type = UnicodeText;
    record.Name = record.Text = "????";
    record.Data = std::string("\x60\x4F\x7D\x59\0\0", 6);  // "\u4F60\u597D" in UTF-16
    history::add(record);  // with its side row, as the capture writes it
    const UINT first = TrayMenu::kFirstRecentCommand;
    const std::vector<UINT> commands = {ID_OPTIONS, ID_MONITOR_CLIPBOARD, ID_RECONNECT_CLIPBOARD, UINT(-1),
                                        ID_CLOSE_APP, 0, first + 1};
    for (bool monitoring : {true, false}) {  // two openings
        ASSERT_TRUE(tray.refresh(nullptr, monitoring, 15));
        EXPECT_EQ((GetMenuState(tray.handle(), ID_MONITOR_CLIPBOARD, MF_BYCOMMAND) & MF_CHECKED) != 0, monitoring);
        EXPECT_EQ(commandsOf(tray.handle()), commands)
            << "nothing kept from before; the row without id is left out but uses up its command";
    }
    const CIconMenuItemData* item = iconItemOf(tray.handle(), first + 1);
    // The caption as written, from the side row, beside a Unicode record's image.
    EXPECT_EQ(std::tie(item->text, item->image, item->utf8),
              std::tuple(std::string("\xE4\xBD\xA0\xE5\xA5\xBD"), 0, true));
    historyDb.close();
    DeleteFileA(dbPath.c_str());
}

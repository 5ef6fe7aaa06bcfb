// The tray menu against a real history file. Which records it lists, in which order, and what
// choosing one does is checked end to end; here what a user cannot tell apart from outside.
#include "app/MenuIcons.h"
#include "app/Paths.h"
#include "app/TrayMenu.h"
#include "app/WinStoreHost.h"
#include "res/resource.h"
#include "store/History.h"
#include "store/HistoryDatabase.h"
#include "win_support.h"

namespace {

using namespace std::string_literals;

std::vector<UINT> commandsOf(HMENU menu) {
    std::vector<UINT> commands;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) commands.push_back(GetMenuItemID(menu, i));
    return commands;
}

void addRecord(int type, const char* caption) {
    ClipRecord record;
    record.Id = history::claimNextId();
    record.Type = type;
    record.Name = record.Text = caption;
    record.Data = std::string("\x60\x4F\x7D\x59\0\0", 6);  // "\u4F60\u597D" in UTF-16
    // A Unicode record with its side row, as the capture writes it; the others Log only, as older builds did.
    if (type == UnicodeText) history::add(record);
    else historyDb.execute(insertStatement(record).c_str());
}

}  // namespace

TEST(TrayMenu, FixedPartCheckMarkAndRecentItemsRebuiltAtEachOpening) {
    char temp[MAX_PATH];
    configFolder.assign(temp, GetTempPathA(sizeof temp, temp));
    dbPath = configFolder + "yk-tray-menu.sql";
    WinStoreHost storeHost(configFolder + "yk-tray-menu.cfg", "yarrowkit");
    openHistoryDatabase(dbPath, configFolder, storeHost);
    CIconMenuStrip strip(programMenuIcons());
    TrayMenu tray;
    tray.build(strip, nullptr);
    EXPECT_EQ(commandsOf(GetSubMenu(tray.handle(), 3)),
              (std::vector<UINT>{ID_HOME_PAGE, ID_FORUM, ID_SEND_FEEDBACK, ID_NEWSLETTER, 0, ID_ABOUT}));

    // "int PRIMARY KEY" lets a hand-made row have no id; ordered by Id it comes first.
    historyDb.execute("INSERT INTO Log(Id, Name) VALUES (NULL, 'x');");
    addRecord(RichText, "rich");
    addRecord(UnicodeText, "????");
    const UINT first = TrayMenu::kFirstRecentCommand;
    const std::vector<UINT> commands = {ID_OPTIONS, ID_MONITOR_CLIPBOARD, ID_RECONNECT_CLIPBOARD, UINT(-1),
                                        ID_CLOSE_APP, 0, first + 1, first + 2};
    for (bool monitoring : {true, false}) {  // two openings
        ASSERT_TRUE(tray.refresh(nullptr, monitoring, 15));
        EXPECT_EQ((GetMenuState(tray.handle(), ID_MONITOR_CLIPBOARD, MF_BYCOMMAND) & MF_CHECKED) != 0, monitoring);
        EXPECT_EQ(commandsOf(tray.handle()), commands)
            << "nothing kept from before; the row without id is left out but uses up its command";
    }
    const CIconMenuItemData* rich = iconItemOf(tray.handle(), first + 1);
    const CIconMenuItemData* unicode = iconItemOf(tray.handle(), first + 2);
    EXPECT_EQ(std::tie(rich->text, rich->image, rich->utf8), std::tuple("rich"s, 2, false));
    EXPECT_EQ(std::tie(unicode->text, unicode->image, unicode->utf8),
              std::tuple("\xE4\xBD\xA0\xE5\xA5\xBD"s, 0, true)) << "the caption as written, from the side row";
    historyDb.close();
    DeleteFileA(dbPath.c_str());
}

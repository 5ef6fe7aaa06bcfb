// The tray menu against a real history file: its fixed part, the check mark, and the recent
// items rebuilt at each opening. Which records are listed, in which order, and what choosing
// one does is checked end to end.
#include "app/MenuIcons.h"
#include "app/Paths.h"
#include "app/TrayMenu.h"
#include "app/WinStoreHost.h"
#include "res/resource.h"
#include "store/History.h"
#include "store/HistoryDatabase.h"
#include "win_support.h"

namespace {

std::vector<UINT> commandsOf(HMENU menu) {
    std::vector<UINT> commands;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) commands.push_back(GetMenuItemID(menu, i));
    return commands;
}

class TrayMenuTest : public testing::Test {
protected:
    void SetUp() override {
        configFolder = tempFolder();
        dbPath = configFolder + "yk-tray-menu.sql";
        DeleteFileA(dbPath.c_str());
        openHistoryDatabase(dbPath, configFolder, storeHost_);
        tray_.build(strip_, itemImages_);
    }
    void TearDown() override {
        historyDb.close();
        ImageList_Destroy(itemImages_);
        DeleteFileA(dbPath.c_str());
    }
    const CIconMenuItemData& at(int position) const { return *tray_.menu().itemAt(static_cast<UINT>(position)); }

    WinStoreHost storeHost_{tempFolder() + "yk-tray-menu.cfg", "yarrowkit"};
    CIconMenuStrip strip_{programMenuIcons()};
    HIMAGELIST itemImages_ = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 3, 0);
    TrayMenu tray_;
};

}  // namespace

TEST_F(TrayMenuTest, FixedPartHasItsCommandsAndIconsAndTheCheckMarkFollowsMonitoring) {
    for (bool monitoring : {true, false}) {
        ASSERT_TRUE(tray_.refresh(nullptr, monitoring, 15));
        const UINT state = GetMenuState(tray_.handle(), ID_MONITOR_CLIPBOARD, MF_BYCOMMAND);
        EXPECT_EQ(state & MF_CHECKED, monitoring ? MF_CHECKED : 0u);
    }
    EXPECT_EQ(commandsOf(tray_.handle()),
              (std::vector<UINT>{ID_OPTIONS, ID_MONITOR_CLIPBOARD, ID_RECONNECT_CLIPBOARD, UINT(-1), ID_CLOSE_APP, 0}));
    EXPECT_EQ(commandsOf(GetSubMenu(tray_.handle(), 3)),
              (std::vector<UINT>{ID_HOME_PAGE, ID_FORUM, ID_SEND_FEEDBACK, ID_NEWSLETTER, 0, ID_ABOUT}));
    EXPECT_EQ(at(0).image, 0);
    EXPECT_FALSE(at(1).hasIcon());
    EXPECT_EQ(FindIconMenuItem(tray_.handle(), ID_ABOUT)->image, 4);
}

TEST_F(TrayMenuTest, RecentItemsAreRebuiltAtEachOpeningWithTheirCaptionsAndImages) {
    // "int PRIMARY KEY" lets a hand-made row have no id; ordered by Id it comes first.
    historyDb.execute("INSERT INTO Log(Id, Name) VALUES (NULL, 'x');");
    ClipRecord record;
    for (const auto& [type, caption] : {std::pair{RichText, "rich"}, {PlainText, "plain"}, {UnicodeText, "????"}}) {
        record.Id = history::claimNextId();
        record.Type = type;
        record.Name = record.Text = caption;
        record.Data = std::string("\x60\x4F\x7D\x59\0\0", 6);  // "\u4F60\u597D" in UTF-16
        // The Unicode one with its side row, as the capture writes it; the others Log only, as before.
        if (type == UnicodeText) history::add(record);
        else historyDb.execute(insertStatement(record).c_str());
    }
    const UINT first = TrayMenu::kFirstRecentCommand;
    for (int opening = 0; opening < 2; ++opening) {
        ASSERT_TRUE(tray_.refresh(nullptr, true, 15));
        const std::vector<UINT> commands = commandsOf(tray_.handle());
        EXPECT_EQ(std::vector<UINT>(commands.begin() + 6, commands.end()), (std::vector<UINT>{first + 1, first + 2, first + 3}))
            << "no item kept from before; the row without id is left out but uses up its command";
    }
    const struct { const char* caption; bool utf8; int image; } recent[] = {
        {"rich", false, 2}, {"plain", false, 1}, {"\xE4\xBD\xA0\xE5\xA5\xBD", true, 0}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(at(6 + i).text, recent[i].caption);
        EXPECT_EQ(at(6 + i).utf8, recent[i].utf8) << recent[i].caption;
        EXPECT_EQ(at(6 + i).image, recent[i].image) << recent[i].caption;
        EXPECT_EQ(at(6 + i).images, itemImages_);
    }
    EXPECT_EQ(tray_.recordIdOf(first + 3), 2);
    EXPECT_EQ(tray_.recordIdOf(first), -1);
    EXPECT_EQ(tray_.recordIdOf(ID_OPTIONS), 0) << "fixed items carry no record";
}

// The tray menu against a real history file: its fixed part, the check mark, and the newest
// records below it, rebuilt at each opening.
#include "app/MenuIcons.h"
#include "app/Paths.h"
#include "app/TrayMenu.h"
#include "app/WinStoreHost.h"
#include "res/resource.h"
#include "store/History.h"
#include "store/HistoryDatabase.h"
#include "ui/menu/IconMenuStrip.h"
#include "win_support.h"

namespace {

constexpr UINT kSubmenu = UINT(-1);

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
    // A Unicode record gets its side row, as the capture writes it; others only Log, as an older build.
    void add(int type, const std::string& name, const std::wstring& unicode = L"") {
        ClipRecord record;
        record.Id = history::claimNextId();
        record.Name = record.Text = name;
        record.Type = type;
        record.Data = std::string(reinterpret_cast<const char*>(unicode.c_str()), (unicode.size() + 1) * sizeof(wchar_t));
        if (unicode.empty()) historyDb.execute(insertStatement(record).c_str());
        else history::add(record);
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
        EXPECT_EQ(GetMenuState(tray_.handle(), ID_MONITOR_CLIPBOARD, MF_BYCOMMAND) & MF_CHECKED, monitoring ? MF_CHECKED : 0u);
    }
    EXPECT_EQ(commandsOf(tray_.handle()),
              (std::vector<UINT>{ID_OPTIONS, ID_MONITOR_CLIPBOARD, ID_RECONNECT_CLIPBOARD, kSubmenu, ID_CLOSE_APP, 0}));
    EXPECT_EQ(commandsOf(GetSubMenu(tray_.handle(), 3)),
              (std::vector<UINT>{ID_HOME_PAGE, ID_FORUM, ID_SEND_FEEDBACK, ID_NEWSLETTER, 0, ID_ABOUT}));
    EXPECT_EQ(at(0).image, 0);
    EXPECT_FALSE(at(1).hasIcon());
    EXPECT_EQ(FindIconMenuItem(tray_.handle(), ID_ABOUT)->image, 4);
}

// Which records are listed, and in which order, the end-to-end journey checks by choosing them.
TEST_F(TrayMenuTest, RecentItemsAreRebuiltAtEachOpeningWithTheirTextsAndImages) {
    // "int PRIMARY KEY" lets a hand-made row have no id; ordered by Id it comes first.
    historyDb.execute("INSERT INTO Log(Id, Name) VALUES (NULL, 'x');");
    add(RichText, "rich");
    add(UnicodeText, "????", L"\u4F60\u597D \u043C\u0438\u0440");
    add(PlainText, "plain");
    const UINT first = TrayMenu::kFirstRecentCommand;
    for (int opening = 0; opening < 2; ++opening) {
        ASSERT_TRUE(tray_.refresh(nullptr, true, 15));
        const std::vector<UINT> commands = commandsOf(tray_.handle());
        ASSERT_EQ(commands.size(), 6u + 3u) << "the row without id is left out, nothing is kept from before";
        EXPECT_EQ(std::vector<UINT>(commands.begin() + 6, commands.end()), (std::vector<UINT>{first + 1, first + 2, first + 3}))
            << "the row without id used up a command";
    }
    const struct { const char* text; bool utf8; int image; } recent[] = {
        {"rich", false, 2}, {"\xE4\xBD\xA0\xE5\xA5\xBD \xD0\xBC\xD0\xB8\xD1\x80", true, 0}, {"plain", false, 1}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(at(6 + i).text, recent[i].text);
        EXPECT_EQ(at(6 + i).utf8, recent[i].utf8) << recent[i].text;
        EXPECT_EQ(at(6 + i).image, recent[i].image) << recent[i].text;
        EXPECT_EQ(at(6 + i).images, itemImages_);
    }
    EXPECT_EQ(tray_.recordIdOf(first + 3), 2);
    EXPECT_EQ(tray_.recordIdOf(first), -1);
    EXPECT_EQ(tray_.recordIdOf(ID_OPTIONS), 0) << "fixed items carry no record";
}

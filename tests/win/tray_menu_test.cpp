// The tray menu against a real history file: its fixed part, the check mark, and the newest
// records below it, rebuilt at each opening.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

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

constexpr int kFixedItems = 6;  // Options, Monitor, Reconnect, Help, Exit, separator

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
    void add(int type, const std::string& name, const std::wstring& unicode = L"") {
        ClipRecord record;
        record.Id = history::claimNextId();
        record.Name = record.Text = name;
        record.Type = type;
        record.Data = std::string(reinterpret_cast<const char*>(unicode.c_str()), (unicode.size() + 1) * sizeof(wchar_t));
        // A Unicode record gets its side row as the capture writes it; others only Log, as an older build.
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

TEST_F(TrayMenuTest, FixedPartHasItsIconsAndTheCheckMarkFollowsMonitoring) {
    for (bool monitoring : {true, false}) {
        ASSERT_TRUE(tray_.refresh(nullptr, monitoring, 15));
        EXPECT_EQ(GetMenuState(tray_.handle(), ID_MONITOR_CLIPBOARD, MF_BYCOMMAND) & MF_CHECKED, monitoring ? MF_CHECKED : 0u);
    }
    ASSERT_EQ(tray_.menu().itemCount(), kFixedItems);
    const struct { const char* text; UINT command; int image; } fixed[] = {
        {"Options...", ID_OPTIONS, 0}, {"Monitor Clipboard", ID_MONITOR_CLIPBOARD, -1},
        {"Reconnect to Clipboard", ID_RECONNECT_CLIPBOARD, -1}, {"Help", 0, -1}, {"Exit", ID_CLOSE_APP, 6}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(at(i).text, fixed[i].text);
        EXPECT_EQ(at(i).command, fixed[i].command) << fixed[i].text;
        EXPECT_EQ(at(i).hasIcon() ? at(i).image : -1, fixed[i].image) << fixed[i].text;
    }
    EXPECT_EQ(at(5).kind, CIconMenuItemData::Kind::Separator);
    HMENU help = GetSubMenu(tray_.handle(), 3);
    const UINT helpCommands[] = {ID_HOME_PAGE, ID_FORUM, ID_SEND_FEEDBACK, ID_NEWSLETTER, 0, ID_ABOUT};
    ASSERT_EQ(GetMenuItemCount(help), 6);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(GetMenuItemID(help, i), helpCommands[i]) << i;
    EXPECT_EQ(FindIconMenuItem(help, ID_ABOUT)->image, 4);
}

TEST_F(TrayMenuTest, ListsTheNewestRecordsOldestFirstRebuiltAtEachOpening) {
    for (int i = 0; i < 12; ++i) add(PlainText, "clip " + std::to_string(i));
    add(RichText, "rich");
    add(UnicodeText, "????", L"\u4F60\u597D \u043C\u0438\u0440");
    // "int PRIMARY KEY" lets a hand-made row have no id; it is the oldest of the fifteen.
    historyDb.execute("INSERT INTO Log(Id, Name) VALUES (NULL, 'x');");
    for (int opening = 0; opening < 2; ++opening) {
        ASSERT_TRUE(tray_.refresh(nullptr, true, 15));
        ASSERT_EQ(tray_.menu().itemCount(), kFixedItems + 14) << "the row without id is left out";
        for (int i = 0; i < 14; ++i) {
            const CIconMenuItemData& item = at(kFixedItems + i);
            EXPECT_EQ(item.command, UINT(TrayMenu::kFirstRecentCommand + 1 + i)) << "the skipped row used up a command";
            EXPECT_EQ(tray_.recordIdOf(item.command), i);
            EXPECT_EQ(item.images, itemImages_);
        }
    }
    const struct { int position; const char* text; bool utf8; int image; } recent[] = {
        {0, "clip 0", false, 1}, {12, "rich", false, 2}, {13, "\xE4\xBD\xA0\xE5\xA5\xBD \xD0\xBC\xD0\xB8\xD1\x80", true, 0}};
    for (const auto& r : recent) {
        EXPECT_EQ(at(kFixedItems + r.position).text, r.text);
        EXPECT_EQ(at(kFixedItems + r.position).utf8, r.utf8) << r.text;
        EXPECT_EQ(at(kFixedItems + r.position).image, r.image) << r.text;
    }
    EXPECT_EQ(tray_.recordIdOf(ID_OPTIONS), 0) << "fixed items carry no record";
    EXPECT_EQ(tray_.recordIdOf(TrayMenu::kFirstRecentCommand), -1);
}

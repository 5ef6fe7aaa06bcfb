// The tray menu against a real history file: the fixed part, the recent items (how many, in
// which order, with which commands, record ids and images) and the check mark.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/MenuIcons.h"
#include "app/Paths.h"
#include "app/TrayMenu.h"
#include "res/resource.h"
#include "store/ClipRecord.h"
#include "store/History.h"
#include "store/HistoryDatabase.h"
#include "app/WinStoreHost.h"
#include "ui/menu/IconMenuStrip.h"

namespace {

constexpr int kFixedItems = 6;  // Options, Monitor, Reconnect, Help, Exit, separator

std::string tempFolder() {
    char path[MAX_PATH];
    GetTempPathA(sizeof path, path);
    return path;
}

class TrayMenuTest : public testing::Test {
protected:
    void SetUp() override {
        folder_ = tempFolder() + "yk-tray-menu\\";
        CreateDirectoryA(folder_.c_str(), nullptr);
        configFolder = folder_;
        dbPath = folder_ + "history.sql";
        DeleteFileA(dbPath.c_str());
        openHistoryDatabase(dbPath, configFolder, storeHost_);
        itemImages_ = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 3, 0);
        tray_.build(strip_, itemImages_);
    }
    void TearDown() override {
        historyDb.close();
        ImageList_Destroy(itemImages_);
        DeleteFileA(dbPath.c_str());
        RemoveDirectoryA(folder_.c_str());
    }
    void addRecords(int count, int type = PlainText) {
        for (int i = 0; i < count; ++i) {
            ClipRecord record;
            record.Id = history::claimNextId();
            record.Name = "clip " + std::to_string(record.Id);
            record.Text = record.Name;
            record.Type = type;
            historyDb.execute(insertStatement(record).c_str());
        }
    }
    const CIconMenuItemData& itemAt(int position) const {
        const CIconMenuItemData* item = tray_.menu().itemAt(static_cast<UINT>(position));
        EXPECT_TRUE(item) << position;
        static const CIconMenuItemData none;
        return item ? *item : none;
    }
    int count() const { return tray_.menu().itemCount(); }
    bool checked() const { return GetMenuState(tray_.handle(), ID_MONITOR_CLIPBOARD, MF_BYCOMMAND) & MF_CHECKED; }

    std::string folder_;
    WinStoreHost storeHost_{tempFolder() + "yk-tray-menu\\config.cfg", "yarrowkit"};
    CIconMenuStrip strip_{programMenuIcons()};
    HIMAGELIST itemImages_ = nullptr;
    TrayMenu tray_;
};

}  // namespace

TEST_F(TrayMenuTest, EmptyHistoryShowsOnlyTheFixedItemsWithTheirIcons) {
    ASSERT_TRUE(tray_.refresh(nullptr, true, 15));
    ASSERT_EQ(count(), kFixedItems);
    const std::vector<std::pair<std::string, UINT>> fixed = {{"Options...", ID_OPTIONS},
                                                             {"Monitor Clipboard", ID_MONITOR_CLIPBOARD},
                                                             {"Reconnect to Clipboard", ID_RECONNECT_CLIPBOARD},
                                                             {"Help", 0},
                                                             {"Exit", ID_CLOSE_APP}};
    for (size_t i = 0; i < fixed.size(); ++i) {
        EXPECT_EQ(itemAt(static_cast<int>(i)).text, fixed[i].first);
        EXPECT_EQ(itemAt(static_cast<int>(i)).command, fixed[i].second);
    }
    EXPECT_EQ(itemAt(5).kind, CIconMenuItemData::Kind::Separator);
    EXPECT_EQ(itemAt(0).image, 0);
    EXPECT_EQ(itemAt(4).image, 6);
    EXPECT_FALSE(itemAt(1).hasIcon());

    HMENU help = GetSubMenu(tray_.handle(), 3);
    ASSERT_TRUE(help);
    ASSERT_EQ(GetMenuItemCount(help), 6);
    const UINT helpCommands[] = {ID_HOME_PAGE, ID_FORUM, ID_SEND_FEEDBACK, ID_NEWSLETTER, 0, ID_ABOUT};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(GetMenuItemID(help, i), i == 4 ? 0u : helpCommands[i]) << i;
    EXPECT_TRUE(GetMenuState(help, 4, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(FindIconMenuItem(help, ID_ABOUT)->image, 4);
    EXPECT_EQ(FindIconMenuItem(help, ID_SEND_FEEDBACK)->text, "Send Feedback...");
}

TEST_F(TrayMenuTest, ListsTheNewestRecordsOldestFirstWithTheirIds) {
    addRecords(20);
    for (int opening = 0; opening < 2; ++opening) {
        ASSERT_TRUE(tray_.refresh(nullptr, true, 15));
        ASSERT_EQ(count(), kFixedItems + 15) << "rebuilt, not added to, at opening " << opening;
        for (int i = 0; i < 15; ++i) {
            const CIconMenuItemData& item = itemAt(kFixedItems + i);
            const int expectedId = 5 + i;
            EXPECT_EQ(item.command, static_cast<UINT>(TrayMenu::kFirstRecentCommand + i));
            EXPECT_EQ(item.text, "clip " + std::to_string(expectedId));
            EXPECT_EQ(item.value, static_cast<ULONG_PTR>(expectedId));
            EXPECT_EQ(item.images, itemImages_);
        }
    }
    EXPECT_EQ(tray_.recordIdOf(TrayMenu::kFirstRecentCommand + 14), 19) << "the last entry is the newest record";
    EXPECT_EQ(tray_.recordIdOf(TrayMenu::kFirstRecentCommand + 15), -1);
    EXPECT_EQ(tray_.recordIdOf(ID_OPTIONS), 0) << "fixed items carry no record";
}

TEST_F(TrayMenuTest, FewerRecordsThanTheCountListsThemAll) {
    addRecords(3);
    ASSERT_TRUE(tray_.refresh(nullptr, true, 15));
    ASSERT_EQ(count(), kFixedItems + 3);
    EXPECT_EQ(itemAt(kFixedItems).value, ULONG_PTR{0});
    EXPECT_EQ(itemAt(kFixedItems + 2).value, ULONG_PTR{2});
    addRecords(1);
    ASSERT_TRUE(tray_.refresh(nullptr, true, 15));
    ASSERT_EQ(count(), kFixedItems + 4) << "a record added since the last opening shows";
    EXPECT_EQ(itemAt(kFixedItems + 3).text, "clip 3");
}

TEST_F(TrayMenuTest, RecentItemImagesFollowTheItemType) {
    addRecords(1, UnicodeText);
    addRecords(1, RichText);
    addRecords(1, Bitmap);
    addRecords(1, PlainText);
    ASSERT_TRUE(tray_.refresh(nullptr, true, 15));
    ASSERT_EQ(count(), kFixedItems + 4);
    EXPECT_EQ(itemAt(kFixedItems).image, 0);
    EXPECT_EQ(itemAt(kFixedItems + 1).image, 2);
    EXPECT_EQ(itemAt(kFixedItems + 2).image, 1);
    EXPECT_EQ(itemAt(kFixedItems + 3).image, 1);
}

TEST_F(TrayMenuTest, ARowWithoutIdIsSkippedButUsesUpItsCommand) {
    addRecords(2);
    // "int PRIMARY KEY" lets a hand-made row have no id; ordered by Id it comes last.
    historyDb.execute("INSERT INTO Log(Id, Name) VALUES (NULL, 'x');");
    ASSERT_TRUE(tray_.refresh(nullptr, true, 15));
    ASSERT_EQ(count(), kFixedItems + 2);
    EXPECT_EQ(itemAt(kFixedItems).command, static_cast<UINT>(TrayMenu::kFirstRecentCommand + 1));
    EXPECT_EQ(itemAt(kFixedItems).value, ULONG_PTR{0});
}

TEST_F(TrayMenuTest, RecentItemsCarryTheirTextAsWrittenForTheWideDrawing) {
    ClipRecord record;
    record.Id = history::claimNextId();
    record.Name = "????";
    record.Text = std::string("????\0", 5);
    record.Type = UnicodeText;
    const std::wstring text = L"\u4F60\u597D \u043C\u0438\u0440";
    record.Data = std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t));
    history::add(record);
    addRecords(1);  // Log only, as an older build writes: no side row
    ASSERT_TRUE(tray_.refresh(nullptr, true, 15));
    ASSERT_EQ(count(), kFixedItems + 2);
    EXPECT_TRUE(itemAt(kFixedItems).utf8);
    EXPECT_EQ(itemAt(kFixedItems).text, "\xE4\xBD\xA0\xE5\xA5\xBD \xD0\xBC\xD0\xB8\xD1\x80");
    EXPECT_FALSE(itemAt(kFixedItems + 1).utf8) << "without a side row: Log's ANSI caption, as before";
    EXPECT_EQ(itemAt(kFixedItems + 1).text, "clip 1");
}

TEST_F(TrayMenuTest, CheckMarkFollowsMonitoring) {
    ASSERT_TRUE(tray_.refresh(nullptr, true, 15));
    EXPECT_TRUE(checked());
    ASSERT_TRUE(tray_.refresh(nullptr, false, 15));
    EXPECT_FALSE(checked());
    EXPECT_TRUE(GetMenuState(tray_.handle(), ID_MONITOR_CLIPBOARD, MF_BYCOMMAND) & MF_OWNERDRAW);
}

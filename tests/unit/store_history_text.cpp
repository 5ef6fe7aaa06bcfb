// The side table LogText against the store's API: in step with Log after every change, built
// for a file of an older build, mended for a file changed behind its back, and no obstacle to
// anything that reads only Log.
#include "store/History.h"
#include "store/HistoryDatabase.h"
#include "store/HistoryMaintenance.h"
#include "store/HistorySql.h"
#include "store/HistoryText.h"

#include "store_test_support.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;
using store_test::HistoryDbTest;

std::string utf16Block(std::u16string_view text) {
    std::string bytes;
    for (char16_t unit : text) bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    return bytes + "\0\0"s;
}

// A Unicode item as the capture makes it: the ANSI text is the code page's lossy copy.
ClipRecord unicodeRecord(int id, std::u16string_view text) {
    ClipRecord record;
    record.Id = id;
    record.DTime = 1700000000u + static_cast<unsigned>(id);
    record.Name = "????";
    record.SourceName = "notepad.exe";
    record.SourceTitle = "Untitled - Notepad";
    record.Text = "????\0"s;
    record.Type = UnicodeText;
    record.Data = utf16Block(text);
    return record;
}

class HistoryText : public HistoryDbTest {
protected:
    void SetUp() override {
        HistoryDbTest::SetUp();
        openFresh();
    }
    void reopen() {
        historyDb.close();
        openHistoryDatabase(dbPath(), scratch.folder(), host);
    }
    // In one transaction, as a test's bulk rows need not be synced one by one.
    void addPlain(int count) {
        historyDb.execute("BEGIN;");
        for (int i = 0; i < count; ++i) {
            ClipRecord record;
            record.Id = history::claimNextId();
            record.DTime = 1700000000u + static_cast<unsigned>(record.Id);
            record.Name = "clip " + std::to_string(record.Id);
            record.Text = *record.Name + '\0';
            history::add(record);
        }
        historyDb.execute("COMMIT;");
    }
    // Rows as an older build (or another program) writes them: Log only.
    void addToLogOnly(int id, unsigned dtime, const std::string& text) {
        ClipRecord record;
        record.Id = id;
        record.DTime = dtime;
        record.Name = text;
        record.Text = text + '\0';
        historyDb.execute(insertStatement(record).c_str());
    }
    // id -> capture time, of Log and of the side table.
    std::map<int, int> idsAndTimes(const char* table) {
        SqlResultTable rows = historyDb.queryTable(
            (std::string("SELECT ") + (table == "Log"s ? "Id" : "rowid") + " AS Id, DTime FROM " + table + ";").c_str());
        std::map<int, int> found;
        for (int i = 0; i < rows.rowCount(); ++i) {
            rows.selectRow(i);
            found[rows.intValue("Id", -1)] = rows.intValue("DTime", -1);
        }
        return found;
    }
    void expectInStep() {
        const std::map<int, int> log = idsAndTimes("Log");
        EXPECT_EQ(idsAndTimes("LogText"), log);
    }
    std::string captionOf(int id) {
        for (const history::ListEntry& entry : history::page(0, 100000))
            if (entry.id == id) return entry.unicodeCaption.value_or("(none)");
        return "(no row)";
    }
};

TEST_F(HistoryText, AddedItemsReadBackAsWritten) {
    const std::u16string texts[] = {u"Привет, мир", u"Γειά σου Κόσμε", u"你好世界", u"Smile \U0001F600 end"};
    const std::string expected[] = {"Привет, мир", "Γειά σου Κόσμε", "你好世界", "Smile 😀 end"};
    for (const auto& text : texts) history::add(unicodeRecord(history::claimNextId(), text));
    const std::vector<history::ListEntry> page = history::page(0, 50);
    ASSERT_EQ(page.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(page[3 - i].unicodeCaption, expected[i]);
        EXPECT_EQ(page[3 - i].caption, "????") << "Log's own caption stays";
    }
    EXPECT_EQ(history::recent(1).at(0).unicodeCaption, expected[3]);
    const auto preview = history::preview(2);
    ASSERT_TRUE(preview && preview->unicode);
    EXPECT_EQ(preview->unicode->text, "你好世界");
    EXPECT_EQ(preview->unicode->sourceTitle, "Untitled - Notepad");
    const auto older = history::neighbour(2, history::Direction::Older);
    ASSERT_TRUE(older);
    EXPECT_EQ(older->unicodeText, "Γειά σου Κόσμε");
    expectInStep();
}

TEST_F(HistoryText, RemoveAndRemoveAllKeepItInStep) {
    addPlain(5);
    history::remove(2);
    expectInStep();
    EXPECT_EQ(idsAndTimes("LogText").count(2), 0u);
    history::removeAll();
    expectInStep();
    EXPECT_TRUE(idsAndTimes("LogText").empty());
    addPlain(1);
    EXPECT_EQ(captionOf(5), "clip 5") << "the emptied table takes new rows";
}

TEST_F(HistoryText, TrimAtExitLeavesTheNewestRowsInBoth) {
    addPlain(3005);
    bool changed = false;
    int cached = 0;
    trimHistory({true, 3000}, changed, cached, host);
    EXPECT_EQ(rowCount(), 3000);
    expectInStep();
    EXPECT_EQ(idsAndTimes("LogText").begin()->first, 5);
}

TEST_F(HistoryText, DropAtExitTakesTheSideTableAlong) {
    addPlain(3);
    bool changed = false;
    int cached = 0;
    trimHistory({false, 3000}, changed, cached, host);
    EXPECT_THROW(historyDb.queryInt("SELECT COUNT(*) FROM LogText;"), SqlException);
    reopen();
    expectInStep();
    EXPECT_EQ(nextId, 0);
}

TEST_F(HistoryText, AFileOfAnOlderBuildGetsItsSideTableAtOpen) {
    historyDb.execute("DROP TABLE LogText;");
    historyDb.execute("BEGIN;");
    for (int id = 0; id < 1200; ++id) addToLogOnly(id, 100u + static_cast<unsigned>(id), "caf\xE9 " + std::to_string(id));
    historyDb.execute("COMMIT;");
    reopen();
    expectInStep();
    EXPECT_EQ(captionOf(1199), "café 1199") << "ANSI converted by the host";
    ASSERT_FALSE(host.progress.empty());
    EXPECT_EQ(host.progress.back(), std::make_pair(1200, 1200)) << "the progress ends";
    host.progress.clear();
    reopen();
    EXPECT_TRUE(host.progress.empty()) << "in step: nothing to do at the next open";
}

TEST_F(HistoryText, WhatTheOpenBudgetLeavesIsMadeInStepsWhileTheProgramRuns) {
    historyDb.execute("DROP TABLE LogText;");
    historyDb.execute("BEGIN;");
    for (int id = 0; id < 600; ++id) addToLogOnly(id, 100u + static_cast<unsigned>(id), "row " + std::to_string(id));
    historyDb.execute("COMMIT;");
    history::text::bringInStep(host, std::chrono::nanoseconds(0));
    ASSERT_EQ(host.textsLater, 600) << "every row is left, below the newest id + 1";
    EXPECT_EQ(captionOf(599), "(none)") << "Log's caption shows meanwhile";
    int below = *host.textsLater, steps = 0;
    while (history::makeMissingTexts(below, host)) ASSERT_LT(++steps, 600);
    expectInStep();
    EXPECT_EQ(captionOf(0), "row 0");
    host.textsLater = 5;
    reopen();
    EXPECT_EQ(host.textsLater, std::nullopt) << "an open in step ends any request";
}

TEST_F(HistoryText, AFileChangedBehindItsBackIsMendedByIdAtOpen) {
    addPlain(6);  // ids 0..5
    // Another program: deletes 1, adds 6, and after deleting the newest, 5, reuses its id.
    historyDb.execute(sql::deleteItem(1).c_str());
    historyDb.execute(sql::deleteItem(5).c_str());
    addToLogOnly(5, 42, "reused id");
    addToLogOnly(6, 43, "new row");
    reopen();
    expectInStep();
    EXPECT_EQ(captionOf(5), "reused id");
    EXPECT_EQ(captionOf(6), "new row");
    EXPECT_EQ(captionOf(4), "clip 4");
}

TEST_F(HistoryText, ASideTableAheadOfLogLosesItsExtraRows) {
    addPlain(4);
    historyDb.execute(sql::kDeleteAll);  // as the older build's Empty does
    reopen();
    expectInStep();
    EXPECT_TRUE(idsAndTimes("LogText").empty());
}

// Every catalogue statement, as an older build runs them, works on a file with the side table.
TEST_F(HistoryText, LogsCatalogueRunsOnAFileWithTheSideTable) {
    addPlain(3);
    historyDb.execute(sql::insertRow(3, 9, "\x01n", "\x01s", "\x01t", "(null)", "\x01x", 0, "(null)").c_str());
    EXPECT_EQ(historyDb.queryInt(sql::kSelectMaxId), 3);
    EXPECT_EQ(historyDb.queryInt(sql::kCountRows), 4);
    EXPECT_FALSE(historyDb.query(sql::kSelectNewest).atEnd());
    EXPECT_EQ(historyDb.queryTable(sql::selectPage(0, 50).c_str()).rowCount(), 4);
    EXPECT_EQ(historyDb.queryTable(sql::selectRecent(15).c_str()).rowCount(), 4);
    EXPECT_FALSE(historyDb.query(sql::selectPreview(1).c_str()).atEnd());
    EXPECT_EQ(historyDb.query(sql::selectOlder(1).c_str()).intValue("Id", -1), 0);
    EXPECT_EQ(historyDb.query(sql::selectNewer(0).c_str()).intValue("Id", -1), 1);
    EXPECT_FALSE(historyDb.query(sql::selectClipBlocks(0).c_str()).atEnd());
    historyDb.query(sql::trimOldest(1).c_str()).release();
    EXPECT_EQ(historyDb.execute(sql::deleteItem(2).c_str()), 1);
    historyDb.execute(sql::kVacuum);
    historyDb.query(sql::kDropLogTable).release();
    historyDb.execute(sql::kCreateLogTable);
}

}  // namespace

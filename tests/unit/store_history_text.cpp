// The side table LogText (UTF-8 texts for the lists and Find): in step with Log after every
// change, built for a file of an older build, and mended for a file changed behind its back.
#include "store/HistoryMaintenance.h"
#include "store/HistorySql.h"
#include "store/HistoryText.h"

#include "store_support.h"

namespace {

class HistoryText : public store_test::HistoryDbTest {
protected:
    // Rows as an older build or another program writes them: Log only.
    void addToLogOnly(int first, int count, const std::string& text) {
        historyDb.execute("BEGIN;");
        for (int id = first; id < first + count; ++id) {
            ClipRecord record;
            record.Id = id;
            record.DTime = 100u + static_cast<unsigned>(id);
            record.Name = text + std::to_string(id);
            record.Text = *record.Name + '\0';
            historyDb.execute(insertStatement(record).c_str());
        }
        historyDb.execute("COMMIT;");
    }
    std::string idsAndTimes(const std::string& table, const std::string& id) {
        return historyDb.query(("SELECT group_concat(i||':'||DTime) AS rows FROM (SELECT " + id + " AS i, DTime FROM " +
                                table + " ORDER BY i)").c_str()).stringValue("rows", "");
    }
    void expectInStep() { EXPECT_EQ(idsAndTimes("LogText", "rowid"), idsAndTimes("Log", "Id")); }
    std::string captionOf(int id) {
        for (const auto& entry : history::page(0, 100000))
            if (entry.id == id) return entry.unicodeCaption.value_or("(none)");
        return "(no row)";
    }
};

TEST_F(HistoryText, EveryReaderGetsTheUtf8Texts) {
    for (const std::string& text : {"Привет, мир"s, "Smile 😀 end"s}) {
        ClipRecord record;  // as the capture makes it: the ANSI text is the code page's lossy copy
        record.Id = history::claimNextId();
        record.Name = "????";
        record.Text = "????\0"s;
        record.Type = UnicodeText;
        record.Utf8 = ClipRecord::Utf8Texts{text, "notepad.exe", "Документ"};
        history::add(record);
    }
    EXPECT_EQ(history::page(0, 2).at(1).unicodeCaption, "Привет, мир");
    EXPECT_EQ(history::page(0, 2).at(1).caption, "????") << "Log's own caption stays";
    EXPECT_EQ(history::recent(1).at(0).unicodeCaption, "Smile 😀 end");
    EXPECT_EQ(history::preview(0)->unicode->sourceTitle, "Документ");
    EXPECT_EQ(history::neighbour(1, history::Direction::Older)->unicodeText, "Привет, мир");
    expectInStep();
}

TEST_F(HistoryText, RemoveTrimEmptyAndDropKeepItInStep) {
    addClips(3005);
    bool changed = false;
    int cached = 0;
    trimHistory({true, 3000}, changed, cached, host);
    EXPECT_EQ(rowCount(), 3000);
    expectInStep();
    EXPECT_EQ(captionOf(5), "clip 5");
    history::remove(7);
    expectInStep();
    history::removeAll();
    expectInStep();
    addClips(1);
    EXPECT_EQ(captionOf(3005), "clip 3005") << "the emptied table takes new rows";
    trimHistory({false, 3000}, changed, cached, host);
    EXPECT_THROW(historyDb.queryInt("SELECT COUNT(*) FROM LogText;"), SqlException);
    open();
    expectInStep();
}

TEST_F(HistoryText, AFileOfAnOlderBuildGetsItsSideTableAtOpen) {
    historyDb.execute("DROP TABLE LogText;");
    addToLogOnly(0, 1200, "caf\xE9 ");
    open();
    expectInStep();
    EXPECT_EQ(captionOf(1199), "café 1199") << "ANSI converted by the host";
    EXPECT_EQ(host.progress.back(), std::make_pair(1200, 1200)) << "the progress ends";
    host.progress.clear();
    open();
    EXPECT_TRUE(host.progress.empty()) << "in step: nothing to do at the next open";
}

TEST_F(HistoryText, WhatTheOpenBudgetLeavesIsMadeInStepsWhileTheProgramRuns) {
    historyDb.execute("DROP TABLE LogText;");
    addToLogOnly(0, 60, "row ");
    history::text::bringInStep(host, std::chrono::nanoseconds(0));
    ASSERT_EQ(host.textsLater, 60) << "every row is left, below the newest id + 1";
    EXPECT_EQ(captionOf(59), "(none)") << "Log's caption shows meanwhile";
    int below = *host.textsLater, steps = 0;
    while (history::makeMissingTexts(below, host)) ASSERT_LT(++steps, 60);
    expectInStep();
    open();
    EXPECT_EQ(host.textsLater, std::nullopt) << "an open in step ends any request";
}

TEST_F(HistoryText, AFileChangedBehindItsBackIsMendedByIdAtOpen) {
    addClips(6);
    // Another program deletes 1, and 5, the newest, whose id it then reuses.
    historyDb.execute(sql::deleteItem(1).c_str());
    historyDb.execute(sql::deleteItem(5).c_str());
    addToLogOnly(5, 2, "other ");
    open();
    expectInStep();
    EXPECT_EQ(captionOf(5), "other 5");
    EXPECT_EQ(captionOf(4), "clip 4");
    historyDb.execute(sql::kDeleteAll);  // as an older build's Empty does
    open();
    expectInStep();
}

}  // namespace

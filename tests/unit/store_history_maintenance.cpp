#include "store/HistoryMaintenance.h"
#include "store/HistoryDatabase.h"
#include "store/HistorySql.h"
#include "store/SqlException.h"

#include "store_test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using store_test::HistoryDbTest;

class HistoryMaintenance : public HistoryDbTest {
protected:
    // Ids first, first + step, ...: realistic gaps left by deleted items.
    void addRows(int count, int first = 0, int step = 1) {
        historyDb.execute("BEGIN;");
        for (int i = 0; i < count; ++i)
            historyDb.execute(
                sql::insertRow(first + i * step, 0, "\x01n", "\x01s", "\x01t", "(null)", "\x01x", 0, "(null)").c_str());
        historyDb.execute("COMMIT;");
    }
    int smallestId() { return historyDb.queryInt("SELECT MIN(Id) FROM Log;"); }
    void trim(bool save, int limit) { trimHistory({save, limit}, historyChanged, cachedItemCount, host); }
    std::string vacuumCount() { return host.config.count("VacuumCount") ? host.config["VacuumCount"] : "(unset)"; }

    bool historyChanged = false;
    int cachedItemCount = -1;
};

TEST_F(HistoryMaintenance, TrimKeepsTheNewestRows) {
    openFresh();
    addRows(3005);
    trim(true, 3000);
    EXPECT_EQ(rowCount(), 3000);
    EXPECT_EQ(smallestId(), 5);
    EXPECT_EQ(historyDb.queryInt(sql::kSelectMaxId), 3004);
    EXPECT_TRUE(historyChanged);
    EXPECT_EQ(cachedItemCount, 3005);
    EXPECT_EQ(vacuumCount(), "1");
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(HistoryMaintenance, TrimCountsPositionsNotIds) {
    openFresh();
    addRows(10, 100, 7);
    trim(true, 4);
    EXPECT_EQ(rowCount(), 4);
    EXPECT_EQ(smallestId(), 100 + 6 * 7);
}

TEST_F(HistoryMaintenance, ExactlyTheLimitDeletesNothing) {
    openFresh();
    addRows(3000);
    host.config["VacuumCount"] = "4";
    trim(true, 3000);
    EXPECT_EQ(rowCount(), 3000);
    EXPECT_FALSE(historyChanged);
    EXPECT_EQ(cachedItemCount, 3000);
    EXPECT_EQ(vacuumCount(), "4");
}

TEST_F(HistoryMaintenance, ADeleteDuringTheRunIsCountedAtExit) {
    openFresh();
    addRows(10);
    historyChanged = true;  // the user deleted an item
    host.config["VacuumCount"] = "4";
    trim(true, 3000);
    EXPECT_EQ(rowCount(), 10);
    EXPECT_EQ(vacuumCount(), "5");
}

TEST_F(HistoryMaintenance, NoLimitMeansNoCountAndNoDelete) {
    openFresh();
    addRows(20);
    for (int limit : {0, -1}) {
        trim(true, limit);
        EXPECT_EQ(rowCount(), 20);
        EXPECT_EQ(cachedItemCount, -1) << "counted with limit " << limit;
        EXPECT_EQ(vacuumCount(), "(unset)");
    }
}

TEST_F(HistoryMaintenance, NotSavingDropsTheTableAndTheNextStartBeginsAtZero) {
    openFresh();
    addRows(50, 1000);
    trim(false, 10);
    EXPECT_TRUE(historyChanged);
    EXPECT_EQ(vacuumCount(), "1");
    EXPECT_EQ(cachedItemCount, -1);
    historyDb.close();

    host.config["VacuumCount"] = "30";  // a new table never runs the vacuum check
    openFresh();
    EXPECT_EQ(nextId, 0);
    EXPECT_EQ(rowCount(), 0);
    EXPECT_EQ(vacuumCount(), "30");
}

TEST_F(HistoryMaintenance, SecondShutdownRunAfterDropReportsAndDoesNotCount) {
    openFresh();
    addRows(3);
    trim(false, 3000);
    trim(false, 3000);
    EXPECT_EQ(vacuumCount(), "1");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "yarrowkit");
    EXPECT_EQ(host.messages[0].kind, StoreHost::MessageKind::Plain);
    EXPECT_EQ(host.messages[0].text, "SQLITE_ERROR[1]: ");  // the DROP fails to compile: no such table
}

TEST_F(HistoryMaintenance, SecondShutdownRunAfterTrimCountsAgain) {
    openFresh();
    addRows(3005);
    trim(true, 3000);
    trim(true, 3000);
    EXPECT_EQ(rowCount(), 3000);
    EXPECT_EQ(vacuumCount(), "2");
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(HistoryMaintenance, FailureIsShownAndTheCounterLeftAlone) {
    historyChanged = true;
    host.config["VacuumCount"] = "3";
    trim(true, 3000);  // historyDb is not open
    EXPECT_EQ(vacuumCount(), "3");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "yarrowkit");
    EXPECT_EQ(host.messages[0].text, "SQLLAYER_ERROR[1000]: Database not open");
}

TEST_F(HistoryMaintenance, LockedFileFailsTheDeleteAndLeavesTheCounter) {
    openFresh();
    addRows(3005);
    SqlDatabase other;
    other.open(dbPath().c_str());
    other.execute("BEGIN IMMEDIATE;");  // another process holds the write lock
    historyDb.setBusyTimeout(10);
    trim(true, 3000);
    other.execute("ROLLBACK;");
    EXPECT_EQ(vacuumCount(), "(unset)");
    EXPECT_FALSE(historyChanged);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "SQLITE_BUSY[5]: database is locked");
    EXPECT_EQ(rowCount(), 3005);
}

TEST_F(HistoryMaintenance, VacuumCompactsAndResets) {
    openFresh();
    addRows(2000);
    historyDb.execute(sql::kDeleteAll);
    ASSERT_GT(historyDb.queryInt("PRAGMA freelist_count;"), 0);
    host.existingPaths.insert(scratch.folder());

    host.config["VacuumCount"] = "9";
    vacuumIfDue(scratch.folder(), host);
    EXPECT_GT(historyDb.queryInt("PRAGMA freelist_count;"), 0);
    EXPECT_EQ(vacuumCount(), "9");

    host.config["VacuumCount"] = "10";
    vacuumIfDue(scratch.folder(), host);
    EXPECT_EQ(historyDb.queryInt("PRAGMA freelist_count;"), 0);
    EXPECT_EQ(vacuumCount(), "0");
    EXPECT_EQ(host.searched, std::vector<std::string>{scratch.folder() + "*.sql-*"});
}

TEST_F(HistoryMaintenance, VacuumIntoMissingConfigFolderStillResetsTheCounter) {
    openFresh();
    host.config["VacuumCount"] = "11";
    vacuumIfDue("C:\\gone\\", host);
    EXPECT_EQ(vacuumCount(), "0");
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "Path is unvalid : C:\\gone\\");
}

TEST_F(HistoryMaintenance, FailedVacuumThrowsAndLeavesTheCounter) {
    host.config["VacuumCount"] = "10";
    EXPECT_THROW(vacuumIfDue(scratch.folder(), host), SqlException);
    EXPECT_EQ(vacuumCount(), "10");
    EXPECT_TRUE(host.searched.empty());
}

TEST_F(HistoryMaintenance, HandEditedLargestCounterDoesNotOverflow) {
    openFresh();
    historyChanged = true;
    host.config["VacuumCount"] = "2147483647";
    trim(true, 3000);
    EXPECT_EQ(vacuumCount(), "2147483648");
}

TEST(DeleteLeftoverFiles, InvalidFolderIsReported) {
    for (const std::string folder : {"", "C:\\nowhere\\"}) {
        store_test::FakeStoreHost host;
        host.listings[folder + "*.sql-*"] = {"a.sql-journal"};
        deleteLeftoverFiles(folder, "*.sql-*", host);
        EXPECT_TRUE(host.deleted.empty());
        ASSERT_EQ(host.messages.size(), 1u);
        EXPECT_EQ(host.messages[0].caption, "yarrowkit");
        EXPECT_EQ(host.messages[0].text, "Path is unvalid : " + folder);
    }
}

TEST(DeleteLeftoverFiles, UndeletableFilesAreSkippedSilently) {
    store_test::FakeStoreHost host;
    const std::string folder = "C:\\Users\\u\\AppData\\Roaming\\YarrowKit\\";
    host.existingPaths.insert(folder);
    host.listings[folder + "*.sql-*"] = {"a.sql-journal", "busy.sql-wal", "c.sql-shm"};
    host.undeletable.insert(folder + "busy.sql-wal");
    deleteLeftoverFiles(folder, "*.sql-*", host);
    EXPECT_EQ(host.deleted, (std::vector<std::string>{folder + "a.sql-journal", folder + "c.sql-shm"}));
    EXPECT_TRUE(host.messages.empty());
}

}  // namespace

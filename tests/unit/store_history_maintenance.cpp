#include "store/HistoryMaintenance.h"
#include "store/HistoryDatabase.h"
#include "store/HistorySql.h"
#include "store/SqlException.h"

#include "store_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
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

    // A fresh file and fresh counters, for each case of a table.
    void startOver() {
        historyDb.close();
        std::filesystem::remove(dbPath());
        nextId = 0;
        host = store_test::FakeStoreHost();
        historyChanged = false;
        cachedItemCount = -1;
        openFresh();
    }

    bool historyChanged = false;
    int cachedItemCount = -1;
};

// One trim at exit (or two, as a second shutdown path runs it again) on a fresh file.
TEST_F(HistoryMaintenance, TrimAtExit) {
    const struct {
        const char* name;
        int rows, firstId, idStep;
        bool changedBefore;  // the user deleted an item during the run
        const char* vacuumBefore;
        int limit, runs;
        int rowsAfter, smallestAfter;
        bool changedAfter;
        int cachedCount;
        const char* vacuumAfter;
    } cases[] = {
        {"keeps the newest rows", 8, 0, 1, false, nullptr, 5, 1, 5, 3, true, 8, "1"},
        {"counts positions, not ids", 10, 100, 7, false, nullptr, 4, 1, 4, 142, true, 10, "1"},
        {"exactly the limit deletes nothing", 5, 0, 1, false, "4", 5, 1, 5, 0, false, 5, "4"},
        {"a delete during the run is counted", 5, 0, 1, true, "4", 3000, 1, 5, 0, true, 5, "5"},
        {"no limit: no count, no delete", 5, 0, 1, false, nullptr, 0, 1, 5, 0, false, -1, "(unset)"},
        {"negative limit: no count, no delete", 5, 0, 1, false, nullptr, -1, 1, 5, 0, false, -1, "(unset)"},
        {"a second run after a trim counts again", 7, 0, 1, false, nullptr, 5, 2, 5, 2, true, 5, "2"},
        {"the largest hand-edited counter does not overflow", 1, 0, 1, true, "2147483647", 3000, 1, 1, 0, true, 1,
         "2147483648"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        startOver();
        addRows(c.rows, c.firstId, c.idStep);
        historyChanged = c.changedBefore;
        if (c.vacuumBefore) host.config["VacuumCount"] = c.vacuumBefore;
        for (int run = 0; run < c.runs; ++run) trim(true, c.limit);
        EXPECT_EQ(rowCount(), c.rowsAfter);
        EXPECT_EQ(smallestId(), c.smallestAfter);
        EXPECT_EQ(historyChanged, c.changedAfter);
        EXPECT_EQ(cachedItemCount, c.cachedCount);
        EXPECT_EQ(vacuumCount(), c.vacuumAfter);
        EXPECT_TRUE(host.messages.empty());
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
    addRows(8);
    SqlDatabase other;
    other.open(dbPath().c_str());
    other.execute("BEGIN IMMEDIATE;");  // another process holds the write lock
    historyDb.setBusyTimeout(10);
    trim(true, 5);
    other.execute("ROLLBACK;");
    EXPECT_EQ(vacuumCount(), "(unset)");
    EXPECT_FALSE(historyChanged);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "SQLITE_BUSY[5]: database is locked");
    EXPECT_EQ(rowCount(), 8);
}

TEST_F(HistoryMaintenance, VacuumCompactsAndResets) {
    openFresh();
    addRows(500);
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

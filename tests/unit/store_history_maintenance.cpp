// Keeping the file small: the trim or drop at exit, and the VACUUM at open after ten runs that removed rows.
#include "store/HistoryMaintenance.h"
#include "store/HistorySql.h"

#include "store_support.h"

#include <sqlite3.h>

namespace {

class HistoryMaintenance : public store_test::HistoryDbTest {
protected:
    void SetUp() override {
        HistoryDbTest::SetUp();
        open();
    }
    void trim(bool save, int limit) { trimHistory({save, limit}, changed, cachedCount, host); }
    std::string vacuumCount() { return host.config.count("VacuumCount") ? host.config["VacuumCount"] : "unset"; }
    int smallestId() { return historyDb.queryInt("SELECT MIN(Id) FROM Log;"); }

    bool changed = false;
    int cachedCount = -1;
};

TEST_F(HistoryMaintenance, TrimAtExit) {
    const struct {
        const char* name;
        int rows, removedFirst;  // the oldest ones, before the trim
        bool changedBefore;  // the user deleted an item during the run
        const char* vacuumBefore;
        int limit, runs, rowsAfter, smallestAfter;
        bool changedAfter;
        int cachedCount;
        const char* vacuumAfter;
    } cases[] = {
        {"keeps the newest rows", 8, 0, false, nullptr, 5, 1, 5, 3, true, 8, "1"},
        {"counts rows, not ids", 10, 2, false, nullptr, 5, 1, 5, 5, true, 8, "1"},
        {"exactly the limit deletes nothing", 5, 0, false, "4", 5, 1, 5, 0, false, 5, "4"},
        {"a delete during the run is counted", 5, 0, true, "4", 3000, 1, 5, 0, true, 5, "5"},
        {"no limit: no count, no delete", 5, 0, false, nullptr, 0, 1, 5, 0, false, -1, "unset"},
        {"a negative limit is none", 5, 0, false, nullptr, -1, 1, 5, 0, false, -1, "unset"},
        {"a second run after a trim counts again", 7, 0, false, nullptr, 5, 2, 5, 2, true, 5, "2"},
        {"the largest counter does not overflow", 1, 0, true, "2147483647", 3000, 1, 1, 0, true, 1, "2147483648"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        history::removeAll();
        nextId = 0;
        addClips(c.rows);
        for (int id = 0; id < c.removedFirst; ++id) history::remove(id);
        host.config.erase("VacuumCount");
        if (c.vacuumBefore) host.config["VacuumCount"] = c.vacuumBefore;
        changed = c.changedBefore;
        cachedCount = -1;
        for (int run = 0; run < c.runs; ++run) trim(true, c.limit);
        EXPECT_EQ(rowCount(), c.rowsAfter);
        EXPECT_EQ(smallestId(), c.smallestAfter);
        EXPECT_EQ(changed, c.changedAfter);
        EXPECT_EQ(cachedCount, c.cachedCount);
        EXPECT_EQ(vacuumCount(), c.vacuumAfter);
    }
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(HistoryMaintenance, NotSavingDropsTheTableAndASecondRunReportsIt) {
    addClips(3);
    trim(false, 10);
    EXPECT_TRUE(changed);
    EXPECT_EQ(vacuumCount(), "1");
    EXPECT_THROW(rowCount(), SqlException);
    trim(false, 10);  // a second shutdown path runs it again
    EXPECT_EQ(vacuumCount(), "1");
    EXPECT_EQ(host.messages, std::vector<std::string>{"yarrowkit|SQLITE_ERROR[1]: "});
}

TEST_F(HistoryMaintenance, AFailureIsShownAndLeavesTheCounter) {
    addClips(8);
    SqlDatabase other;
    other.open(dbPath().c_str());
    other.execute("BEGIN IMMEDIATE;");  // another program holds the write lock
    trim(true, 5);
    other.execute("ROLLBACK;");
    EXPECT_EQ(rowCount(), 8);
    EXPECT_FALSE(changed);
    history::close();
    changed = true;
    trim(true, 5);
    EXPECT_EQ(vacuumCount(), "unset");
    EXPECT_EQ(host.messages, (std::vector<std::string>{"yarrowkit|SQLITE_BUSY[5]: database is locked",
                                                        "yarrowkit|SQLLAYER_ERROR[1000]: Database not open"}));
}

TEST_F(HistoryMaintenance, TheOpenAfterTenCountedRunsCompactsAndDeletesLeftovers) {
    addClips(300);
    history::removeAll();
    host.existingPaths.insert(folder);
    host.listings[folder + "*.sql-*"] = {"vorla.sql-journal", "busy.sql-wal", "old.sql-shm"};
    host.undeletable.insert(folder + "busy.sql-wal");
    host.config["VacuumCount"] = "9";
    open();
    EXPECT_GT(historyDb.queryInt("PRAGMA freelist_count;"), 0);
    EXPECT_TRUE(host.deleted.empty());
    host.config["VacuumCount"] = "10";
    open();
    EXPECT_EQ(historyDb.queryInt("PRAGMA freelist_count;"), 0);
    EXPECT_EQ(vacuumCount(), "0");
    EXPECT_EQ(host.deleted, (std::vector<std::string>{folder + "vorla.sql-journal", folder + "old.sql-shm"}));
    EXPECT_TRUE(host.messages.empty()) << "a file that cannot be deleted stays silently";

    host.config["VacuumCount"] = "11";
    vacuumIfDue("C:\\gone\\", host);
    EXPECT_EQ(vacuumCount(), "0");
    EXPECT_EQ(host.messages, std::vector<std::string>{"yarrowkit|Path is unvalid : C:\\gone\\"});
}

TEST_F(HistoryMaintenance, ANewTableIsNeverCompacted) {
    history::close();
    std::remove(dbPath().c_str());
    host.config["VacuumCount"] = "25";
    open();
    EXPECT_EQ(vacuumCount(), "25");
}

// Every new connection starts inside a transaction, where VACUUM is refused.
int beginTransaction(sqlite3* db, char**, const sqlite3_api_routines*) {
    return sqlite3_exec(db, "BEGIN;", nullptr, nullptr, nullptr);
}

TEST_F(HistoryMaintenance, AFailedCompactionIsReportedAndTheIdsStillLoad) {
    addClips(7);
    host.config["VacuumCount"] = "12";
    auto entry = reinterpret_cast<void (*)()>(&beginTransaction);
    ASSERT_EQ(sqlite3_auto_extension(entry), SQLITE_OK);
    open();
    sqlite3_cancel_auto_extension(entry);
    EXPECT_EQ(host.messages, std::vector<std::string>{"YarrowKit Error #1|Can't open database or create main table\n"
                                                      " Error #1 - SQLITE_ERROR[1]: cannot VACUUM from within a "
                                                      "transaction\n\nIs this path correct?\n" + dbPath()});
    EXPECT_EQ(vacuumCount(), "12") << "the next open tries again";
    EXPECT_EQ(nextId, 7) << "new items must not take the ids of stored ones";
}

}  // namespace

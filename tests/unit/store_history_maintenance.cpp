// Keeping the file small: the trim or drop at exit, and the VACUUM after ten runs that removed rows.
#include "store/HistoryMaintenance.h"

#include "store_support.h"

namespace {

class HistoryMaintenance : public store_test::HistoryDbTest {
protected:
    void trim(bool save, int limit) { trimHistory({save, limit}, changed, cachedCount, host); }
    std::string vacuumCount() { return host.config.count("VacuumCount") ? host.config["VacuumCount"] : "unset"; }

    bool changed = false;
    int cachedCount = -1;
};

TEST_F(HistoryMaintenance, TrimAtExit) {
    const struct {
        const char* name;
        int rows, removedFirst;  // the oldest ones, before the trim
        bool changedBefore;      // the user deleted an item during the run
        const char *vacuumBefore, *vacuumAfter;
        int limit, runs, rowsAfter, smallestAfter, cachedCount;
        bool changedAfter;
    } cases[] = {
        {"keeps the newest rows", 8, 0, false, nullptr, "1", 5, 1, 5, 3, 8, true},
        {"counts rows, not ids", 10, 2, false, nullptr, "1", 5, 1, 5, 5, 8, true},
        {"exactly the limit deletes nothing", 5, 0, false, "4", "4", 5, 1, 5, 0, 5, false},
        {"a delete during the run is counted", 5, 0, true, "4", "5", 3000, 1, 5, 0, 5, true},
        {"no limit: no count, no delete", 5, 0, false, nullptr, "unset", 0, 1, 5, 0, -1, false},
        {"a negative limit is none", 5, 0, false, nullptr, "unset", -1, 1, 5, 0, -1, false},
        {"a second run after a trim counts again", 7, 0, false, nullptr, "2", 5, 2, 5, 2, 5, true},
        {"the largest counter does not overflow", 1, 0, true, "2147483647", "2147483648", 3000, 1, 1, 0, 1, true},
    };
    for (const auto& c : cases) {
        history::removeAll();
        nextId = 0;
        addClips(c.rows);
        for (int id = 0; id < c.removedFirst; ++id) history::remove(id);
        host.config.clear();
        if (c.vacuumBefore) host.config["VacuumCount"] = c.vacuumBefore;
        changed = c.changedBefore;
        cachedCount = -1;
        for (int run = 0; run < c.runs; ++run) trim(true, c.limit);
        EXPECT_EQ(std::make_tuple(rowCount(), historyDb.queryInt("SELECT MIN(Id) FROM Log;"), changed, cachedCount, vacuumCount()),
                  std::make_tuple(c.rowsAfter, c.smallestAfter, c.changedAfter, c.cachedCount, std::string(c.vacuumAfter)))
            << c.name;
    }
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(HistoryMaintenance, NotSavingDropsTheTableAndFailuresAreShownWithoutCounting) {
    addClips(8);
    SqlDatabase other;
    other.open(dbPath().c_str());
    other.execute("BEGIN IMMEDIATE;");  // another program holds the write lock
    trim(true, 5);
    other.execute("ROLLBACK;");
    EXPECT_EQ(rowCount(), 8);
    EXPECT_FALSE(changed);
    trim(false, 5);
    EXPECT_TRUE(changed);
    EXPECT_THROW(rowCount(), SqlException) << "the table is dropped";
    trim(false, 5);  // a second shutdown path runs it again
    history::close();
    trim(true, 5);
    EXPECT_EQ(vacuumCount(), "1") << "only the drop counted";
    EXPECT_EQ(host.messages, (std::vector<std::string>{"yarrowkit|SQLITE_BUSY[5]: database is locked",
                                                        "yarrowkit|SQLITE_ERROR[1]: ",
                                                        "yarrowkit|SQLLAYER_ERROR[1000]: Database not open"}));
}

TEST_F(HistoryMaintenance, TheOpenAfterTenCountedRunsCompactsAndDeletesLeftovers) {
    addClips(300);
    history::removeAll();
    host.existingPaths.insert(folder);
    host.listings[folder + "*.sql-*"] = {"vorla.sql-journal", "busy.sql-wal", "old.sql-shm"};
    host.undeletable.insert(folder + "busy.sql-wal");
    for (const std::string count : {"9", "10"}) {
        host.config["VacuumCount"] = count;
        open();
        EXPECT_EQ(historyDb.queryInt("PRAGMA freelist_count;") == 0, count == "10") << count;
    }
    EXPECT_EQ(vacuumCount(), "0");
    EXPECT_EQ(host.deleted, (std::vector{folder + "vorla.sql-journal", folder + "old.sql-shm"}));
    host.config["VacuumCount"] = "11";
    vacuumIfDue("C:\\gone\\", host);
    EXPECT_EQ(vacuumCount(), "0");
    // Only the missing folder is reported; a file that cannot be deleted stays silently.
    EXPECT_EQ(host.messages, std::vector<std::string>{"yarrowkit|Path is unvalid : C:\\gone\\"});
    history::close();
    std::filesystem::remove(dbPath());
    host.config["VacuumCount"] = "25";
    open();
    EXPECT_EQ(vacuumCount(), "25") << "a new table is never compacted";
}

}  // namespace

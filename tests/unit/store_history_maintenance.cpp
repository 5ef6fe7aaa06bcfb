// Keeping the file small: the trim or drop at exit, and the VACUUM after ten runs that removed rows.
#include "store_support.h"

namespace {

using HistoryMaintenance = store_test::HistoryDbTest;

TEST_F(HistoryMaintenance, TrimAtExit) {
    // Rows from the first id, a delete during the run, VacuumCount, the limit and how many runs;
    // then the rows, the smallest id, whether rows went, the count read and VacuumCount.
    const std::tuple<int, int, bool, const char*, int, int, int, int, bool, int, const char*> cases[] = {
        {8, 0, false, "", 5, 1, 5, 3, true, 8, "1"},                          // the newest rows stay
        {8, 100, false, "", 5, 1, 5, 103, true, 8, "1"},                      // counted in rows, not ids
        {5, 0, false, "4", 5, 1, 5, 0, false, 5, "4"},                        // exactly the limit
        {5, 0, true, "4", 3000, 1, 5, 0, true, 5, "5"},                       // the user's delete counts
        {5, 0, false, "", 0, 1, 5, 0, false, -1, ""},                         // no limit: no count, no delete
        {5, 0, false, "", -1, 1, 5, 0, false, -1, ""},                        // a negative limit is none
        {7, 0, false, "", 5, 2, 5, 2, true, 5, "2"},                          // a second run counts again
        {1, 0, true, "2147483647", 3000, 1, 1, 0, true, 1, "2147483648"}};   // the largest counter
    for (const auto& [rows, firstId, changedBefore, vacuumBefore, limit, runs, rowsAfter, smallestAfter, changedAfter,
                      cachedAfter, vacuumAfter] : cases) {
        history::removeAll();
        nextId = firstId;
        addClips(rows);
        vacuumCount() = vacuumBefore;
        changed = changedBefore;
        cachedCount = -1;
        for (int run = 0; run < runs; ++run) trim(true, limit);
        EXPECT_EQ(std::tuple(rowCount(), historyDb.queryInt("SELECT MIN(Id) FROM Log;"), changed, cachedCount),
                  std::tuple(rowsAfter, smallestAfter, changedAfter, cachedAfter)) << rows << " rows, limit " << limit;
        EXPECT_EQ(vacuumCount(), vacuumAfter);
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
    host.listings[folder + "*.sql-*"] = {"vorla.sql-journal", "busy.sql-wal", "old.sql-shm"};
    host.busy.insert(folder + "busy.sql-wal");
    for (const std::string count : {"9", "10"}) {
        vacuumCount() = count;
        open();
        EXPECT_EQ(historyDb.queryInt("PRAGMA freelist_count;") == 0, count == "10") << count;
    }
    EXPECT_EQ(vacuumCount(), "0");
    EXPECT_EQ(host.deleted, (std::vector{folder + "vorla.sql-journal", folder + "old.sql-shm"}));
    vacuumCount() = "11";
    vacuumIfDue(folder + "gone/", host);
    EXPECT_EQ(vacuumCount(), "0");
    EXPECT_EQ(host.messages, std::vector{"yarrowkit|Path is unvalid : " + folder + "gone/"});  // busy: silent
    history::close();
    std::filesystem::remove(dbPath());
    vacuumCount() = "25";
    open();
    EXPECT_EQ(vacuumCount(), "25") << "a new table is never compacted";
}

}  // namespace

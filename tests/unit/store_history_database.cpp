#include "store/History.h"
#include "store/HistoryDatabase.h"
#include "store/HistorySql.h"
#include "store/SqlException.h"

#include "store_test_support.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <climits>
#include <fstream>
#include <string>

namespace {

using store_test::HistoryDbTest;

using HistoryDatabase = HistoryDbTest;

void fillTable(SqlDatabase& db, std::initializer_list<int> ids) {
    for (int id : ids) db.execute(sql::insertRow(id, 0, "", "\x01s", "\x01t", "(null)", "\x01x", 0, "(null)").c_str());
}

TEST_F(HistoryDatabase, NewFileGetsTheTableAndIdZero) {
    nextId = 17;
    openFresh();
    EXPECT_EQ(nextId, 0);
    EXPECT_EQ(rowCount(), 0);
    // The schema holds the statement's own text, without its semicolon.
    SqlCursor schema = historyDb.query("SELECT sql FROM sqlite_master WHERE name='Log'");
    std::string expected = sql::kCreateLogTable;
    expected.pop_back();
    EXPECT_EQ(schema.columnText(0), expected);
    EXPECT_EQ(historyDb.queryInt("PRAGMA busy_timeout;"), 60000);
}

TEST_F(HistoryDatabase, PageAndRecentQueriesAreAnsweredFromTheListIndex) {
    auto plan = [](const std::string& query) {
        SqlResultTable rows = historyDb.queryTable(("EXPLAIN QUERY PLAN " + query).c_str());
        std::string all;
        for (int row = 0; row < rows.rowCount(); ++row) {
            rows.selectRow(row);
            all += rows.stringValue("detail", "") + std::string("\n");
        }
        return all;
    };
    openFresh();
    EXPECT_NE(plan(sql::selectPage(50, 50)).find("COVERING INDEX LogList"), std::string::npos);
    EXPECT_NE(plan(sql::selectRecent(15)).find("COVERING INDEX LogList"), std::string::npos);

    // A file made before the index gets it at its next opening.
    historyDb.execute("DROP INDEX LogList;");
    historyDb.close();
    openFresh();
    EXPECT_NE(plan(sql::selectPage(0, 50)).find("COVERING INDEX LogList"), std::string::npos);
}

TEST_F(HistoryDatabase, ExistingEmptyTableGivesIdZeroSilently) {
    openFresh();
    historyDb.close();
    nextId = 5;
    openFresh();
    EXPECT_EQ(nextId, 0);
}

TEST_F(HistoryDatabase, NextIdFollowsTheLargestRemainingId) {
    openFresh();
    fillTable(historyDb, {0, 1, 2, 40, 41});
    historyDb.execute("DELETE FROM Log WHERE Id < 41;");
    historyDb.close();
    openFresh();
    EXPECT_EQ(nextId, 42);

    // Deleting the newest items hands their ids out again after a restart.
    historyDb.execute(sql::deleteItem(41).c_str());
    historyDb.close();
    openFresh();
    EXPECT_EQ(nextId, 0);
}

TEST_F(HistoryDatabase, LoadNextIdWithoutTableIsZero) {
    historyDb.open(":memory:");
    nextId = 9;
    loadNextId();
    EXPECT_EQ(nextId, 0);
}

TEST_F(HistoryDatabase, ClaimingAnIdAdvancesIt) {
    nextId = 3;
    EXPECT_EQ(history::claimNextId(), 3);
    EXPECT_EQ(history::claimNextId(), 4);
    EXPECT_EQ(nextId, 5);
}

TEST_F(HistoryDatabase, LargestPossibleIdDoesNotOverflow) {
    openFresh();
    fillTable(historyDb, {INT_MAX});
    loadNextId();
    EXPECT_EQ(nextId, INT_MIN);
    nextId = INT_MAX;
    EXPECT_EQ(history::claimNextId(), INT_MAX);
    EXPECT_EQ(nextId, INT_MIN);
}

TEST_F(HistoryDatabase, MissingFolderShowsErrorOneAndKeepsNextId) {
    nextId = 7;
    const std::string path = scratch.file("no-such-folder/vorla.sql");
    openHistoryDatabase(path, scratch.folder(), host);
    EXPECT_EQ(nextId, 7);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "YarrowKit Error #1");
    EXPECT_EQ(host.messages[0].kind, StoreHost::MessageKind::Error);
    EXPECT_EQ(host.messages[0].text,
              "Can't open database or create main table\n Error #1 - SQLITE_CANTOPEN[14]: unable to open database "
              "file\n\nIs this path correct?\n" + path);
}

TEST_F(HistoryDatabase, FileThatIsNoDatabaseGivesIdZeroWithoutMessage) {
    std::ofstream(dbPath()) << std::string(4096, 'g');
    nextId = 3;
    openHistoryDatabase(dbPath(), scratch.folder(), host);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(nextId, 0);
}

TEST_F(HistoryDatabase, DueVacuumOnFileThatIsNoDatabaseShowsErrorOne) {
    std::ofstream(dbPath()) << std::string(4096, 'g');
    host.config["VacuumCount"] = "10";
    openHistoryDatabase(dbPath(), scratch.folder(), host);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "YarrowKit Error #1");
    // SQLITE_NOTADB (26) has no name of its own.
    EXPECT_EQ(host.messages[0].text, "Can't open database or create main table\n Error #1 - UNKNOWN_ERROR[26]: file "
                                     "is not a database\n\nIs this path correct?\n" + dbPath());
    EXPECT_EQ(host.config["VacuumCount"], "10");
}

TEST_F(HistoryDatabase, VacuumIsDueAboveNine) {
    openFresh();
    fillTable(historyDb, {1, 2});
    historyDb.close();
    host.existingPaths.insert(scratch.folder());
    host.listings[scratch.folder() + "*.sql-*"] = {"vorla.sql-journal", "old.sql-wal"};

    host.config["VacuumCount"] = "9";
    openFresh();
    EXPECT_EQ(host.config["VacuumCount"], "9");
    EXPECT_TRUE(host.searched.empty());
    EXPECT_EQ(nextId, 3);
    historyDb.close();

    host.config["VacuumCount"] = "10";
    openFresh();
    EXPECT_EQ(host.config["VacuumCount"], "0");
    EXPECT_EQ(host.deleted, (std::vector<std::string>{scratch.folder() + "vorla.sql-journal",
                                                      scratch.folder() + "old.sql-wal"}));
    EXPECT_EQ(nextId, 3);
}

TEST_F(HistoryDatabase, NewTableSkipsTheVacuumCheck) {
    host.config["VacuumCount"] = "25";
    openFresh();
    EXPECT_EQ(host.config["VacuumCount"], "25");
    EXPECT_TRUE(host.searched.empty());
}

// Every new connection starts inside a transaction, where VACUUM is refused.
int beginTransaction(sqlite3* db, char**, const sqlite3_api_routines*) {
    return sqlite3_exec(db, "BEGIN;", nullptr, nullptr, nullptr);
}

TEST_F(HistoryDatabase, FailedVacuumIsReportedAndIdsStillLoad) {
    openFresh();
    fillTable(historyDb, {5, 6});
    historyDb.close();
    host.config["VacuumCount"] = "12";
    host.existingPaths.insert(scratch.folder());

    auto entry = reinterpret_cast<void (*)()>(&beginTransaction);
    ASSERT_EQ(sqlite3_auto_extension(entry), SQLITE_OK);
    openHistoryDatabase(dbPath(), scratch.folder(), host);
    sqlite3_cancel_auto_extension(entry);

    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].caption, "YarrowKit Error #1");
    EXPECT_EQ(host.messages[0].text, "Can't open database or create main table\n Error #1 - SQLITE_ERROR[1]: cannot "
                                     "VACUUM from within a transaction\n\nIs this path correct?\n" + dbPath());
    // Not reset, nothing deleted: the next open tries again.
    EXPECT_EQ(host.config["VacuumCount"], "12");
    EXPECT_TRUE(host.searched.empty());
    // New items must not take the ids of stored ones.
    EXPECT_EQ(nextId, 7);
}

TEST(HistoryDatabaseText, ErrorOneTextKeepsPercentSigns) {
    EXPECT_EQ(openErrorText("SQLITE_BUSY[5]: database is locked", "C:\\100%\\vorla.sql"),
              "Can't open database or create main table\n Error #1 - SQLITE_BUSY[5]: database is locked\n\n"
              "Is this path correct?\nC:\\100%\\vorla.sql");
}

}  // namespace

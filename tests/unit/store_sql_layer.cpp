// The SQLite layer as the history store uses it: error texts, scalar queries, cursors and tables.
#include "store/SqlDatabase.h"
#include "store/SqlException.h"

#include "store_test_support.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>
#include <string>
#include <utility>

namespace {

using store_test::expectLayerFailure;

void expectSqlFailure(const std::function<void()>& operation, const std::string& message) {
    try {
        operation();
        ADD_FAILURE() << "no SqlException, expected " << message;
    } catch (const SqlException& failure) {
        EXPECT_EQ(std::string(failure.message()), message);
    }
}

TEST(SqlException, MessageIsNameCodeAndText) {
    const struct {
        int code;
        const char* text;
        const char* message;
    } cases[] = {
        {1000, "Database not open", "SQLLAYER_ERROR[1000]: Database not open"},
        {5, "database is locked", "SQLITE_BUSY[5]: database is locked"},
        {19, "x", "SQLITE_CONSTRAINT[19]: x"},
        {101, "x", "SQLITE_DONE[101]: x"},
        {1, nullptr, "SQLITE_ERROR[1]: "},
        {26, "x", "UNKNOWN_ERROR[26]: x"},
        {-1, "x", "UNKNOWN_ERROR[-1]: x"},
        {1, "near \"%s\": 100% wrong", "SQLITE_ERROR[1]: near \"%s\": 100% wrong"},  // no format expansion
    };
    for (const auto& c : cases) {
        const SqlException failure(c.code, c.text);
        EXPECT_EQ(failure.code(), c.code);
        EXPECT_STREQ(failure.message(), c.message);
    }
}

TEST(SqlException, OwnsItsTextThroughCopiesAndMoves) {
    // The leak checker of the sanitizer build fails this test if SQLite's text is not released.
    auto original = std::make_unique<SqlException>(1, sqlite3_mprintf("no such table: %s", "nope"), true);
    SqlException copy(*original);
    original.reset();
    const SqlException moved(std::move(copy));
    EXPECT_STREQ(moved.message(), "SQLITE_ERROR[1]: no such table: nope");
}

class SqlLayer : public ::testing::Test {
protected:
    void SetUp() override {
        db.open(":memory:");
        db.execute("CREATE TABLE t(Id int PRIMARY KEY, Name text, n int);"
                   "INSERT INTO t VALUES (1,'one',NULL);INSERT INTO t VALUES (2,'two',22);");
    }
    SqlDatabase db;
};

TEST(SqlDatabaseClosed, EveryStatementSaysDatabaseNotOpen) {
    SqlDatabase db;
    const std::string message = "SQLLAYER_ERROR[1000]: Database not open";
    expectSqlFailure([&] { db.execute("SELECT 1;"); }, message);
    expectSqlFailure([&] { db.query("SELECT 1;"); }, message);
    expectSqlFailure([&] { db.queryInt("SELECT 1;"); }, message);
    expectSqlFailure([&] { db.queryTable("SELECT 1;"); }, message);
}

TEST(SqlDatabaseOpen, MissingFolderFailsWithSqlitesMessage) {
    store_test::ScratchFolder scratch;
    SqlDatabase db;
    expectSqlFailure([&] { db.open(scratch.file("missing/vorla.sql").c_str()); },
                     "SQLITE_CANTOPEN[14]: unable to open database file");
}

TEST_F(SqlLayer, BusyTimeoutIsSixtySecondsAndSurvivesReopening) {
    EXPECT_EQ(db.queryInt("PRAGMA busy_timeout;"), 60000);
    db.setBusyTimeout(250);
    db.open(":memory:");
    EXPECT_EQ(db.queryInt("PRAGMA busy_timeout;"), 250);
}

TEST_F(SqlLayer, FailuresCarryTheirCodeAndText) {
    const struct {
        std::function<void()> operation;
        const char* message;
    } cases[] = {
        {[&] { db.execute("DELETE FROM nope;"); }, "SQLITE_ERROR[1]: no such table: nope"},
        {[&] { db.execute("INSERT INTO t VALUES (1,'again',0);"); },
         "SQLITE_CONSTRAINT[19]: UNIQUE constraint failed: t.Id"},
        // A statement that does not compile gives the code alone.
        {[&] { db.query("SELEC Id FROM t"); }, "SQLITE_ERROR[1]: "},
        {[&] { db.queryInt("SELECT Id FROM nope"); }, "SQLITE_ERROR[1]: "},
        // A failure while running reports the code finalize gives, not step's generic one.
        {[&] { db.query("INSERT INTO t VALUES (1,'again',0);"); },
         "SQLITE_CONSTRAINT[19]: UNIQUE constraint failed: t.Id"},
        {[&] { db.queryTable("SELECT * FROM nope"); }, "SQLITE_ERROR[1]: no such table: nope"},
        {[&] { db.queryInt("SELECT Id FROM t WHERE Id=99;"); }, "SQLLAYER_ERROR[1000]: Invalid scalar query"},
        {[&] { db.queryInt("SELECT n FROM t WHERE Id=1;"); },
         "SQLLAYER_ERROR[1000]: Unknown scalar query, NULL returned"},
        {[&] { db.queryInt("SELECT MAX(Id) FROM t WHERE Id>5;"); },
         "SQLLAYER_ERROR[1000]: Unknown scalar query, NULL returned"},
    };
    for (const auto& c : cases) expectSqlFailure(c.operation, c.message);
    // Every failed statement was finalised: nothing keeps the table busy.
    db.execute("DROP TABLE t;");
}

TEST_F(SqlLayer, ExecuteRunsEveryStatementAndCountsTheLastOnesChanges) {
    EXPECT_EQ(db.execute("INSERT INTO t VALUES (3,'x',0);INSERT INTO t VALUES (4,'y',0);"), 1);
    EXPECT_EQ(db.execute("DELETE FROM t WHERE Id > 1;"), 3);
    EXPECT_EQ(db.queryInt("SELECT '12abc';"), 12);  // atoi of the text
}

TEST_F(SqlLayer, CursorReadsTheFirstRowByName) {
    SqlCursor cursor = db.query("SELECT Id, Name, n FROM t ORDER BY Id");
    ASSERT_FALSE(cursor.atEnd());
    EXPECT_STREQ(cursor.columnText(1), "one");
    EXPECT_EQ(cursor.intValue("Id", -1), 1);
    EXPECT_EQ(cursor.intValue("n", -1), -1);
    EXPECT_STREQ(cursor.stringValue("Name", "none"), "one");
    EXPECT_STREQ(cursor.stringValue("n", "none"), "none");
    expectLayerFailure([&] { cursor.intValue("id", 0); }, "Invalid field name requested");  // names match exactly
    EXPECT_TRUE(db.query("SELECT Id FROM t WHERE Id=99").atEnd());
}

TEST_F(SqlLayer, ReleasedCursorFreesTheTable) {
    SqlCursor cursor = db.query("SELECT Id FROM t");
    EXPECT_THROW(db.execute("DROP TABLE t;"), SqlException);  // a running SELECT holds it
    cursor.release();
    db.execute("DROP TABLE t;");
    expectLayerFailure([&] { cursor.atEnd(); }, "Null Virtual Machine pointer");
}

TEST_F(SqlLayer, TableWalksRowsByName) {
    SqlResultTable table = db.queryTable("SELECT Id,Name,n FROM t ORDER by Id DESC");
    ASSERT_EQ(table.rowCount(), 2);
    EXPECT_STREQ(table.columnText("Name"), "two");  // row 0 after construction
    table.selectRow(1);
    EXPECT_EQ(table.intValue("Id", -5), 1);
    EXPECT_EQ(table.intValue("n", -5), -5);
    EXPECT_STREQ(table.stringValue("n", "none"), "none");
    for (int row : {-1, 2}) expectLayerFailure([&] { table.selectRow(row); }, "Invalid row index requested");
    EXPECT_STREQ(table.columnText("Name"), "one");  // a refused selection keeps the current row
    expectLayerFailure([&] { table.columnText("name"); }, "Invalid field name requested");
    EXPECT_EQ(db.queryTable("SELECT Id FROM t WHERE Id>5").rowCount(), 0);
}

}  // namespace

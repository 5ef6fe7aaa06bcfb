#include "store/SqlDatabase.h"
#include "store/SqlException.h"

#include "store_test_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

using store_test::ScratchFolder;

void expectSqlFailure(const std::function<void()>& operation, int code, const std::string& message) {
    try {
        operation();
        ADD_FAILURE() << "no SqlException, expected " << message;
    } catch (const SqlException& failure) {
        EXPECT_EQ(failure.code(), code);
        EXPECT_EQ(std::string(failure.message()), message);
    }
}

class SqlDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        db.open(":memory:");
        db.execute("CREATE TABLE t(id int PRIMARY KEY, name text, n int);"
                   "INSERT INTO t VALUES (1,'one',10);INSERT INTO t VALUES (2,'two',NULL);");
    }
    SqlDatabase db;
};

TEST(SqlDatabaseClosed, EveryStatementSaysDatabaseNotOpen) {
    SqlDatabase db;
    const std::string message = "SQLLAYER_ERROR[1000]: Database not open";
    expectSqlFailure([&] { db.execute("SELECT 1;"); }, 1000, message);
    expectSqlFailure([&] { db.query("SELECT 1;"); }, 1000, message);
    expectSqlFailure([&] { db.queryInt("SELECT 1;"); }, 1000, message);
    expectSqlFailure([&] { db.queryTable("SELECT 1;"); }, 1000, message);
    EXPECT_FALSE(db.isOpen());
    EXPECT_EQ(db.close(), 0);
}

TEST(SqlDatabaseClosed, ClosedAgainAfterClose) {
    SqlDatabase db;
    db.open(":memory:");
    EXPECT_TRUE(db.isOpen());
    EXPECT_EQ(db.close(), 0);
    expectSqlFailure([&] { db.execute("SELECT 1;"); }, 1000, "SQLLAYER_ERROR[1000]: Database not open");
}

TEST(SqlDatabaseOpen, MissingFolderFailsWithSqliteMessageAndKeepsTheHandle) {
    ScratchFolder scratch;
    SqlDatabase db;
    expectSqlFailure([&] { db.open(scratch.file("missing/vorla.sql").c_str()); }, 14,
                     "SQLITE_CANTOPEN[14]: unable to open database file");
    // The handle SQLite returned is kept, so statements fail with SQLite's error, not the layer's.
    EXPECT_TRUE(db.isOpen());
    try {
        db.execute("SELECT 1;");
        ADD_FAILURE() << "a failed connection ran a statement";
    } catch (const SqlException& failure) {
        EXPECT_NE(failure.code(), 1000);
    }
    db.close();
    EXPECT_FALSE(db.isOpen());
}

TEST(SqlDatabaseOpen, ReopeningReleasesThePreviousConnection) {
    ScratchFolder scratch;
    SqlDatabase db;
    db.open(scratch.file("a.sql").c_str());
    db.execute("CREATE TABLE a(x);");
    db.open(scratch.file("b.sql").c_str());
    expectSqlFailure([&] { db.execute("INSERT INTO a VALUES (1);"); }, 1, "SQLITE_ERROR[1]: no such table: a");
}

TEST_F(SqlDatabaseTest, BusyTimeoutIsSixtySecondsAfterOpen) {
    EXPECT_EQ(db.queryInt("PRAGMA busy_timeout;"), 60000);
    db.setBusyTimeout(250);
    EXPECT_EQ(db.queryInt("PRAGMA busy_timeout;"), 250);
    db.open(":memory:");  // the stored value is applied again
    EXPECT_EQ(db.queryInt("PRAGMA busy_timeout;"), 250);
}

TEST_F(SqlDatabaseTest, ExecuteReturnsChangedRowsAndRunsEveryStatement) {
    EXPECT_EQ(db.execute("INSERT INTO t VALUES (3,'three',30);INSERT INTO t VALUES (4,'four',40);"), 1);
    EXPECT_EQ(db.queryInt("SELECT COUNT(*) FROM t;"), 4);
    EXPECT_EQ(db.execute("DELETE FROM t WHERE id > 1;"), 3);
}

TEST_F(SqlDatabaseTest, ExecuteFailureCarriesSqliteText) {
    expectSqlFailure([&] { db.execute("DELETE FROM nope;"); }, 1, "SQLITE_ERROR[1]: no such table: nope");
    expectSqlFailure([&] { db.execute("INSERT INTO t VALUES (1,'again',0);"); }, 19,
                     "SQLITE_CONSTRAINT[19]: UNIQUE constraint failed: t.id");
}

TEST_F(SqlDatabaseTest, CompileFailureMessageEndsAfterTheColon) {
    expectSqlFailure([&] { db.query("SELEC id FROM t"); }, 1, "SQLITE_ERROR[1]: ");
    expectSqlFailure([&] { db.query("SELECT id FROM nope"); }, 1, "SQLITE_ERROR[1]: ");
    expectSqlFailure([&] { db.queryInt("SELECT"); }, 1, "SQLITE_ERROR[1]: ");
}

TEST_F(SqlDatabaseTest, RuntimeFailureInQueryReportsTheFinalizeCode) {
    // The legacy step reports a generic SQLITE_ERROR; finalize gives the constraint code.
    expectSqlFailure([&] { db.query("INSERT INTO t VALUES (1,'again',0);"); }, 19,
                     "SQLITE_CONSTRAINT[19]: UNIQUE constraint failed: t.id");
    // The failed statement is finalised: the table can be dropped at once.
    db.execute("DROP TABLE t;");
}

TEST_F(SqlDatabaseTest, QueryRunsStatementsWithoutRows) {
    SqlCursor cursor = db.query("DELETE FROM t WHERE id=2;");
    EXPECT_TRUE(cursor.atEnd());
    cursor.release();
    EXPECT_EQ(db.queryInt("SELECT COUNT(*) FROM t;"), 1);
    EXPECT_TRUE(db.query("SELECT id FROM t WHERE id=99").atEnd());
    EXPECT_FALSE(db.query("SELECT id FROM t").atEnd());
}

TEST_F(SqlDatabaseTest, QueryIntRules) {
    EXPECT_EQ(db.queryInt("SELECT MAX(id) FROM t;"), 2);
    EXPECT_EQ(db.queryInt("SELECT 'abc';"), 0);
    EXPECT_EQ(db.queryInt("SELECT '12abc';"), 12);
    EXPECT_EQ(db.queryInt("SELECT -7;"), -7);
    expectSqlFailure([&] { db.queryInt("SELECT id FROM t WHERE id=99;"); }, 1000,
                     "SQLLAYER_ERROR[1000]: Invalid scalar query");
    expectSqlFailure([&] { db.queryInt("DELETE FROM t WHERE id=99;"); }, 1000,
                     "SQLLAYER_ERROR[1000]: Invalid scalar query");
    expectSqlFailure([&] { db.queryInt("SELECT n FROM t WHERE id=2;"); }, 1000,
                     "SQLLAYER_ERROR[1000]: Unknown scalar query, NULL returned");
    db.execute("DELETE FROM t;");
    expectSqlFailure([&] { db.queryInt("SELECT MAX(id) FROM t;"); }, 1000,
                     "SQLLAYER_ERROR[1000]: Unknown scalar query, NULL returned");
    // Every cursor was released: nothing keeps the table busy.
    db.execute("DROP TABLE t;");
}

TEST_F(SqlDatabaseTest, QueryOfBlankTextGivesACursorWithoutStatement) {
    SqlCursor cursor = db.query("  -- nothing\n");
    expectSqlFailure([&] { cursor.atEnd(); }, 1000, "SQLLAYER_ERROR[1000]: Null Virtual Machine pointer");
}

TEST_F(SqlDatabaseTest, QueryTableFailureCarriesSqliteText) {
    expectSqlFailure([&] { db.queryTable("SELECT * FROM nope"); }, 1, "SQLITE_ERROR[1]: no such table: nope");
}

}  // namespace

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

class SqlCursorTest : public ::testing::Test {
protected:
    void SetUp() override {
        db.open(":memory:");
        db.execute(kCreate);
    }
    // A running SELECT on t keeps it from being dropped: the probe for a released statement.
    bool tableIsFree() {
        try {
            db.execute("DROP TABLE t;");
        } catch (const SqlException&) {
            return false;
        }
        db.execute(kCreate);
        return true;
    }
    static constexpr char kCreate[] = "CREATE TABLE t(id int, name text, n int);INSERT INTO t VALUES (7,'seven',NULL);";
    SqlDatabase db;
};

TEST_F(SqlCursorTest, ReadsTheFirstRow) {
    SqlCursor cursor = db.query("SELECT id, name, n FROM t");
    ASSERT_FALSE(cursor.atEnd());
    EXPECT_EQ(cursor.columnCount(), 3);
    EXPECT_STREQ(cursor.columnText(0), "7");
    EXPECT_STREQ(cursor.columnText("name"), "seven");
    EXPECT_EQ(cursor.columnText(2), nullptr);
    EXPECT_EQ(cursor.columnType(0), SQLITE_INTEGER);
    EXPECT_EQ(cursor.columnType(1), SQLITE_TEXT);
    EXPECT_EQ(cursor.columnType(2), SQLITE_NULL);
    EXPECT_FALSE(cursor.isNull("id"));
    EXPECT_TRUE(cursor.isNull("n"));
    EXPECT_EQ(cursor.intValue("id", -1), 7);
    EXPECT_EQ(cursor.intValue("n", -1), -1);
    EXPECT_EQ(cursor.intValue("name", -1), 0);  // atoi of a text without digits
    EXPECT_STREQ(cursor.stringValue("name", "none"), "seven");
    EXPECT_STREQ(cursor.stringValue("n", "none"), "none");
}

TEST_F(SqlCursorTest, IndexOutsideTheColumnsIsRefused) {
    SqlCursor cursor = db.query("SELECT id, name FROM t");
    for (int index : {-1, 2, 100}) {
        expectLayerFailure([&] { cursor.columnText(index); }, "Invalid field index requested");
        expectLayerFailure([&] { cursor.columnType(index); }, "Invalid field index requested");
    }
}

TEST_F(SqlCursorTest, NamesMatchExactlyAndTheFirstEqualNameWins) {
    SqlCursor cursor = db.query("SELECT 'first' AS Text, 'lower' AS text, 'second' AS Text");
    EXPECT_EQ(cursor.columnIndex("Text"), 0);
    EXPECT_EQ(cursor.columnIndex("text"), 1);
    EXPECT_STREQ(cursor.columnText("Text"), "first");
    EXPECT_STREQ(cursor.columnText("text"), "lower");
    for (const char* name : {"TEXT", "Tex", "Text ", ""})
        expectLayerFailure([&] { cursor.columnIndex(name); }, "Invalid field name requested");
    expectLayerFailure([&] { cursor.columnIndex(nullptr); }, "Invalid field name requested");
    expectLayerFailure([&] { cursor.isNull("missing"); }, "Invalid field name requested");
    expectLayerFailure([&] { cursor.intValue("missing", 0); }, "Invalid field name requested");
    expectLayerFailure([&] { cursor.stringValue("missing", ""); }, "Invalid field name requested");
}

TEST_F(SqlCursorTest, EveryOperationWithoutStatementIsRefused) {
    SqlCursor cursor;
    const char* text = "Null Virtual Machine pointer";
    expectLayerFailure([&] { cursor.atEnd(); }, text);
    expectLayerFailure([&] { cursor.columnCount(); }, text);
    expectLayerFailure([&] { cursor.columnText(0); }, text);
    expectLayerFailure([&] { cursor.columnType(0); }, text);
    expectLayerFailure([&] { cursor.columnIndex("id"); }, text);
    expectLayerFailure([&] { cursor.columnText("id"); }, text);
    expectLayerFailure([&] { cursor.isNull("id"); }, text);
    expectLayerFailure([&] { cursor.intValue("id", 0); }, text);
    expectLayerFailure([&] { cursor.stringValue("id", ""); }, text);
    cursor.release();  // nothing to release is no failure
}

TEST_F(SqlCursorTest, ReleaseFinalisesAndForgets) {
    SqlCursor cursor = db.query("SELECT id FROM t");
    EXPECT_FALSE(tableIsFree());
    cursor.release();
    EXPECT_TRUE(tableIsFree());
    expectLayerFailure([&] { cursor.atEnd(); }, "Null Virtual Machine pointer");
}

TEST_F(SqlCursorTest, MoveLeavesTheSourceWithoutStatement) {
    SqlCursor source = db.query("SELECT id FROM t");
    SqlCursor target(std::move(source));
    expectLayerFailure([&] { source.atEnd(); }, "Null Virtual Machine pointer");
    EXPECT_STREQ(target.columnText(0), "7");
    source.release();
    EXPECT_FALSE(tableIsFree());  // the statement lives on in the target
}

TEST_F(SqlCursorTest, AssignmentReleasesTheTargetsOwnStatement) {
    SqlCursor target = db.query("SELECT id FROM t");
    target = db.query("SELECT 'other' AS name");
    EXPECT_STREQ(target.columnText("name"), "other");
    EXPECT_TRUE(tableIsFree());  // the SELECT on t is gone
    target = SqlCursor();
    expectLayerFailure([&] { target.columnCount(); }, "Null Virtual Machine pointer");
}

TEST_F(SqlCursorTest, NotOwnedStatementIsNeitherFinalisedNorForgotten) {
    SqlCursor owner = db.query("SELECT id FROM t");
    sqlite3_stmt* statement = nullptr;
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(":memory:", &raw), SQLITE_OK);
    ASSERT_EQ(sqlite3_prepare_v2(raw, "SELECT 5", -1, &statement, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(statement), SQLITE_ROW);
    {
        SqlCursor borrowed(raw, statement, false, false);
        borrowed.release();
        EXPECT_STREQ(borrowed.columnText(0), "5");
    }
    EXPECT_EQ(sqlite3_finalize(statement), SQLITE_OK);
    EXPECT_EQ(sqlite3_close(raw), SQLITE_OK);
}

TEST_F(SqlCursorTest, CursorAtEndStillHasItsColumns) {
    SqlCursor cursor = db.query("SELECT id, name FROM t WHERE id = 0");
    EXPECT_TRUE(cursor.atEnd());
    EXPECT_EQ(cursor.columnCount(), 2);
    EXPECT_EQ(cursor.columnIndex("name"), 1);
}

}  // namespace

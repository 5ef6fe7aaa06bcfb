// The SQLite layer's failures: every one is thrown as "<code name>[<code>]: <text>".
#include "store/SqlDatabase.h"
#include "store/SqlException.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <functional>
#include <memory>

namespace {

TEST(SqlException, MessageIsNameCodeAndText) {
    const struct {
        int code;
        const char* text;
        const char* message;
    } cases[] = {
        {1000, "Database not open", "SQLLAYER_ERROR[1000]: Database not open"},
        {1, nullptr, "SQLITE_ERROR[1]: "},
        {26, "x", "UNKNOWN_ERROR[26]: x"},
        {1, "near \"%s\": 100% wrong", "SQLITE_ERROR[1]: near \"%s\": 100% wrong"},  // no format expansion
    };
    for (const auto& c : cases) EXPECT_STREQ(SqlException(c.code, c.text).message(), c.message);
}

TEST(SqlException, OwnsSqlitesTextThroughCopiesAndMoves) {
    // The sanitizer build's leak checker fails this test if SQLite's text is not released.
    auto original = std::make_unique<SqlException>(1, sqlite3_mprintf("no such table: %s", "nope"), true);
    SqlException copy(*original);
    original.reset();
    const SqlException moved(std::move(copy));
    EXPECT_STREQ(moved.message(), "SQLITE_ERROR[1]: no such table: nope");
}

TEST(SqlDatabase, FailuresCarryTheirCodeAndText) {
    SqlDatabase db;
    db.open(":memory:");
    db.execute("CREATE TABLE t(Id int PRIMARY KEY, n int); INSERT INTO t VALUES (1,NULL);");
    const struct {
        std::function<void()> operation;
        const char* message;
    } cases[] = {
        {[&] { db.execute("DELETE FROM nope;"); }, "SQLITE_ERROR[1]: no such table: nope"},
        {[&] { db.queryTable("SELECT * FROM nope"); }, "SQLITE_ERROR[1]: no such table: nope"},
        {[&] { db.query("SELEC Id FROM t"); }, "SQLITE_ERROR[1]: "},  // not compiled: the code alone
        // A failure while running reports finalize's code, not step's generic one.
        {[&] { db.query("INSERT INTO t VALUES (1,0);"); }, "SQLITE_CONSTRAINT[19]: UNIQUE constraint failed: t.Id"},
        {[&] { db.queryInt("SELECT Id FROM t WHERE Id=99;"); }, "SQLLAYER_ERROR[1000]: Invalid scalar query"},
        {[&] { db.queryInt("SELECT n FROM t;"); }, "SQLLAYER_ERROR[1000]: Unknown scalar query, NULL returned"},
    };
    for (const auto& c : cases) {
        try {
            c.operation();
            ADD_FAILURE() << "no SqlException, expected " << c.message;
        } catch (const SqlException& failure) {
            EXPECT_STREQ(failure.message(), c.message);
        }
    }
    db.execute("DROP TABLE t;");  // every failed statement was finalised: nothing holds the table
}

}  // namespace

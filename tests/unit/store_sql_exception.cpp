#include "store/SqlException.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <memory>
#include <string>
#include <utility>

namespace {

TEST(SqlException, CodeNames) {
    const struct {
        int code;
        const char* name;
    } cases[] = {
        {0, "SQLITE_OK"},         {1, "SQLITE_ERROR"},     {2, "SQLITE_INTERNAL"},   {3, "SQLITE_PERM"},
        {4, "SQLITE_ABORT"},      {5, "SQLITE_BUSY"},      {6, "SQLITE_LOCKED"},     {7, "SQLITE_NOMEM"},
        {8, "SQLITE_READONLY"},   {9, "SQLITE_INTERRUPT"}, {10, "SQLITE_IOERR"},     {11, "SQLITE_CORRUPT"},
        {12, "SQLITE_NOTFOUND"},  {13, "SQLITE_FULL"},     {14, "SQLITE_CANTOPEN"},  {15, "SQLITE_PROTOCOL"},
        {16, "SQLITE_EMPTY"},     {17, "SQLITE_SCHEMA"},   {18, "SQLITE_TOOBIG"},    {19, "SQLITE_CONSTRAINT"},
        {20, "SQLITE_MISMATCH"},  {21, "SQLITE_MISUSE"},   {22, "SQLITE_NOLFS"},     {23, "SQLITE_AUTH"},
        {24, "SQLITE_FORMAT"},    {25, "SQLITE_RANGE"},    {100, "SQLITE_ROW"},      {101, "SQLITE_DONE"},
        {1000, "SQLLAYER_ERROR"}, {26, "UNKNOWN_ERROR"},   {-1, "UNKNOWN_ERROR"},    {99, "UNKNOWN_ERROR"},
        {102, "UNKNOWN_ERROR"},   {999, "UNKNOWN_ERROR"},  {1001, "UNKNOWN_ERROR"},  {2067, "UNKNOWN_ERROR"},
    };
    for (const auto& c : cases) EXPECT_STREQ(SqlException::codeName(c.code), c.name) << "code " << c.code;
}

TEST(SqlException, MessageIsNameCodeAndText) {
    const SqlException layer(1000, "Database not open");
    EXPECT_EQ(layer.code(), 1000);
    EXPECT_STREQ(layer.message(), "SQLLAYER_ERROR[1000]: Database not open");

    const SqlException busy(5, "database is locked");
    EXPECT_STREQ(busy.message(), "SQLITE_BUSY[5]: database is locked");

    const SqlException withoutText(1, nullptr, false);
    EXPECT_STREQ(withoutText.message(), "SQLITE_ERROR[1]: ");

    const SqlException unknown(26, "x");
    EXPECT_STREQ(unknown.message(), "UNKNOWN_ERROR[26]: x");
}

TEST(SqlException, FormatCharactersInTextAreNotInterpreted) {
    const SqlException failure(1, "near \"%s\": 100% wrong");
    EXPECT_STREQ(failure.message(), "SQLITE_ERROR[1]: near \"%s\": 100% wrong");
}

TEST(SqlException, TakesOverSqliteAllocatedText) {
    // The leak checker of the sanitizer build fails this test if the text is not released.
    char* text = sqlite3_mprintf("no such table: %s", "nope");
    const SqlException failure(1, text, true);
    EXPECT_STREQ(failure.message(), "SQLITE_ERROR[1]: no such table: nope");
}

TEST(SqlException, CopiesOwnTheirMessage) {
    auto original = std::make_unique<SqlException>(19, "UNIQUE constraint failed");
    const SqlException copy(*original);
    SqlException assigned(1, "other");
    assigned = *original;
    EXPECT_NE(copy.message(), original->message());
    original.reset();
    EXPECT_EQ(copy.code(), 19);
    EXPECT_STREQ(copy.message(), "SQLITE_CONSTRAINT[19]: UNIQUE constraint failed");
    EXPECT_EQ(assigned.code(), 19);
    EXPECT_STREQ(assigned.message(), "SQLITE_CONSTRAINT[19]: UNIQUE constraint failed");
}

TEST(SqlException, MovedFromHasNoMessage) {
    SqlException source(6, "locked");
    const SqlException moved(std::move(source));
    EXPECT_STREQ(moved.message(), "SQLITE_LOCKED[6]: locked");
    EXPECT_STREQ(source.message(), "");  // NOLINT(bugprone-use-after-move): the moved-from state is the subject
    const SqlException copyOfEmpty(source);
    EXPECT_STREQ(copyOfEmpty.message(), "");
}

}  // namespace

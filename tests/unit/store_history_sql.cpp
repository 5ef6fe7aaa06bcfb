#include "store/HistorySql.h"
#include "store/SqlDatabase.h"
#include "store/SqlException.h"

#include <gtest/gtest.h>

namespace {

// Files written by every earlier version hold this table: its text is typed out here on purpose.
TEST(HistorySql, TheTableIsCreatedAsItAlwaysWas) {
    EXPECT_STREQ(sql::kCreateLogTable,
                 "CREATE TABLE Log(Id int PRIMARY KEY, DTime int, Name char(55),SourceName char(30),SourceTitle "
                 "char(100), Locale BLOB, Text  BLOB, Type  int, Data BLOB);");
}

// Every statement compiles and does its job against a table made by the CREATE TABLE above.
TEST(HistorySql, EveryStatementRunsOnTheTable) {
    SqlDatabase db;
    db.open(":memory:");
    db.execute(sql::kCreateLogTable);
    db.execute(sql::kCreateListIndex);
    db.execute(sql::insertRow(0, 1, "\x01n", "\x01s", "\x01t", "(null)", "\x01x", 0, "(null)").c_str());
    db.execute(sql::insertRow(1, 4294967295u, "\x01n", "\x01s", "\x01t", "(null)", "\x01x", 0, "(null)").c_str());
    db.query(sql::kCheckLogColumns).release();
    EXPECT_EQ(db.queryInt(sql::kSelectMaxId), 1);
    EXPECT_EQ(db.queryInt(sql::kCountRows), 2);
    EXPECT_FALSE(db.query(sql::kSelectNewest).atEnd());
    EXPECT_EQ(db.queryTable(sql::selectPage(1, 50).c_str()).rowCount(), 1);
    EXPECT_STREQ(db.query(sql::selectPreview(1).c_str()).stringValue("DTime", ""), "4294967295");
    EXPECT_EQ(db.queryTable(sql::selectRecent(15).c_str()).rowCount(), 2);
    EXPECT_EQ(db.query(sql::selectOlder(1).c_str()).intValue("Id", -1), 0);
    EXPECT_EQ(db.query(sql::selectNewer(0).c_str()).intValue("Id", -1), 1);
    EXPECT_FALSE(db.query(sql::selectClipBlocks(0).c_str()).atEnd());
    db.query(sql::trimOldest(1).c_str()).release();
    EXPECT_EQ(db.queryInt(sql::kCountRows), 1);
    EXPECT_EQ(db.execute(sql::deleteItem(1).c_str()), 1);
    EXPECT_EQ(db.execute(sql::kDeleteAll), 0);
    db.execute(sql::kVacuum);
    db.query(sql::kDropLogTable).release();
    EXPECT_THROW(db.queryInt(sql::kCountRows), SqlException);
}

}  // namespace

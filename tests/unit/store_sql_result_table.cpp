#include "store/SqlDatabase.h"
#include "store/SqlException.h"
#include "store_test_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

namespace {

using store_test::expectLayerFailure;

class SqlResultTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        db.open(":memory:");
        db.execute("CREATE TABLE t(Id int, Name text, n int);"
                   "INSERT INTO t VALUES (1,'one',NULL);INSERT INTO t VALUES (2,'two',22);"
                   "INSERT INTO t VALUES (3,'three',33);");
    }
    SqlDatabase db;
};

TEST_F(SqlResultTableTest, WalksRowsByColumnName) {
    SqlResultTable table = db.queryTable("SELECT Id,Name,n FROM t ORDER by Id DESC");
    ASSERT_EQ(table.rowCount(), 3);
    EXPECT_STREQ(table.columnText("Name"), "three");  // row 0 after construction
    table.selectRow(2);
    EXPECT_STREQ(table.columnText("Name"), "one");
    EXPECT_TRUE(table.isNull("n"));
    EXPECT_EQ(table.intValue("n", -5), -5);
    EXPECT_STREQ(table.stringValue("n", "none"), "none");
    EXPECT_EQ(table.intValue("Id", -5), 1);
    table.selectRow(1);
    EXPECT_FALSE(table.isNull("n"));
    EXPECT_EQ(table.intValue("n", -5), 22);
    EXPECT_EQ(table.intValue("Name", -5), 0);
    EXPECT_STREQ(table.stringValue("Name", "none"), "two");
}

TEST_F(SqlResultTableTest, RowIndexOutsideTheRowsIsRefused) {
    SqlResultTable table = db.queryTable("SELECT Id FROM t");
    for (int row : {-1, 3, 1000}) expectLayerFailure([&] { table.selectRow(row); }, "Invalid row index requested");
    table.selectRow(1);
    expectLayerFailure([&] { table.selectRow(3); }, "Invalid row index requested");
    EXPECT_STREQ(table.columnText("Id"), "2");  // a refused selection keeps the current row
}

TEST_F(SqlResultTableTest, EmptyResultRefusesEveryRowAndName) {
    SqlResultTable table = db.queryTable("SELECT Id FROM t WHERE Id > 100");
    EXPECT_EQ(table.rowCount(), 0);
    for (int row : {0, 1, -1}) expectLayerFailure([&] { table.selectRow(row); }, "Invalid row index requested");
    expectLayerFailure([&] { table.columnText("Id"); }, "Invalid field name requested");
}

TEST_F(SqlResultTableTest, NamesMatchExactlyAndTheFirstEqualNameWins) {
    SqlResultTable table = db.queryTable("SELECT Name AS Text, 'lower' AS text, Id AS Text FROM t WHERE Id=2");
    EXPECT_STREQ(table.columnText("Text"), "two");
    EXPECT_STREQ(table.columnText("text"), "lower");
    for (const char* name : {"TEXT", "Te", ""})
        expectLayerFailure([&] { table.columnText(name); }, "Invalid field name requested");
    expectLayerFailure([&] { table.columnText(nullptr); }, "Invalid field name requested");
}

TEST_F(SqlResultTableTest, EveryOperationWithoutResultsIsRefused) {
    SqlResultTable table;
    const char* text = "Null Results pointer";
    expectLayerFailure([&] { table.rowCount(); }, text);
    expectLayerFailure([&] { table.selectRow(0); }, text);
    expectLayerFailure([&] { table.columnText("Id"); }, text);
    expectLayerFailure([&] { table.isNull("Id"); }, text);
    expectLayerFailure([&] { table.intValue("Id", 0); }, text);
    expectLayerFailure([&] { table.stringValue("Id", ""); }, text);
    table.release();
}

TEST_F(SqlResultTableTest, MoveAndAssignmentTakeTheResults) {
    SqlResultTable source = db.queryTable("SELECT Id FROM t");
    source.selectRow(2);
    SqlResultTable moved(std::move(source));
    expectLayerFailure([&] { source.rowCount(); }, "Null Results pointer");
    EXPECT_STREQ(moved.columnText("Id"), "3");  // the current row moves too

    SqlResultTable assigned = db.queryTable("SELECT Name FROM t");
    assigned = std::move(moved);
    expectLayerFailure([&] { moved.rowCount(); }, "Null Results pointer");
    EXPECT_STREQ(assigned.columnText("Id"), "3");
    expectLayerFailure([&] { assigned.columnText("Name"); }, "Invalid field name requested");

    assigned.release();
    expectLayerFailure([&] { assigned.rowCount(); }, "Null Results pointer");
}

}  // namespace

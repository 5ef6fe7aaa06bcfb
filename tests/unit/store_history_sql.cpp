#include "store/HistorySql.h"
#include "store/SqlDatabase.h"
#include "store/SqlException.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The statements as the program has always run them, typed out independently of the header:
// a changed letter, blank or semicolon there fails here.
TEST(HistorySql, CatalogueTextsAreExact) {
    const struct {
        int number;
        const char* actual;
        const char* expected;
    } catalogue[] = {
        {1, sql::kCreateLogTable,
         "CREATE TABLE Log(Id int PRIMARY KEY, DTime int, Name char(55),SourceName char(30),SourceTitle char(100), "
         "Locale BLOB, Text  BLOB, Type  int, Data BLOB);"},
        {2, sql::kSelectMaxId, "SELECT MAX(id) FROM Log;"},
        {3, sql::kVacuum, "VACUUM;"},
        {4, sql::kCountRows, "SELECT COUNT(*) FROM Log;"},
        {5, sql::kTrimOldest, "DELETE from Log where Id < (SELECT Id from Log order by Id ASC limit %i,1)"},
        {6, sql::kDropLogTable, "DROP TABLE Log;"},
        {7, sql::kSelectNewest, "SELECT Text,Data,Type FROM Log ORDER by Id DESC limit 1"},
        {8, sql::kInsertRow, "INSERT INTO Log VALUES (%i,%u,'%s','%s','%s','%s','%s',%i,'%s');"},
        {9, sql::kSelectPage, "SELECT Id,Name,Type FROM Log ORDER by Id DESC limit %i,%i"},
        {10, sql::kSelectPreview, "SELECT DTime,SourceName,SourceTitle,Data,Text,Type,Id FROM Log WHERE Id=%i limit 1"},
        {11, sql::kSelectRecent, "SELECT Id,Name,Type FROM Log ORDER by Id DESC limit %i"},
        {12, sql::kDeleteItem, "DELETE FROM Log WHERE id=%i;"},
        {13, sql::kSelectOlder, "SELECT Id,Text,Data,Type FROM Log WHERE Id<%i ORDER by Id DESC limit 1"},
        {14, sql::kSelectNewer, "SELECT Id,Text,Data,Type FROM Log WHERE Id>%i ORDER by Id ASC limit 1"},
        {15, sql::kSelectClipBlocks, "SELECT Type,Text,Data,Locale FROM Log WHERE Id=%i limit 1"},
        {16, sql::kDeleteAll, "DELETE FROM Log;"},
    };
    for (const auto& entry : catalogue) EXPECT_STREQ(entry.actual, entry.expected) << "statement " << entry.number;
}

TEST(HistorySql, FormattedStatements) {
    const struct {
        std::string actual;
        const char* expected;
    } cases[] = {
        {sql::trimOldest(5), "DELETE from Log where Id < (SELECT Id from Log order by Id ASC limit 5,1)"},
        {sql::selectPage(100, 50), "SELECT Id,Name,Type FROM Log ORDER by Id DESC limit 100,50"},
        {sql::selectPreview(-3), "SELECT DTime,SourceName,SourceTitle,Data,Text,Type,Id FROM Log WHERE Id=-3 limit 1"},
        {sql::selectRecent(15), "SELECT Id,Name,Type FROM Log ORDER by Id DESC limit 15"},
        {sql::deleteItem(42), "DELETE FROM Log WHERE id=42;"},
        {sql::selectOlder(-1), "SELECT Id,Text,Data,Type FROM Log WHERE Id<-1 ORDER by Id DESC limit 1"},
        {sql::selectNewer(2147483647), "SELECT Id,Text,Data,Type FROM Log WHERE Id>2147483647 ORDER by Id ASC limit 1"},
        {sql::selectClipBlocks(7), "SELECT Type,Text,Data,Locale FROM Log WHERE Id=7 limit 1"},
        {sql::insertRow(3, 4294967295u, "N", "S", "T", "(null)", "X", -1, "D"),
         "INSERT INTO Log VALUES (3,4294967295,'N','S','T','(null)','X',-1,'D');"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.actual, c.expected);
}

TEST(HistorySql, LargeValuesAreFormattedWhole) {
    const std::string data(3 << 20, 'd');
    const std::string statement = sql::insertRow(1, 0, "", "", "", "(null)", "(null)", 0, data);
    EXPECT_EQ(statement.size(), std::string(sql::kInsertRow).size() - 2 * 9 + 1 + 1 + 6 + 6 + 1 + data.size());
    EXPECT_EQ(statement.substr(statement.size() - 5), "dd');");
}

// Every statement compiles and runs against a table made by statement 1.
TEST(HistorySql, EveryStatementRunsOnTheTable) {
    SqlDatabase db;
    db.open(":memory:");
    db.execute(sql::kCreateLogTable);
    db.execute(sql::insertRow(0, 1, "\x01n", "\x01s", "\x01t", "(null)", "\x01x", 0, "(null)").c_str());
    db.execute(sql::insertRow(1, 2, "\x01n", "\x01s", "\x01t", "(null)", "\x01x", 0, "(null)").c_str());
    EXPECT_EQ(db.queryInt(sql::kSelectMaxId), 1);
    EXPECT_EQ(db.queryInt(sql::kCountRows), 2);
    EXPECT_FALSE(db.query(sql::kSelectNewest).atEnd());
    EXPECT_EQ(db.queryTable(sql::selectPage(0, 50).c_str()).rowCount(), 2);
    EXPECT_FALSE(db.query(sql::selectPreview(1).c_str()).atEnd());
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

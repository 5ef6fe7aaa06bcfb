// The history's file, ids, reads and changes through the store's API.
#include "store/History.h"
#include "store/HistorySql.h"

#include "store_support.h"

#include <climits>
#include <fstream>

namespace {

using namespace std::string_literals;

class History : public store_test::HistoryDbTest {
protected:
    void SetUp() override {
        HistoryDbTest::SetUp();
        open();
    }
    std::string errorOne(const std::string& sqliteMessage, const std::string& path) {
        return "YarrowKit Error #1|Can't open database or create main table\n Error #1 - " + sqliteMessage +
               "\n\nIs this path correct?\n" + path;
    }
};

TEST_F(History, ANewFileGetsTheTableEveryEarlierVersionWrote) {
    EXPECT_EQ(historyDb.query("SELECT sql FROM sqlite_master WHERE name='Log'").columnText(0),
              "CREATE TABLE Log(Id int PRIMARY KEY, DTime int, Name char(55),SourceName char(30),SourceTitle "
              "char(100), Locale BLOB, Text  BLOB, Type  int, Data BLOB)"s);
    EXPECT_EQ(historyDb.queryInt("PRAGMA busy_timeout;"), history::kShortLockWaitMs);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(History, EachFileContinuesItsOwnNumbering) {
    nextId = 17;
    EXPECT_EQ(open(), -1) << "an empty file starts at id 0";
    addClips(3);
    history::remove(0);
    const std::string other = folder + "other.sql";
    EXPECT_EQ(history::open(other, folder, host), -1);
    addClips(1);
    EXPECT_EQ(open(), 2) << "the largest remaining id";
    history::remove(2);
    EXPECT_EQ(open(), 1) << "the newest item's id is handed out again";
    historyDb.execute(sql::insertRow(INT_MAX, 0, "", "", "", "(null)", "(null)", 0, "(null)").c_str());
    loadNextId();
    EXPECT_EQ(history::claimNextId(), INT_MIN) << "wraps, does not overflow";
    EXPECT_TRUE(host.messages.empty());

    nextId = 7;
    const std::string missing = folder + "gone/x.sql";
    EXPECT_EQ(history::open(missing, folder, host), 6) << "a file that cannot be opened keeps the numbering";
    EXPECT_EQ(host.messages, std::vector<std::string>{errorOne("SQLITE_CANTOPEN[14]: unable to open database file", missing)});
}

TEST_F(History, AFileThatIsNoDatabaseStartsAtZeroUntilItsVacuumIsDue) {
    history::close();
    std::ofstream(dbPath()) << std::string(4096, 'g');
    nextId = 3;
    EXPECT_EQ(open(), -1);
    EXPECT_TRUE(host.messages.empty());
    host.config["VacuumCount"] = "10";
    open();
    // SQLITE_NOTADB (26) has no name of its own.
    EXPECT_EQ(host.messages, std::vector<std::string>{errorOne("UNKNOWN_ERROR[26]: file is not a database", dbPath())});
}

TEST_F(History, PagesRunNewestFirst) {
    addClips(10);
    const struct {
        int offset, count;
        std::vector<int> ids;
    } cases[] = {{0, 3, {9, 8, 7}}, {3, 3, {6, 5, 4}}, {8, 3, {1, 0}}, {10, 3, {}}, {0, 0, {}}};
    for (const auto& c : cases) EXPECT_EQ(idsOf(history::page(c.offset, c.count)), c.ids) << c.offset;
    EXPECT_EQ(history::page(0, 1).at(0).caption, "clip 9");
    EXPECT_EQ(idsOf(history::recent(4)), (std::vector<int>{9, 8, 7, 6}));
    EXPECT_EQ(history::count(), 10);
    // A row without Id sorts last and is still counted.
    historyDb.execute("INSERT INTO Log VALUES (NULL,0,'','','','(null)','(null)',0,'(null)');");
    EXPECT_EQ(idsOf(history::page(8, 5)), (std::vector<int>{1, 0, history::kNoRecord}));
}

TEST_F(History, PageAndRecentAreAnsweredFromTheListIndexEvenOfAnOlderFile) {
    historyDb.execute("DROP INDEX LogList;");
    open();
    for (const std::string& query : {sql::selectPage(50, 50), sql::selectRecent(15)}) {
        SqlResultTable plan = historyDb.queryTable(("EXPLAIN QUERY PLAN " + query).c_str());
        EXPECT_NE(std::string(plan.stringValue("detail", "")).find("COVERING INDEX LogList"), std::string::npos) << query;
    }
}

TEST_F(History, NeighboursStopAtBothEnds) {
    addClips(10);
    for (int id : {0, 1, 3, 4, 6, 7, 8}) history::remove(id);  // left: 2, 5, 9
    using history::Direction;
    const struct {
        int from;
        Direction direction;
        std::optional<int> found;
    } cases[] = {{5, Direction::Older, 2},  {5, Direction::Newer, 9},  {7, Direction::Older, 5}, {2, Direction::Older, {}},
                 {9, Direction::Newer, {}}, {-1, Direction::Newer, 2}, {10, Direction::Older, 9}};
    for (const auto& c : cases) {
        const auto found = history::neighbour(c.from, c.direction);
        EXPECT_EQ(found ? std::optional<int>(found->id) : std::nullopt, c.found) << c.from;
    }
    EXPECT_EQ(history::neighbour(5, Direction::Older)->text, "clip 2");
}

TEST_F(History, RemoveOneThenAll) {
    addClips(3);
    history::remove(1);
    history::remove(42);  // no such row: nothing happens
    EXPECT_EQ(idsOf(history::page(0, 50)), (std::vector<int>{2, 0}));
    EXPECT_FALSE(history::clipBlocks(1));
    history::removeAll();
    history::compact();
    EXPECT_EQ(history::count(), 0);
    EXPECT_FALSE(history::newest());
}

TEST_F(History, AnAddedRecordReadsBackByteForByte) {
    ClipRecord record;
    record.Id = history::claimNextId();
    record.DTime = 4000000000u;
    record.Name = "it's";
    record.SourceName = "notepad.exe";
    record.Locale = "\x09\x04\0\0"s;
    record.Text = "a'b\0c\x01\x02\xff'\0"s;
    record.Type = UnicodeText;
    record.Data = "a\0'\0"s;
    history::add(record);
    const auto preview = history::preview(record.Id);
    ASSERT_TRUE(preview);
    EXPECT_EQ(std::tie(preview->id, preview->dtime, preview->type, preview->text, preview->data),
              std::tie(record.Id, record.DTime, record.Type, record.Text, record.Data));
    EXPECT_EQ(preview->sourceName, "notepad.exe\0"s);
    EXPECT_EQ(preview->sourceTitle, "\0"s);
    const auto blocks = history::clipBlocks(record.Id);
    ASSERT_TRUE(blocks);
    EXPECT_EQ(std::tie(blocks->type, blocks->text, blocks->data, blocks->locale),
              std::tie(record.Type, record.Text, record.Data, record.Locale));
    EXPECT_EQ(history::page(0, 1).at(0).caption, "it's");

    record.Id = history::claimNextId();
    record.Type = PlainText;
    record.Locale.reset();
    history::add(record);
    EXPECT_EQ(history::clipBlocks(record.Id)->data, std::nullopt) << "plain text puts no Data block back";
    EXPECT_EQ(history::clipBlocks(record.Id)->locale, std::nullopt);
}

// The bound insert stores what the literal INSERT stores, to the byte and with the same value
// types, so that the file stays the same for every reader.
TEST_F(History, TheBoundInsertWritesTheRowTheLiteralInsertWrites) {
    ClipRecord awkward;
    awkward.DTime = 4294967295u;
    awkward.Name = "it's";
    awkward.SourceName = "a'b";
    awkward.SourceTitle = "\x01\xff";
    awkward.Locale = "\0\x01\xff'"s;
    awkward.Text = "'\0\x01\x02\xff\0"s;
    awkward.Type = RichText;
    awkward.Data = ""s;
    ClipRecord emptyCaption;
    emptyCaption.Name = "";
    emptyCaption.Text = "\0"s;
    ClipRecord huge;
    huge.Type = UnicodeText;
    huge.Data = std::string(10 * 1024 * 1024, '\0');
    for (std::size_t i = 0; i < huge.Data->size(); i += 7) (*huge.Data)[i] = static_cast<char>(i * 31);
    const std::string row =
        "SELECT typeof(DTime)||DTime||typeof(Name)||hex(Name)||typeof(SourceName)||hex(SourceName)||typeof(SourceTitle)"
        "||hex(SourceTitle)||typeof(Locale)||hex(Locale)||typeof(Text)||hex(Text)||typeof(Type)||Type||typeof(Data)||"
        "hex(Data) FROM Log WHERE Id=";
    int id = 0;
    for (ClipRecord record : {awkward, ClipRecord(), emptyCaption, huge}) {
        record.Id = id++;
        historyDb.execute(insertStatement(record).c_str());
        record.Id = id++;
        history::add(record);
        EXPECT_EQ(historyDb.query((row + std::to_string(id - 2)).c_str()).columnText(0),
                  std::string(historyDb.query((row + std::to_string(id - 1)).c_str()).columnText(0)))
            << "record " << id / 2;
    }
}

}  // namespace

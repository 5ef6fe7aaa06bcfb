#include "store/History.h"

#include "store/HistoryDatabase.h"
#include "store/SqlException.h"

#include "store_test_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;
using store_test::HistoryDbTest;

class History : public HistoryDbTest {
protected:
    void SetUp() override {
        HistoryDbTest::SetUp();
        openFresh();
    }
    // Records with the next ids, captioned "clip <id>", of the given type.
    void addRecords(int count, int type = PlainText) {
        for (int i = 0; i < count; ++i) {
            ClipRecord record;
            record.Id = history::claimNextId();
            record.Name = "clip " + std::to_string(record.Id);
            record.Text = *record.Name + '\0';
            record.Type = type;
            if (type != PlainText) record.Data = "d"s + std::to_string(record.Id);
            history::add(record);
        }
    }
    static std::vector<int> idsOf(const std::vector<history::ListEntry>& entries) {
        std::vector<int> ids;
        for (const auto& entry : entries) ids.push_back(entry.id);
        return ids;
    }
};

TEST_F(History, PagesRunNewestFirstFromTheOffset) {
    addRecords(10);
    const struct {
        int offset, count;
        std::vector<int> ids;
    } cases[] = {
        {0, 3, {9, 8, 7}}, {3, 3, {6, 5, 4}}, {8, 3, {1, 0}}, {10, 3, {}}, {0, 0, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(idsOf(history::page(c.offset, c.count)), c.ids) << c.offset;
    EXPECT_EQ(idsOf(history::recent(4)), (std::vector<int>{9, 8, 7, 6}));
    EXPECT_EQ(history::count(), 10);
    const std::vector<history::ListEntry> newest = history::page(0, 1);
    ASSERT_EQ(newest.size(), 1u);
    EXPECT_EQ(newest[0].caption, "clip 9");
}

TEST_F(History, ARowWithoutIdIsListedAsNoRecord) {
    addRecords(2);
    // Ordered by Id, NULL comes last; the tray menu still counts the row.
    historyDb.execute("INSERT INTO Log VALUES (NULL,0,'','','','(null)','(null)',0,'(null)');");
    EXPECT_EQ(idsOf(history::page(0, 50)), (std::vector<int>{1, 0, history::kNoRecord}));
    EXPECT_EQ(idsOf(history::recent(15)), (std::vector<int>{1, 0, history::kNoRecord}));
}

TEST_F(History, NeighboursStopAtBothEnds) {
    addRecords(10);
    for (int id : {0, 1, 3, 4, 6, 7, 8}) history::remove(id);  // left: 2, 5, 9
    const struct {
        int from;
        history::Direction direction;
        std::optional<int> expected;
    } cases[] = {
        {5, history::Direction::Older, 2}, {5, history::Direction::Newer, 9}, {7, history::Direction::Older, 5},
        {2, history::Direction::Older, std::nullopt}, {9, history::Direction::Newer, std::nullopt},
        {-1, history::Direction::Newer, 2}, {10, history::Direction::Older, 9},
    };
    for (const auto& c : cases) {
        const std::optional<history::Neighbour> found = history::neighbour(c.from, c.direction);
        EXPECT_EQ(found ? std::optional<int>(found->id) : std::nullopt, c.expected) << c.from;
    }
    EXPECT_EQ(history::neighbour(5, history::Direction::Older)->text, "clip 2");
}

TEST_F(History, UnicodeNeighbourCarriesItsDataBlockInstead) {
    addRecords(1, UnicodeText);
    const std::optional<history::Neighbour> found = history::neighbour(1, history::Direction::Older);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->data, "d0");
    EXPECT_EQ(found->text, "");
}

TEST_F(History, RemoveOneThenAll) {
    addRecords(3);
    history::remove(1);
    history::remove(42);  // no such row: nothing happens
    EXPECT_EQ(idsOf(history::page(0, 50)), (std::vector<int>{2, 0}));
    EXPECT_FALSE(history::clipBlocks(1));
    EXPECT_FALSE(history::preview(1));
    history::removeAll();
    history::compact();
    EXPECT_EQ(history::count(), 0);
    EXPECT_FALSE(history::newest());
    history::close();
    EXPECT_THROW(history::remove(0), SqlException);
}

TEST_F(History, ReopenAfterSwitchContinuesEachFilesNumbering) {
    addRecords(3);
    const std::string other = scratch.file("other.sql");
    EXPECT_EQ(history::open(other, scratch.folder(), host), -1);
    EXPECT_EQ(history::count(), 0);
    addRecords(1);
    EXPECT_EQ(history::open(dbPath(), scratch.folder(), host), 2);
    EXPECT_EQ(history::claimNextId(), 3);
    EXPECT_EQ(history::open(other, scratch.folder(), host), 0);
    EXPECT_TRUE(host.messages.empty());

    // A file that cannot be opened keeps the numbering of the one before.
    EXPECT_EQ(history::open(scratch.file("missing/x.sql"), scratch.folder(), host), 0);
    EXPECT_EQ(host.messages.size(), 1u);
}

TEST_F(History, AddedRecordReadsBackExactly) {
    ClipRecord record;
    record.Id = history::claimNextId();
    record.DTime = 4000000000u;
    record.Name = "it's \"quoted\"";
    record.SourceName = "notepad.exe";
    record.SourceTitle = "";
    record.Locale = "\x09\x04\0\0"s;
    record.Text = "a'b\0c\x01\x02\x03'\0"s;
    record.Type = UnicodeText;
    record.Data = "a\0'\0"s;
    history::add(record);

    const std::optional<history::PreviewFields> preview = history::preview(record.Id);
    ASSERT_TRUE(preview);
    EXPECT_EQ(preview->id, record.Id);
    EXPECT_EQ(preview->dtime, record.DTime);
    EXPECT_EQ(preview->type, UnicodeText);
    EXPECT_EQ(preview->sourceName, "notepad.exe\0"s);
    EXPECT_EQ(preview->sourceTitle, "\0"s);
    EXPECT_EQ(preview->text, record.Text);
    EXPECT_EQ(preview->data, record.Data);

    const std::optional<history::ClipBlocks> blocks = history::clipBlocks(record.Id);
    ASSERT_TRUE(blocks);
    EXPECT_EQ(blocks->type, UnicodeText);
    EXPECT_EQ(blocks->text, record.Text);
    EXPECT_EQ(blocks->data, record.Data);
    EXPECT_EQ(blocks->locale, record.Locale);
    EXPECT_EQ(history::page(0, 1).at(0).caption, *record.Name);
}

TEST_F(History, PlainTextBlocksLeaveDataOutAndAbsentBlocksStayAbsent) {
    ClipRecord record;
    record.Id = history::claimNextId();
    record.Text = "x\0"s;
    record.Data = "ignored for plain text"s;
    history::add(record);
    const std::optional<history::ClipBlocks> blocks = history::clipBlocks(record.Id);
    ASSERT_TRUE(blocks);
    EXPECT_EQ(blocks->text, record.Text);
    EXPECT_EQ(blocks->data, std::nullopt);
    EXPECT_EQ(blocks->locale, std::nullopt);
    EXPECT_EQ(history::page(0, 1).at(0).caption, "");
}

// The bound insert must store what the documented literal statement stores, to the byte and
// with the same value types, so files stay the same for every reader.
TEST_F(History, BoundInsertStoresTheRowTheLiteralStatementStores) {
    ClipRecord awkward;
    awkward.DTime = 4294967295u;
    awkward.Name = "it's";
    awkward.SourceName = "a'b";
    awkward.SourceTitle = "\x01\xff";
    awkward.Locale = "\0\x01\xff'"s;
    awkward.Text = "'\0\x01\x02\xff\0"s;
    awkward.Type = RichText;
    awkward.Data = ""s;
    ClipRecord blank;  // no caption, absent blocks
    ClipRecord emptyCaption;
    emptyCaption.Name = "";
    emptyCaption.Text = "\0"s;
    ClipRecord huge;
    huge.Name = "x";
    huge.Type = UnicodeText;
    huge.Data = std::string(10 * 1024 * 1024, '\0');
    for (std::size_t i = 0; i < huge.Data->size(); i += 7) (*huge.Data)[i] = static_cast<char>(i * 31);
    int id = 0;
    for (ClipRecord& record : {std::ref(awkward), std::ref(blank), std::ref(emptyCaption), std::ref(huge)}) {
        record.Id = id++;
        historyDb.execute(insertStatement(record).c_str());
        record.Id = id++;
        history::add(record);
        const std::string columns =
            "typeof(DTime)||DTime||typeof(Name)||hex(Name)||typeof(SourceName)||hex(SourceName)||typeof(SourceTitle)||"
            "hex(SourceTitle)||typeof(Locale)||hex(Locale)||typeof(Text)||hex(Text)||typeof(Type)||Type||typeof(Data)||"
            "hex(Data)";
        auto rowOf = [&](int rowId) {
            return std::string(historyDb.query(("SELECT " + columns + " FROM Log WHERE Id=" + std::to_string(rowId)).c_str())
                                   .columnText(0));
        };
        EXPECT_EQ(rowOf(id - 2), rowOf(id - 1)) << "record " << id / 2;
    }
}

}  // namespace

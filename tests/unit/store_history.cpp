// The history through the store's API: its file and ids, reads, the side table LogText of UTF-8 texts
// (kept in step, made for older files, mended, searched), the trim or drop at exit and the VACUUM
// after ten counted runs; and the capture's repeat check, which reads the newest row.
#include "clipboard/DuplicateCheck.h"
#include "store/History.h"
#include "store/HistoryDatabase.h"
#include "store/HistoryMaintenance.h"
#include "store/HistorySql.h"
#include "store/HistoryText.h"
#include "store/Utf8Text.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

namespace {

using namespace std::string_literals;

struct FakeStoreHost : StoreHost {
    std::map<std::string, std::string> config;
    std::set<std::string> busy;  // held open, cannot be deleted
    std::map<std::string, std::vector<std::string>> listings;  // folder + pattern -> names
    std::vector<std::string> deleted, messages;                 // messages as "caption|text"
    std::vector<std::pair<int, int>> progress;
    std::optional<std::int64_t> textsLater;

    int readConfigInt(const char* key, int fallback) override {
        return config.count(key) ? std::atoi(config[key].c_str()) : fallback;
    }
    void writeConfigString(const char* key, const std::string& value) override { config[key] = value; }
    bool pathExists(const std::string& path) override { return std::filesystem::exists(path); }
    std::vector<std::string> listFiles(const std::string& pattern) override { return listings[pattern]; }
    bool deleteFile(const std::string& path) override { return !busy.count(path) && (deleted.push_back(path), true); }
    void showMessage(const std::string& caption, const std::string& text, MessageKind) override {
        messages.push_back(caption + "|" + text);
    }
    std::string applicationTitle() const override { return "yarrowkit"; }
    // Windows-1252 agrees with Latin-1 on every character the tests use.
    std::string utf8FromAnsi(std::string_view ansi, const std::optional<std::string>&) override {
        return utf8::fromLatin1(ansi);
    }
    void showBuildProgress(int done, int total) override { progress.emplace_back(done, total); }
    void makeTextsLater(std::optional<std::int64_t> after) override { textsLater = after; }
};

class History : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "yk-store-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern + "/";
        nextId = 0;
        open();
    }
    void TearDown() override {
        historyDb.close();
        std::filesystem::remove_all(folder);
    }
    std::string dbPath() const { return folder + "vorla.sql"; }
    // As the program opens its file: returns the id the newest item is taken to have.
    int open() { return history::open(dbPath(), folder, host); }
    int rowCount() { return historyDb.queryInt("SELECT COUNT(*) FROM Log;"); }
    void trim(bool save, int limit = 3000) { trimHistory({save, limit}, changed, cachedCount, host); }
    std::string& vacuumCount() { return host.config["VacuumCount"]; }  // "" when never written
    // Plain texts "<prefix><id>" under the next ids, in one transaction: with their side rows as the
    // capture writes them, or in Log only (and at other times) as an older build or another program does.
    void addClips(int count, const std::string& prefix = "clip ", bool logOnly = false) {
        SqlTransaction transaction(historyDb);
        for (ClipRecord record; count-- > 0;) {
            record.Id = history::claimNextId();
            record.DTime = logOnly ? 100u + static_cast<unsigned>(record.Id) : 0;
            record.Name = prefix + std::to_string(record.Id);
            record.Text = *record.Name + '\0';
            if (logOnly) historyDb.execute(insertStatement(record).c_str());
            else history::add(record);
        }
        transaction.commit();
    }
    std::string idsAndTimes(const std::string& table, const std::string& id) {
        return historyDb.query(("SELECT group_concat(i||':'||DTime) AS rows FROM (SELECT " + id + " AS i, DTime FROM " +
                                table + " ORDER BY i)").c_str()).stringValue("rows", "");
    }
    void expectInStep() { EXPECT_EQ(idsAndTimes("LogText", "rowid"), idsAndTimes("Log", "Id")); }
    std::string captionOf(int id) {
        return history::preview(id)->unicode.value_or(ItemText{"(none)", "", "", ""}).caption;
    }
    static std::vector<int> idsOf(const std::vector<history::ListEntry>& entries) {
        std::vector<int> ids;
        for (const auto& entry : entries) ids.push_back(entry.id);
        return ids;
    }

    std::string folder;
    FakeStoreHost host;
    bool changed = false;
    int cachedCount = -1;
};

TEST_F(History, EachFileHasItsOwnIdsTakenFromItsNewestRow) {
    addClips(3);
    EXPECT_EQ(history::open(folder + "other.sql", folder, host), -1);
    addClips(1);
    EXPECT_EQ(open(), 2);
    history::remove(2);
    EXPECT_EQ(open(), 1) << "the newest item's id is handed out again";
    historyDb.execute(sql::insertRow(INT_MAX, 0, "", "", "", "(null)", "(null)", 0, "(null)").c_str());
    EXPECT_EQ(open(), INT_MAX);
    EXPECT_EQ(nextId, INT_MIN) << "wraps, does not overflow";
}

TEST_F(History, FailuresAtOpenShowErrorOneButASchemaChangedByAnotherProgramIsReadAgain) {
    addClips(7);
    vacuumCount() = "12";
    SqlDatabase other;
    other.open(dbPath().c_str());
    other.execute("BEGIN IMMEDIATE;");  // another program writes: the compaction cannot wait that long
    EXPECT_EQ(open(), 6) << "the ids load although the compaction failed";
    other.execute("CREATE TABLE Theirs(x); COMMIT;");
    other.close();
    EXPECT_EQ(history::count(), 7) << "read again after another program changed the schema, not reported";
    EXPECT_EQ(vacuumCount(), "12") << "the next open tries again";
    const std::string missing = folder + "100%/x.sql";
    EXPECT_EQ(history::open(missing, folder, host), 6) << "a file that cannot be opened keeps the ids";
    history::close();
    std::ofstream(dbPath()) << std::string(4096, 'g');
    host.config.clear();
    EXPECT_EQ(open(), -1) << "a file that is no database starts at 0";
    EXPECT_EQ(host.messages.size(), 2u) << "and says nothing until its compaction is due";
    vacuumCount() = "10";
    open();
    ASSERT_EQ(host.messages.size(), 3u);
    const std::string errorOne = "YarrowKit Error #1|Can't open database or create main table\n Error #1 - ";
    EXPECT_EQ(host.messages[0].rfind(errorOne + "SQLITE_BUSY[5]", 0), 0u) << host.messages[0];
    EXPECT_EQ(host.messages[2].rfind(errorOne + "UNKNOWN_ERROR[26]", 0), 0u) << host.messages[2];
}

TEST_F(History, ReadsRunNewestFirstFromTheListIndexEvenOfAnOlderFile) {
    historyDb.execute("DROP INDEX LogList;");
    addClips(10);
    open();
    for (const std::string& query : {sql::selectPage(50, 50), sql::selectRecent(15)})
        EXPECT_NE(std::string(historyDb.queryTable(("EXPLAIN QUERY PLAN " + query).c_str()).stringValue("detail", ""))
                      .find("COVERING INDEX LogList"), std::string::npos) << query;
    const std::pair<std::vector<history::ListEntry>, std::vector<int>> lists[] = {
        {history::page(0, 3), {9, 8, 7}}, {history::page(8, 3), {1, 0}}, {history::recent(4), {9, 8, 7, 6}}};
    for (const auto& [entries, ids] : lists) EXPECT_EQ(idsOf(entries), ids);
    for (int id : {0, 1, 3, 4, 6, 7, 8, 42}) history::remove(id);  // left: 2, 5, 9; no row 42: nothing happens
    using history::Direction;
    const std::tuple<int, Direction, std::optional<int>> neighbours[] = {
        {5, Direction::Older, 2}, {5, Direction::Newer, 9}, {7, Direction::Older, 5}, {2, Direction::Older, {}},
        {9, Direction::Newer, {}}};
    for (const auto& [from, direction, expected] : neighbours) {
        const auto found = history::neighbour(from, direction);
        EXPECT_EQ(found ? std::optional(found->id) : std::nullopt, expected) << from;
    }
    EXPECT_EQ(history::neighbour(5, Direction::Older)->text, "clip 2");
    historyDb.execute("INSERT INTO Log VALUES (NULL,0,'','','','(null)','(null)',0,'(null)');");
    EXPECT_EQ(idsOf(history::page(0, 5)), (std::vector{9, 5, 2, history::kNoRecord}));
}

// Awkward bytes in every field: zero, 0x01, 0xFF and apostrophes.
const ClipRecord kAwkward{0, 4294967295u, "it's", "a'b", "\x01\xff", "\0\x01\xff'"s, "'\0\x01\x02\xff\0"s, UnicodeText,
                          "a\0'\0"s, std::nullopt};

// The bound insert stores what the literal INSERT stores, value types and bytes, for every reader of the file.
TEST_F(History, TheBoundInsertWritesTheRowTheLiteralInsertWrites) {
    ClipRecord huge;
    huge.Data = std::string(10 * 1024 * 1024, '\0');
    for (std::size_t i = 0; i < huge.Data->size(); i += 7) (*huge.Data)[i] = static_cast<char>(i * 31);
    const std::string row = "SELECT quote(DTime)||quote(Name)||quote(SourceName)||quote(SourceTitle)||quote(Locale)||"
                            "quote(Text)||quote(Type)||quote(Data) FROM Log WHERE Id=";  // quote() tells types apart
    int id = 0;
    const ClipRecord emptyCaption{0, 0, "", "", "", std::nullopt, std::nullopt, PlainText, std::nullopt, std::nullopt};
    for (ClipRecord record : {kAwkward, ClipRecord(), emptyCaption, huge}) {
        record.Id = id++;
        historyDb.execute(insertStatement(record).c_str());
        record.Id = id++;
        history::add(record);
        EXPECT_EQ(std::string(historyDb.query((row + std::to_string(id - 2)).c_str()).columnText(0)),
                  historyDb.query((row + std::to_string(id - 1)).c_str()).columnText(0)) << "record " << id / 2;
    }
    EXPECT_EQ(historyDb.queryInt("PRAGMA cache_size;"), -128) << "the cache of a large row's insert is undone";
    // What the row fuzz target cannot judge: a time past 2^31, and no Data block put back for plain text.
    EXPECT_EQ(history::preview(1)->dtime, 4294967295u);
    EXPECT_EQ(history::clipBlocks(1)->data, kAwkward.Data);
    historyDb.execute("UPDATE Log SET Type=0 WHERE Id=1;");
    EXPECT_EQ(history::clipBlocks(1)->data, std::nullopt);
}

TEST_F(History, TrimAtExit) {
    // Rows from the first id, a delete during the run, VacuumCount and the limit; then the rows, the
    // smallest id, whether rows went, the count read and VacuumCount.
    const std::tuple<int, int, bool, const char*, int, int, int, bool, int, const char*> cases[] = {
        {8, 100, false, "", 3, 3, 105, true, 8, "1"},                       // the newest rows, counted, not ids
        {5, 0, false, "4", 5, 5, 0, false, 5, "4"},                         // exactly the limit
        {5, 0, true, "4", 3000, 5, 0, true, 5, "5"},                        // the user's delete counts
        {5, 0, false, "", 0, 5, 0, false, -1, ""},                          // no limit: no count, no delete
        {1, 0, true, "2147483647", 3000, 1, 0, true, 1, "2147483648"}};    // the largest counter
    for (const auto& [rows, firstId, changedBefore, vacuumBefore, limit, rowsAfter, smallestAfter, changedAfter,
                      cachedAfter, vacuumAfter] : cases) {
        history::removeAll();
        nextId = firstId;
        addClips(rows);
        vacuumCount() = vacuumBefore;
        changed = changedBefore;
        cachedCount = -1;
        trim(true, limit);
        EXPECT_EQ(std::tuple(rowCount(), historyDb.queryInt("SELECT MIN(Id) FROM Log;"), changed, cachedCount),
                  std::tuple(rowsAfter, smallestAfter, changedAfter, cachedAfter)) << rows << " rows, limit " << limit;
        EXPECT_EQ(vacuumCount(), vacuumAfter);
        expectInStep();  // whether most side rows went (the table made anew) or a few
        EXPECT_EQ(captionOf(smallestAfter), "clip " + std::to_string(smallestAfter));
    }
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(History, NotSavingDropsTheTableAndFailuresAreShownWithoutCounting) {
    addClips(8);
    SqlDatabase other;
    other.open(dbPath().c_str());
    other.execute("BEGIN IMMEDIATE;");  // another program holds the write lock
    trim(true, 5);
    other.execute("ROLLBACK;");
    EXPECT_EQ(rowCount(), 8);
    trim(false, 5);
    EXPECT_THROW(rowCount(), SqlException) << "the table is dropped";
    EXPECT_EQ(vacuumCount(), "1") << "only the drop counted";
    EXPECT_EQ(host.messages, std::vector<std::string>{"yarrowkit|SQLITE_BUSY[5]: database is locked"});
}

TEST_F(History, TheOpenAfterTenCountedRunsCompactsAndDeletesLeftovers) {
    addClips(300);
    history::removeAll();
    host.listings[folder + "*.sql-*"] = {"vorla.sql-journal", "busy.sql-wal", "old.sql-shm"};
    host.busy.insert(folder + "busy.sql-wal");
    for (const std::string count : {"9", "10"}) {
        vacuumCount() = count;
        open();
        EXPECT_EQ(historyDb.queryInt("PRAGMA freelist_count;") == 0, count == "10") << count;
    }
    EXPECT_EQ(vacuumCount(), "0");
    EXPECT_EQ(host.deleted, (std::vector{folder + "vorla.sql-journal", folder + "old.sql-shm"}));
}

TEST_F(History, ItStaysInStepThroughEveryChangeAndIsMendedOrMadeAtOpen) {
    addClips(3005);
    trim(true);
    EXPECT_EQ(rowCount(), 3000);
    expectInStep();
    history::remove(7);
    expectInStep();
    history::removeAll();
    expectInStep();
    addClips(1);
    EXPECT_EQ(captionOf(3005), "clip 3005") << "the emptied table takes new rows";
    trim(false);
    EXPECT_THROW(historyDb.queryInt("SELECT COUNT(*) FROM LogText;"), SqlException);
    open();
    expectInStep();
    addClips(6);
    // Another program deletes 1, and 5, the newest, whose id it then reuses.
    historyDb.execute(sql::deleteItem(1).c_str());
    historyDb.execute(sql::deleteItem(5).c_str());
    nextId = 5;
    addClips(2, "other ", true);
    open();
    expectInStep();
    EXPECT_EQ(captionOf(5), "other 5");
    historyDb.execute("DROP TABLE LogText;");
    addClips(1200, "caf\xE9 ", true);
    open();
    expectInStep();
    EXPECT_EQ(captionOf(1206), "café 1206") << "ANSI converted by the host";
    EXPECT_EQ(host.progress.back(), std::pair(1206, 1206)) << "the progress ends";

    historyDb.execute("DROP TABLE LogText;");
    history::text::bringInStep(host, std::chrono::nanoseconds(0));
    ASSERT_EQ(host.textsLater, -1) << "every row is left, above the oldest id - 1";
    EXPECT_EQ(captionOf(1206), "(none)") << "Log's caption shows meanwhile";
    for (std::int64_t after = -1, steps = 0; history::makeMissingTexts(after, host);) ASSERT_LT(++steps, 1200);
    expectInStep();
    host.progress.clear();
    open();
    EXPECT_TRUE(host.progress.empty()) << "in step: nothing to do at the next open";
    EXPECT_EQ(host.textsLater, std::nullopt) << "and any request ends";
}

// Every reader gets the UTF-8 texts; Find takes what is typed as text, never as query syntax.
TEST_F(History, TheTextsAreReadAndFoundInEveryScript) {
    const char* const items[][2] = {
        {"Meet at the zanzibar cafe", "Untitled - Notepad"},       {"He said \"hello\" to tom AND jerry", "Notepad"},
        {"wildcard a*b, x-y and f(x) NEAR", "Untitled - Notepad"}, {"it's C:\\temp\\ for Tom's cat", "Notepad"},
        {"С Новым годом! Ёлка стоит", "Untitled - Notepad"},       {"an ox", "Report QX - Editor"},
        {"Zanzibar again 你好世界", "Calc"},                       {"rate 50% off_peak", "Calc"}};
    for (const auto& [text, title] : items)  // as the capture adds them: the ANSI caption is a lossy copy
        history::add({history::claimNextId(), 0, "????", "", "", {}, {}, PlainText, {}, {{text, "", title}}});
    EXPECT_EQ(history::page(3, 1).at(0).unicodeCaption, "С Новым годом! Ёлка стоит");
    EXPECT_EQ(history::recent(1).at(0).unicodeCaption, "rate 50% off_peak");
    EXPECT_EQ(history::preview(5)->unicode->sourceTitle, "Report QX - Editor");
    EXPECT_EQ(history::neighbour(7, history::Direction::Older)->unicodeText, "Zanzibar again 你好世界");
    const std::pair<const char*, std::vector<int>> cases[] = {
        {"zanzibar", {6, 0}}, {"ЁЛКА годом", {4}}, {"世界", {6}},   {"AND", {2, 1}},     {"\"hello", {1}}, {"a*b", {2}},
        {"f(x)", {2}},        {"NEAR(", {}},       {"Tom's", {3}},  {"C:\\temp\\", {3}}, {"\\%", {}},       {"%", {7}},
        {"f_", {7}},          {"ox", {5}},         {"qx", {5}},     {"tom ca", {3}},  // short: captions, titles
        {"tom zz", {}},       {"   \t ", {7, 6, 5, 4, 3, 2, 1, 0}}};
    for (const auto& [typed, ids] : cases) {
        EXPECT_EQ(idsOf(history::findPage(typed, 0, 100)), ids) << typed;
        EXPECT_EQ(history::findCount(typed), static_cast<int>(ids.size())) << typed;
    }
    EXPECT_EQ(idsOf(history::findPage("a", 2, 3)), (std::vector{5, 4, 3})) << "pages of matches count from the newest";
    EXPECT_EQ(history::findPage("zanzibar", 0, 1).at(0).unicodeCaption, "Zanzibar again 你好世界");
}

ClipRecord clip(const std::string& text, const std::string& caption, int type = UnicodeText, int id = 0) {
    return {id, 0, caption, "", "", std::nullopt, text, type, text, std::nullopt};
}

TEST_F(History, ARepeatOfTheNewestItemIsKnownAndReadOnlyWhenNeeded) {
    DuplicateCheck check;
    EXPECT_FALSE(check.isDuplicate(clip("A", "A")));
    history::add(clip("A", "A"));
    EXPECT_TRUE(check.isDuplicate(clip("A", "A"))) << "the newest at the last exit, before the first capture";
    const std::string caption = std::string(50, 'q') + "...", text = std::string(60, 'q');
    history::add(clip(text, caption, UnicodeText, 1));
    check.remember(clip(text, caption, UnicodeText, 1));
    const std::pair<ClipRecord, bool> cases[] = {
        {clip(text, caption), true}, {clip(text + "2", caption), false}, {clip(text, caption, RichText), false},
        {clip(text, "q"), false}};
    for (const auto& [capture, duplicate] : cases) EXPECT_EQ(check.isDuplicate(capture), duplicate) << capture.Type;
    historyDb.execute("UPDATE Log SET Data='x' WHERE Id=1;");  // reading the block back would now differ
    EXPECT_TRUE(check.isDuplicate(clip(text, caption))) << "the last item's fingerprint decides while it is newest";
    history::remove(1);
    EXPECT_FALSE(check.isDuplicate(clip(text, caption))) << "no longer the newest: the file tells";
}

}  // namespace

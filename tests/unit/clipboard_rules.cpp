// The clipboard engine's rules: captions, change judging, block layout, repeats and the balloon.
#include "clipboard/Caption.h"
#include "clipboard/ClipboardChanges.h"
#include "clipboard/ClipLayout.h"
#include "clipboard/DuplicateCheck.h"
#include "clipboard/NeighbourBalloon.h"
#include "store/History.h"
#include "store/HistoryDatabase.h"
#include "store/HistorySql.h"

#include <gtest/gtest.h>

namespace {

TEST(Caption, FiftyBytesAfterTheLeadingSpaceWithLineBreaksAsBlanks) {
    const struct {
        std::string text, caption;
    } cases[] = {
        {"  two\twords\r\n", "two words  "},
        {"\v\f\n x", "x"},
        {" \t\r\n", ""},
        {std::string(50, 'y'), std::string(50, 'y')},
        {"   " + std::string(51, 'z') + "\n", std::string(50, 'z') + "..."},
    };
    for (const auto& c : cases) EXPECT_EQ(makeCaption(c.text), c.caption) << c.text;
    for (const auto& [size, figure] : {std::pair<std::size_t, int>{0, 3}, {100, 104}, {10 * 1024 * 1024, 10609494}})
        EXPECT_EQ(dataSizeFor(size), figure) << size;  // 1.0118 n + 3, truncated
}

// Each step is a notice (with captureEnabled) or the end of a capture (what it read, where the
// clipboard is now), and what the monitor must do.
TEST(ClipboardChanges, EveryChangeIsCapturedOnceAndOwnWritesNever) {
    using Notice = ClipboardChanges::Notice;
    ClipboardChanges changes;
    changes.dealtWith(10);  // present when the window joined
    EXPECT_EQ(changes.onNotice(10, true), Notice::Repeat);
    EXPECT_EQ(changes.onNotice(11, true), Notice::Capture);
    changes.captureStarted();
    EXPECT_EQ(changes.onNotice(12, true), Notice::Later);  // copied while the capture runs
    EXPECT_TRUE(changes.captureEnded(11, 12));             // so it is captured right after
    EXPECT_FALSE(changes.captureEnded(12, 12));
    changes.captureStopped();
    EXPECT_EQ(changes.onNotice(12, true), Notice::Repeat);  // the second notice of one X11 copy
    EXPECT_EQ(changes.onNotice(13, false), Notice::Own);
    EXPECT_EQ(changes.onNotice(13, true), Notice::Repeat);
    // The program writes while a capture runs: not captured after it, unless copied over again.
    changes.captureStarted();
    EXPECT_EQ(changes.onNotice(0, false), Notice::Own);  // the number wraps
    EXPECT_FALSE(changes.captureEnded(0xFFFFFFFFu, 0));
    EXPECT_EQ(changes.onNotice(1, true), Notice::Later);
    EXPECT_TRUE(changes.captureEnded(0, 1));
}

TEST(ClipLayout, FormatsGoBackInTheOrderOfTheType) {
    using namespace clipformat;
    using C = RecordColumn;
    const struct {
        int type;
        std::vector<std::pair<unsigned, RecordColumn>> formats;
    } cases[] = {
        {PlainText, {{kLocale, C::Locale}, {kText, C::Text}}},
        {UnicodeText, {{kUnicodeText, C::Data}, {kLocale, C::Locale}, {kText, C::Text}}},
        {RichText, {{0, C::Data}, {kLocale, C::Locale}, {kText, C::Text}}},
        {Bitmap, {{kDib, C::Data}}},
        {5, {}},
    };
    for (const auto& c : cases) {
        std::vector<std::pair<unsigned, RecordColumn>> formats;
        for (const ClipBlockSource& source : clipLayoutFor(c.type)) formats.emplace_back(source.format, source.column);
        EXPECT_EQ(formats, c.formats) << c.type;
    }
}

// The check reads the newest row of the process-wide history, here an in-memory one.
class DuplicateCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        historyDb.open(":memory:");
        historyDb.execute(sql::kCreateLogTable);
    }
    void TearDown() override { historyDb.close(); }
    static ClipRecord clip(const std::string& text, const std::string& caption, int type = PlainText) {
        ClipRecord record;
        record.Name = caption;
        record.Text = text;
        record.Type = type;
        if (type != PlainText) record.Data = text;
        return record;
    }
    void addAndRemember(ClipRecord record, int id) {
        record.Id = id;
        history::add(record);
        check.remember(record);
    }
    DuplicateCheck check;
};

TEST_F(DuplicateCheckTest, ARepeatOfTheNewestItemIsKnown) {
    EXPECT_FALSE(check.isDuplicate(clip("A", "A")));
    history::add(clip("A", "A"));
    EXPECT_TRUE(check.isDuplicate(clip("A", "A"))) << "the newest at the last exit, before the first capture";
    const std::string caption = std::string(50, 'q') + "...";
    addAndRemember(clip(std::string(60, 'q') + "1", caption, UnicodeText), 1);
    const struct {
        const char* what;
        ClipRecord capture;
        bool duplicate;
    } cases[] = {
        {"the same", clip(std::string(60, 'q') + "1", caption, UnicodeText), true},
        {"same caption, another block", clip(std::string(60, 'q') + "2", caption, UnicodeText), false},
        {"another type", clip(std::string(60, 'q') + "1", caption, PlainText), false},
        {"another caption", clip(std::string(60, 'q') + "1", "q", UnicodeText), false},
    };
    for (const auto& c : cases) EXPECT_EQ(check.isDuplicate(c.capture), c.duplicate) << c.what;
}

TEST_F(DuplicateCheckTest, WhileTheLastItemIsNewestItsFingerprintDecides) {
    addAndRemember(clip("A", "A"), 5);
    historyDb.execute("UPDATE Log SET Text='x';");  // reading the block back would now differ
    EXPECT_TRUE(check.isDuplicate(clip("A", "A")));
    history::remove(5);  // no longer the newest: only the file can tell
    EXPECT_FALSE(check.isDuplicate(clip("A", "A")));
    check.remember(clip("A", "A", UnicodeText));
    historyDb.execute("DROP TABLE Log;");  // a query would now throw
    EXPECT_FALSE(check.isDuplicate(clip("AB", "A", UnicodeText))) << "another size needs no query";
    EXPECT_FALSE(check.isDuplicate(clip("A", "B", UnicodeText))) << "another caption needs no query";
}

TEST(NeighbourBalloon, HeaderThenTheTextCutAtTheLastBlankWithinAThousandCharacters) {
    const std::string header =
        "\tYarrowkit has copied the next item to the clipboard: \t\n\t=-=-=-=-=-=-=-=-=-=-=-=-==-=-=-=-=-=-= \n";
    const std::string cut = "\n ...[text is truncated]", fits(1000 - header.size(), 'd');
    std::string cyrillic;
    for (std::size_t i = header.size(); i < 1000; ++i) cyrillic += "ж";
    const struct {
        int type;
        std::string body, balloon;
    } cases[] = {
        {PlainText, "hello", header + "hello"},
        {Bitmap, "ignored", header + "\n\t\tThis item contains Image\t\t\n\n"},
        {PlainText, std::string(600, 'a') + " " + std::string(600, 'b'), header + std::string(600, 'a') + cut},
        {PlainText, std::string(2000, 'c'), header.substr(0, header.rfind(' ')) + cut},  // no blank in the body
        {PlainText, fits, header + fits},
        {UnicodeText, cyrillic, header + cyrillic},  // characters, not bytes
        {UnicodeText, "ab " + cyrillic, header + "ab" + cut},
    };
    for (const auto& c : cases) EXPECT_EQ(neighbourBalloonText(c.type, c.body), c.balloon) << c.body.substr(0, 20);
}

}  // namespace

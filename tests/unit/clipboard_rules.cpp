#include "clipboard/Caption.h"
#include "clipboard/ClipboardChanges.h"
#include "clipboard/ClipLayout.h"
#include "clipboard/DuplicateCheck.h"
#include "store/ClipRecord.h"
#include "store/History.h"
#include "store/HistorySql.h"
#include "store/HistoryDatabase.h"
#include "store/SqlException.h"
#include "store/StoredValue.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Caption, DropsLeadingSpaceKeepsTrailingAndBlanksLineBreaks) {
    EXPECT_EQ(makeCaption("  two\twords\r\n"), "two words  ");
    EXPECT_EQ(makeCaption("\v\f\n x"), "x");
    EXPECT_EQ(makeCaption(" \t\r\n"), "");
}

TEST(Caption, CutsAtFiftyBytes) {
    const std::string eighty(80, 'x');
    EXPECT_EQ(makeCaption(eighty), std::string(50, 'x') + "...");
    EXPECT_EQ(makeCaption(std::string(50, 'y')), std::string(50, 'y'));
    // The cut counts after the leading space, and a line break beyond it is not looked at.
    EXPECT_EQ(makeCaption("   " + std::string(51, 'z') + "\n"), std::string(50, 'z') + "...");
}

TEST(Caption, DataSizeIsTheTruncatedStoredFormEstimate) {
    EXPECT_EQ(dataSizeFor(0), 3);
    EXPECT_EQ(dataSizeFor(100), 104);  // 101.18 + 3
    EXPECT_EQ(dataSizeFor(10 * 1024 * 1024), 10609494);  // 10609491.97 + 3
}

// Each step: a notice (with captureEnabled) or the end of a capture (what it read, where the
// clipboard is now), and what the monitor must do.
TEST(ClipboardChanges, EveryChangeIsCapturedOnceAndOwnWritesNever) {
    using Notice = ClipboardChanges::Notice;
    ClipboardChanges changes;
    changes.dealtWith(10);  // present when the window joined
    EXPECT_EQ(changes.onNotice(10, true), Notice::Repeat);
    EXPECT_EQ(changes.onNotice(11, true), Notice::Capture);
    changes.captureStarted();
    EXPECT_EQ(changes.onNotice(12, true), Notice::Later);   // copied while the capture runs
    EXPECT_TRUE(changes.captureEnded(11, 12));              // so it is captured right after
    EXPECT_FALSE(changes.captureEnded(12, 12));
    changes.captureStopped();
    EXPECT_EQ(changes.onNotice(12, true), Notice::Repeat);  // the second notice of one X11 copy
    EXPECT_EQ(changes.onNotice(13, false), Notice::Own);    // the program's own write
    EXPECT_TRUE(changes.isDealtWith(13));
    EXPECT_EQ(changes.onNotice(13, true), Notice::Repeat);
    EXPECT_EQ(changes.onNotice(14, true), Notice::Capture);
}

TEST(ClipboardChanges, AnOwnWriteDuringACaptureIsNotCapturedAfterIt) {
    for (const bool copiedAfterTheWrite : {false, true}) {
        ClipboardChanges changes;
        changes.captureStarted();
        changes.onNotice(21, false);  // written by the program while the capture of 20 ran
        if (copiedAfterTheWrite) {
            EXPECT_EQ(changes.onNotice(22, true), ClipboardChanges::Notice::Later);
        }
        EXPECT_EQ(changes.captureEnded(20, copiedAfterTheWrite ? 22 : 21), copiedAfterTheWrite);
    }
}

TEST(ClipboardChanges, SequenceNumbersMayWrap) {
    ClipboardChanges changes;
    changes.captureStarted();
    changes.onNotice(0u, false);
    EXPECT_FALSE(changes.captureEnded(0xFFFFFFFFu, 0u));
    EXPECT_TRUE(changes.isDealtWith(0u));
}

TEST(ClipLayout, FormatsGoOnInTheOrderOfTheType) {
    using namespace clipformat;
    auto formats = [](int type) {
        std::vector<std::pair<unsigned, RecordColumn>> out;
        for (const ClipBlockSource& s : clipLayoutFor(type)) out.emplace_back(s.format, s.column);
        return out;
    };
    using C = RecordColumn;
    EXPECT_EQ(formats(PlainText), (decltype(formats(0)){{kLocale, C::Locale}, {kText, C::Text}}));
    EXPECT_EQ(formats(UnicodeText),
              (decltype(formats(0)){{kUnicodeText, C::Data}, {kLocale, C::Locale}, {kText, C::Text}}));
    EXPECT_EQ(formats(RichText), (decltype(formats(0)){{0, C::Data}, {kLocale, C::Locale}, {kText, C::Text}}));
    EXPECT_EQ(formats(Bitmap), (decltype(formats(0)){{kDib, C::Data}}));
    EXPECT_TRUE(clipLayoutFor(5).empty());
}

// The check reads the newest row of the process-wide history, here an in-memory one.
class DuplicateCheckTest : public ::testing::Test {
protected:
    void SetUp() override {
        historyDb.open(":memory:");
        historyDb.execute(sql::kCreateLogTable);
    }
    void TearDown() override { historyDb.close(); }
    static ClipRecord text(const std::string& text, const std::string& caption) {
        ClipRecord record;
        record.Name = caption;
        record.Text = text;
        return record;
    }
    DuplicateCheck check;
};

TEST_F(DuplicateCheckTest, RepeatOfTheNewestRowIsKnownEvenAtTheFirstCapture) {
    EXPECT_FALSE(check.isDuplicate(text("A", "A")));  // empty table
    history::add(text("A", "A"));
    EXPECT_TRUE(check.isDuplicate(text("A", "A")));
    EXPECT_FALSE(check.isDuplicate(text("B", "B")));
}

TEST_F(DuplicateCheckTest, SameCaptionDifferentBlockIsNew) {
    // Two texts that share their first 50 bytes have the same caption.
    const std::string caption = std::string(50, 'q') + "...";
    const ClipRecord first = text(std::string(60, 'q') + "1", caption);
    history::add(first);
    check.remember(first);
    EXPECT_FALSE(check.isDuplicate(text(std::string(60, 'q') + "2", caption)));
}

TEST_F(DuplicateCheckTest, DataBlockDecidesForNonPlainTypes) {
    ClipRecord first = text("same", "same");
    first.Type = UnicodeText;
    first.Data = "d1";
    history::add(first);
    check.remember(first);
    ClipRecord second = first;
    second.Data = "d2";
    EXPECT_FALSE(check.isDuplicate(second));
    ClipRecord plain = first;
    plain.Type = PlainText;
    EXPECT_FALSE(check.isDuplicate(plain));  // the type differs
    EXPECT_TRUE(check.isDuplicate(first));
}

TEST_F(DuplicateCheckTest, WhileTheLastItemIsNewestItsFingerprintDecidesWithoutReadingIt) {
    ClipRecord first = text("A", "A");
    first.Id = 5;
    history::add(first);
    check.remember(first);
    historyDb.execute("UPDATE Log SET Text='x';");  // reading the block back would now differ
    EXPECT_TRUE(check.isDuplicate(first));
    EXPECT_FALSE(check.isDuplicate(text("B", "A")));
    history::remove(5);  // no longer the newest: only the file can tell
    EXPECT_FALSE(check.isDuplicate(first));
}

TEST_F(DuplicateCheckTest, ADifferentSizeOrCaptionNeedsNoQuery) {
    check.remember(text("A", "A"));
    historyDb.execute("DROP TABLE Log;");  // a query would now throw
    ClipRecord bigger = text("A", "A");
    bigger.Data = std::string(7, 'x');
    EXPECT_FALSE(check.isDuplicate(bigger));
    EXPECT_FALSE(check.isDuplicate(text("A", "other")));
    EXPECT_THROW(check.isDuplicate(text("A", "A")), SqlException);
}

}  // namespace

// The clipboard engine's rules: captions, change judging, repeats and the step balloon (whose cut at
// a blank is the preview's, tested there).
#include "clipboard/Caption.h"
#include "clipboard/ClipboardChanges.h"
#include "clipboard/DuplicateCheck.h"
#include "clipboard/NeighbourBalloon.h"
#include "store_support.h"

namespace {

using DuplicateCheckTest = store_test::HistoryDbTest;

TEST(Caption, FiftyBytesAfterTheLeadingSpaceWithLineBreaksAsBlanks) {
    const std::pair<std::string, std::string> cases[] = {
        {" a\tb\r\n", "a b  "}, {"\v\f\n x", "x"}, {" \t\r\n", ""}, {std::string(50, 'y'), std::string(50, 'y')},
        {" " + std::string(51, 'z') + "\n", std::string(50, 'z') + "..."}};
    for (const auto& [text, caption] : cases) EXPECT_EQ(makeCaption(text), caption) << text;
    for (const auto& [size, figure] : {std::pair<std::size_t, int>{0, 3}, {100, 104}, {10 * 1024 * 1024, 10609494}})
        EXPECT_EQ(dataSizeFor(size), figure) << size;  // 1.0118 n + 3, truncated
}

// Steps: a mark (true) or a question (false) about a sequence number, and the expected answer.
TEST(ClipboardChanges, AChangeIsDealtWithOnceMarkedOrOnceANewerOneIs) {
    ClipboardChanges changes;
    const std::tuple<bool, std::uint32_t, bool> steps[] = {
        {true, 10, true}, {false, 10, true}, {false, 11, false},  // present when monitoring started; a copy to read
        {true, 12, true}, {false, 11, true}, {true, 11, true}, {false, 12, true},  // a newer one covers it, for good
        {false, 13, false}, {true, 0xFFFFFFFFu, true}, {false, 13, false},         // far behind: older than 12
        {true, 0x7FFFFFFFu, true}, {true, 0x80000010u, true}, {true, 0xFFFFFFFFu, true}, {true, 0, true},  // wraps
        {false, 0xFFFFFFF0u, true}, {false, 0, true}, {false, 1, false}};
    for (const auto& [mark, sequence, dealtWith] : steps) {
        if (mark) changes.dealtWith(sequence);
        EXPECT_EQ(changes.isDealtWith(sequence), dealtWith) << sequence;
    }
}

ClipRecord clip(const std::string& text, const std::string& caption, int type = UnicodeText, int id = 0) {
    return {id, 0, caption, "", "", std::nullopt, text, type, text, std::nullopt};
}

TEST_F(DuplicateCheckTest, ARepeatOfTheNewestItemIsKnownAndReadOnlyWhenNeeded) {
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
    historyDb.execute("DROP TABLE Log;");  // a query would now throw
    EXPECT_FALSE(check.isDuplicate(clip(text + "2", caption))) << "another size needs no query";
    EXPECT_FALSE(check.isDuplicate(clip(text, "q"))) << "another caption needs no query";
}

TEST(NeighbourBalloon, HeaderThenTheTextCutWithinAThousandCharactersHeaderIncluded) {
    const std::string header =
        "\tYarrowkit has copied the next item to the clipboard: \t\n\t=-=-=-=-=-=-=-=-=-=-=-=-==-=-=-=-=-=-= \n";
    const std::string fits(1000 - header.size(), 'd');
    const std::tuple<int, std::string, std::string> cases[] = {
        {PlainText, fits, header + fits}, {Bitmap, "ignored", header + "\n\t\tThis item contains Image\t\t\n\n"},
        {PlainText, fits + "d", header.substr(0, header.rfind(' ')) + "\n ...[text is truncated]"}};
    for (const auto& [type, body, balloon] : cases) EXPECT_EQ(neighbourBalloonText(type, body), balloon) << type;
}

}  // namespace

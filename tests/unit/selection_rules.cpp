// The selection window's rules: page arithmetic, range label and paging buttons, and the
// preview tooltip's text, byte for byte.
#include "ui/selection/PageArithmetic.h"
#include "ui/selection/PreviewText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

namespace {

using namespace std::string_literals;

// The label of the page as the page query (LIMIT offset,count over `total` rows) loads it.
std::string loadedLabel(int offset, int pageSize, int total) {
    const int start = paging::offsetForLoad(offset);
    const int shown = static_cast<int>(std::clamp<long long>(total - start, 0, paging::queryLimit(pageSize)));
    return paging::rangeLabel(start, pageSize, total, shown);
}

enum Button { Stay, Oldest, Older, Newer };

TEST(Paging, ButtonsMoveTheOffsetAndTheLabelAndStatesFollow) {
    const struct {
        int total, before;
        Button button;
        int offset;
        const char* label;
        bool oldest, older, newer, newest;
    } cases[] = {
        {200, 0, Stay, 0, "Items 151-200 of 200", true, true, false, false},
        {200, 0, Older, 50, "Items 101-150 of 200", true, true, true, true},
        {200, 0, Oldest, 150, "Items 1-50 of 200", false, false, true, true},
        {200, 150, Older, 150, "Items 1-50 of 200", false, false, true, true},
        {120, 50, Older, 70, "Items 1-50 of 120", false, false, true, true},  // a full oldest page
        {120, 70, Newer, 20, "Items 51-100 of 120", true, true, true, true},
        {120, 20, Newer, 0, "Items 71-120 of 120", true, true, false, false},
        {30, 0, Stay, 0, "Items 1-30 of 30", false, false, false, false},
        {0, 0, Oldest, 0, "Items 1-0 of 0", false, false, false, false},
    };
    for (const auto& c : cases) {
        const int offset = c.button == Oldest  ? paging::oldestPageOffset(c.total, 50)
                           : c.button == Older ? paging::olderPageOffset(c.before, 50, c.total)
                           : c.button == Newer ? paging::newerPageOffset(c.before, 50)
                                               : c.before;
        EXPECT_EQ(offset, c.offset) << c.label;
        EXPECT_EQ(loadedLabel(offset, 50, c.total), c.label);
        const paging::ButtonStates states = paging::buttonStates(offset, 50, c.total);
        EXPECT_EQ(std::tie(states.oldest, states.older, states.newer, states.newest),
                  std::tie(c.oldest, c.older, c.newer, c.newest)) << c.label;
    }
}

TEST(Paging, HandEditedPageSizesNeitherOverflowNorGoNegative) {
    const struct {
        const char* what;
        long long value, expected;
    } cases[] = {
        {"older past everything", paging::olderPageOffset(INT_MAX, INT_MAX, INT_MAX), 0},
        {"older with a huge page", paging::olderPageOffset(10, INT_MAX, 100), 0},
        {"older from before the newest", paging::olderPageOffset(-1, 50, 10), 0},
        {"newer past the newest", paging::newerPageOffset(INT_MIN + 1, INT_MAX), 0},
        {"newer with a negative page, clamped", paging::newerPageOffset(10, INT_MIN), INT_MAX},
        {"oldest with a negative page, clamped", paging::oldestPageOffset(100, INT_MIN), INT_MAX},
        {"oldest of a huge page", paging::oldestPageOffset(5, INT_MAX), 0},
        {"a page of 0 rows", paging::queryLimit(0), 0},
        {"a negative page is empty, not unlimited", paging::queryLimit(-5), 0},
        {"delete at the lowest offset", paging::offsetAfterDelete(INT_MIN), INT_MIN},
    };
    for (const auto& c : cases) EXPECT_EQ(c.value, c.expected) << c.what;
    EXPECT_EQ(paging::rangeLabel(0, INT_MIN, INT_MAX, 0), "Items 2147483647-2147483647 of 2147483647");
    EXPECT_EQ(paging::rangeLabel(INT_MIN, INT_MAX, 5, 0), "Items 7-6 of 5") << "exact where 32 bits would wrap";
}

// Delete lowers the offset (below 0 on the newest page) so the label fits the shortened page;
// the buttons then count from the total as last counted.
TEST(Paging, AfterDeletesTheLabelAndTheButtonsStayRight) {
    int offset = 0;
    for (int deleted = 1; deleted <= 3; ++deleted) offset = paging::offsetAfterDelete(offset);
    EXPECT_EQ(paging::rangeLabel(offset, 50, 197, 47), "Items 151-197 of 197");
    EXPECT_FALSE(paging::buttonStates(offset, 50, 197).newer);
    EXPECT_EQ(loadedLabel(offset, 50, 198), "Items 149-198 of 198") << "a capture reloads the newest page";
    EXPECT_EQ(paging::olderPageOffset(-1, 50, 200), 49) << "skips exactly the 49 items shown";
    EXPECT_EQ(paging::rangeLabel(49, 50, 199, 49), "Items 101-149 of 199") << "a delete on an older page";
    EXPECT_EQ(loadedLabel(49, 50, 199), "Items 101-150 of 199");
    EXPECT_EQ(paging::olderPageOffset(-50, 50, 151), 0) << "the emptied newest page runs older";
    EXPECT_EQ(loadedLabel(0, 50, 150), "Items 101-150 of 150");
}

const std::string kRule = "=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-==-=-=";
const std::string kSource = "\n        Application  :   notepad.exe";
const std::string kTitle = "\n        Title             :   Untitled - Notepad\n";
const std::string kTimeAndId = "        Date&Time  :   12/06/26 19:34:56              Id  :   41\n";

// Stands in for the ANSI code page: ASCII kept, anything else '?', bracketed to show it was used.
std::string fakeAnsi(std::u16string_view text) {
    std::string out = "[";
    for (char16_t unit : text) out += unit < 0x80 ? static_cast<char>(unit) : '?';
    return out + "]";
}

preview::RecordFields record(int type, std::optional<std::string> text, std::optional<std::string> data = {}) {
    return {"notepad.exe\0"s, "Untitled - Notepad\0"s, "12/06/26 19:34:56", 41, type, text, data, std::nullopt};
}

TEST(PreviewText, HeaderLinesAndBodyByType) {
    const std::string header = kRule + kSource + kTitle + kTimeAndId + kRule + "\n";
    auto without = [](preview::RecordFields fields, bool name, bool title) {
        if (!name) fields.sourceName.reset();
        if (!title) fields.sourceTitle.reset();
        return fields;
    };
    preview::RecordFields emptyName = without(record(0, "hi"), true, false);
    emptyName.sourceName = "\0"s;
    preview::RecordFields sideText = record(13, "????", "\x60\x4f\0\0"s);
    sideText.unicodeText = "你好世界";
    const struct {
        const char* what;
        preview::RecordFields fields;
        std::string text;
    } cases[] = {
        {"text up to its zero", record(0, "hello world\0slack"s), header + "hello world"},
        {"no title: the time follows the application", without(record(0, "hi"), true, false),
         kRule + kSource + kTimeAndId + kRule + "\nhi"},
        {"no source at all", without(record(0, "hi"), false, false), kRule + kTimeAndId + kRule + "\nhi"},
        {"an empty name is present", emptyName, kRule + "\n        Application  :   " + kTimeAndId + kRule + "\nhi"},
        {"an image", record(8, {}, "BM"), header + "\t\t\t\tThis item contains Image\n\n"},
        {"Unicode shows Data through the converter", record(13, "????", "c\0a\0\xe9\0 \0\x2d\x4e\0\0junk"s),
         header + "[ca? ?]"},
        {"Unicode without Data", record(13, "????"), header},
        {"rich text shows its plain text", record(-1, "hello"s, "{\\rtf1 x}"), header + "hello"},
        {"no text", record(0, {}), header},
        {"the side table's text", sideText, header + "你好世界"},
    };
    for (const auto& c : cases) EXPECT_EQ(preview::previewText(c.fields, fakeAnsi), c.text) << c.what;
}

TEST(PreviewText, CutAtTheLastBlankAtOrBefore2000Characters) {
    const std::string note = "\n ...[text is truncated]";
    std::string blankAt10(2000, 'x'), cyrillic = "a ";
    blankAt10[10] = ' ';
    for (int i = 2; i < 2000; ++i) cyrillic += "ы";
    const std::string full = preview::previewText(record(0, std::string(100000, 'z')), fakeAnsi);
    const struct {
        const char* what;
        std::string text, shown;
    } cases[] = {
        {"2000 are shown whole", blankAt10, blankAt10},
        {"2001", blankAt10 + "y", blankAt10.substr(0, 10) + note},
        {"a blank at 2000 itself counts", blankAt10 + " tail", blankAt10 + note},
        {"characters, not bytes", cyrillic, cyrillic},
        {"2001 characters", cyrillic + "ы", "a" + note},
        {"no blank in a big clip: the one before the id", full, full.substr(0, full.rfind("41\n") - 1) + note},
    };
    for (const auto& c : cases) EXPECT_EQ(preview::truncated(c.text), c.shown) << c.what;
}

}  // namespace

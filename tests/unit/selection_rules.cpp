// The selection window's rules: paging with its label and buttons, and the preview tooltip's text.
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

TEST(Paging, ButtonsMoveTheOffsetAndTheLabelAndStatesFollow) {
    using namespace paging;
    // The offset a press gives, as expected, the total, the label, and "<<", "<", ">" and ">>" enabled.
    const std::tuple<int, int, int, const char*, const char*> cases[] = {
        {0, 0, 200, "Items 151-200 of 200", "1100"}, {0, 0, 30, "Items 1-30 of 30", "0000"},
        {olderPageOffset(0, 50, 200), 50, 200, "Items 101-150 of 200", "1111"},
        {oldestPageOffset(200, 50), 150, 200, "Items 1-50 of 200", "0011"},
        {olderPageOffset(150, 50, 200), 150, 200, "Items 1-50 of 200", "0011"},
        {olderPageOffset(50, 50, 120), 70, 120, "Items 1-50 of 120", "0011"},  // a full oldest page
        {newerPageOffset(70, 50), 20, 120, "Items 51-100 of 120", "1111"},
        {newerPageOffset(20, 50), 0, 120, "Items 71-120 of 120", "1100"},
        {oldestPageOffset(0, 50), 0, 0, "Items 1-0 of 0", "0000"}};
    for (const auto& [offset, expected, total, label, states] : cases) {
        EXPECT_EQ(offset, expected) << label;
        EXPECT_EQ(loadedLabel(offset, 50, total), label);
        const ButtonStates on = buttonStates(offset, 50, total);
        EXPECT_EQ(std::string({"01"[on.oldest], "01"[on.older], "01"[on.newer], "01"[on.newest]}), states) << label;
    }
}

TEST(Paging, HandEditedSizesAndDeletesKeepOffsetsAndLabelsRight) {
    const std::pair<long long, long long> cases[] = {
        {paging::olderPageOffset(INT_MAX, INT_MAX, INT_MAX), 0}, {paging::olderPageOffset(10, INT_MAX, 100), 0},
        {paging::olderPageOffset(-1, 50, 10), 0},                {paging::newerPageOffset(INT_MIN + 1, INT_MAX), 0},
        {paging::newerPageOffset(10, INT_MIN), INT_MAX},         {paging::oldestPageOffset(100, INT_MIN), INT_MAX},
        {paging::oldestPageOffset(5, INT_MAX), 0},               {paging::offsetAfterDelete(INT_MIN), INT_MIN},
        {paging::queryLimit(0), 0},                              {paging::queryLimit(-5), 0}};  // not "no limit"
    for (std::size_t row = 0; row < std::size(cases); ++row) EXPECT_EQ(cases[row].first, cases[row].second) << row;
    EXPECT_EQ(paging::rangeLabel(0, INT_MIN, INT_MAX, 0), "Items 2147483647-2147483647 of 2147483647");
    EXPECT_EQ(paging::rangeLabel(INT_MIN, INT_MAX, 5, 0), "Items 7-6 of 5") << "exact where 32 bits would wrap";
    // Delete lowers the offset (below 0 on the newest page); the buttons count from the total as last counted.
    const int offset = paging::offsetAfterDelete(paging::offsetAfterDelete(paging::offsetAfterDelete(0)));
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
const std::string kApplication = "\n        Application  :   ", kTitle = "\n        Title             :   ";
const std::string kTimeAndId = "        Date&Time  :   12/06/26 19:34:56              Id  :   41\n";
const std::string kHeader = kRule + kApplication + "notepad.exe" + kTitle + "Notepad\n" + kTimeAndId + kRule + "\n";

// Stands in for the ANSI code page: ASCII kept, anything else '?', bracketed to show it was used.
std::string fakeAnsi(std::u16string_view text) {
    std::string out = "[";
    for (char16_t unit : text) out += unit < 0x80 ? static_cast<char>(unit) : '?';
    return out + "]";
}

preview::RecordFields record(int type, std::optional<std::string> text, std::optional<std::string> data = {},
                             std::optional<std::string> name = "notepad.exe\0"s,
                             std::optional<std::string> title = "Notepad\0"s, std::optional<std::string> side = {}) {
    return {name, title, "12/06/26 19:34:56", 41, type, text, data, side};
}

TEST(PreviewText, HeaderLinesAndBodyByType) {
    const std::pair<preview::RecordFields, std::string> cases[] = {
        {record(0, "hello world\0slack"s), kHeader + "hello world"},  // up to its zero
        {record(0, "hi", {}, "notepad.exe\0"s, {}), kRule + kApplication + "notepad.exe" + kTimeAndId + kRule + "\nhi"},
        {record(0, "hi", {}, {}, {}), kRule + kTimeAndId + kRule + "\nhi"},
        {record(0, "hi", {}, "\0"s, {}), kRule + kApplication + kTimeAndId + kRule + "\nhi"},  // empty, but there
        {record(8, {}, "BM"), kHeader + "\t\t\t\tThis item contains Image\n\n"},
        {record(13, "????", "c\0a\0\xe9\0 \0\x2d\x4e\0\0junk"s), kHeader + "[ca? ?]"},  // Data through the converter
        {record(13, "????"), kHeader}, {record(0, {}), kHeader},
        {record(-1, "hello"s, "{\\rtf1 x}"), kHeader + "hello"},  // rich text shows its plain text
        {record(13, "????", "\x60\x4f\0\0"s, "notepad.exe\0"s, "Notepad\0"s, "你好世界"), kHeader + "你好世界"}};
    for (const auto& [fields, text] : cases) EXPECT_EQ(preview::previewText(fields, fakeAnsi), text);
}

TEST(PreviewText, CutAtTheLastBlankAtOrBefore2000Characters) {
    const std::string note = "\n ...[text is truncated]";
    std::string blankAt10(2000, 'x'), cyrillic = "a ";
    blankAt10[10] = ' ';
    for (int i = 2; i < 2000; ++i) cyrillic += "ы";
    const std::string full = preview::previewText(record(0, std::string(100000, 'z')), fakeAnsi);
    const std::pair<std::string, std::string> cases[] = {
        {blankAt10, blankAt10}, {blankAt10 + "y", blankAt10.substr(0, 10) + note},
        {blankAt10 + " tail", blankAt10 + note},  // a blank at 2000 itself counts
        {cyrillic, cyrillic},   {cyrillic + "ы", "a" + note},  // characters, not bytes
        {full, full.substr(0, full.rfind("41\n") - 1) + note}};  // no blank in the clip: the one before the id
    for (const auto& [text, shown] : cases) EXPECT_EQ(preview::truncated(text), shown) << text.substr(0, 20);
}

}  // namespace

// The platform-free rules above the store: the clipboard engine's captions, change judging and step balloon;
// the selection window's paging and preview text; settings keys, integer fields, hyperlinks, hot-key codes.
#include "app/SettingKeys.h"
#include "clipboard/Caption.h"
#include "clipboard/ClipboardChanges.h"
#include "clipboard/NeighbourBalloon.h"
#include "store/ClipRecord.h"
#include "ui/controls/HyperLinkText.h"
#include "ui/framework/IntegerText.h"
#include "ui/options/HotKeyCodes.h"
#include "ui/selection/PageArithmetic.h"
#include "ui/selection/PreviewText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

namespace {

using namespace std::string_literals;

TEST(Caption, FiftyBytesAfterTheLeadingSpaceWithLineBreaksAsBlanks) {
    const std::pair<std::string, std::string> cases[] = {
        {" a\tb\r\n", "a b  "}, {"\v\f\n x", "x"}, {" \t\r\n", ""}, {std::string(50, 'y'), std::string(50, 'y')},
        {" " + std::string(51, 'z') + "\n", std::string(50, 'z') + "..."}};
    for (const auto& [text, caption] : cases) EXPECT_EQ(makeCaption(text), caption) << text;
}

// Steps: a mark (true) or a question (false) about a sequence number, and the expected answer.
TEST(ClipboardChanges, AChangeIsDealtWithOnceMarkedOrOnceANewerOneIs) {
    ClipboardChanges changes;
    const std::tuple<bool, std::uint32_t, bool> steps[] = {
        {true, 10, true}, {false, 11, false},  // present when monitoring started; a copy to read
        {true, 12, true}, {false, 11, true}, {true, 11, true}, {false, 12, true},  // a newer one covers it, for good
        {true, 0xFFFFFFFFu, true}, {false, 13, false},                             // far behind: older than 12
        {true, 0x7FFFFFFFu, true}, {true, 0x80000010u, true}, {true, 0xFFFFFFFFu, true}, {true, 0, true},  // wraps
        {false, 0xFFFFFFF0u, true}, {false, 1, false}};
    for (const auto& [mark, sequence, dealtWith] : steps) {
        if (mark) changes.dealtWith(sequence);
        EXPECT_EQ(changes.isDealtWith(sequence), dealtWith) << sequence;
    }
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
        {0, 0, 30, "Items 1-30 of 30", "0000"}, {oldestPageOffset(0, 50), 0, 0, "Items 1-0 of 0", "0000"},
        {olderPageOffset(50, 50, 120), 70, 120, "Items 1-50 of 120", "0011"},  // a full oldest page
        {newerPageOffset(20, 50), 0, 120, "Items 71-120 of 120", "1100"}};
    for (const auto& [offset, expected, total, label, states] : cases) {
        EXPECT_EQ(offset, expected) << label;
        EXPECT_EQ(loadedLabel(offset, 50, total), label);
        const ButtonStates on = buttonStates(offset, 50, total);
        EXPECT_EQ(std::string({"01"[on.oldest], "01"[on.older], "01"[on.newer], "01"[on.newest]}), states) << label;
    }
}

TEST(Paging, HandEditedSizesAndDeletesKeepOffsetsAndLabelsRight) {
    const std::pair<long long, long long> cases[] = {
        {paging::olderPageOffset(INT_MAX, INT_MAX, INT_MAX), 0}, {paging::newerPageOffset(INT_MIN + 1, INT_MAX), 0},
        {paging::newerPageOffset(10, INT_MIN), INT_MAX},         {paging::oldestPageOffset(100, INT_MIN), INT_MAX},
        {paging::offsetAfterDelete(INT_MIN), INT_MIN},           {paging::queryLimit(-5), 0}};  // not "no limit"
    for (std::size_t row = 0; row < std::size(cases); ++row) EXPECT_EQ(cases[row].first, cases[row].second) << row;
    EXPECT_EQ(paging::rangeLabel(INT_MIN, INT_MAX, 5, 0), "Items 7-6 of 5") << "exact where 32 bits would wrap";
    // Delete lowers the offset (below 0 on the newest page); the buttons count from the total as last counted.
    const int offset = paging::offsetAfterDelete(paging::offsetAfterDelete(paging::offsetAfterDelete(0)));
    EXPECT_EQ(paging::rangeLabel(offset, 50, 197, 47), "Items 151-197 of 197");
    EXPECT_FALSE(paging::buttonStates(offset, 50, 197).newer);
    EXPECT_EQ(loadedLabel(offset, 50, 198), "Items 149-198 of 198") << "a capture reloads the newest page";
    EXPECT_EQ(paging::olderPageOffset(-1, 50, 200), 49) << "skips exactly the 49 items shown";
    EXPECT_EQ(paging::rangeLabel(49, 50, 199, 49), "Items 101-149 of 199") << "a delete on an older page";
    EXPECT_EQ(paging::olderPageOffset(-50, 50, 151), 0) << "the emptied newest page runs older";
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
        {record(13, "????", "c\0a\0\xe9\0 \0\x2d\x4e\0\0junk"s), kHeader + "[ca? ?]"},  // Data through the converter
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
        {blankAt10, blankAt10}, {blankAt10 + " tail", blankAt10 + note},  // a blank at 2000 itself counts
        {cyrillic, cyrillic},   {cyrillic + "ы", "a" + note},  // characters, not bytes
        {full, full.substr(0, full.rfind("41\n") - 1) + note}};  // no blank in the clip: the one before the id
    for (const auto& [text, shown] : cases) EXPECT_EQ(preview::truncated(text), shown) << text.substr(0, 20);
}

TEST(SettingKeys, ValuesAreTakenByTheirKeysRuleAndEveryDefaultPassesIt) {
    using namespace configkey;
    // Out of its range a value gives the default or the bound; hot keys keep 16 bits; the rest is as read.
    const std::tuple<const IntKey&, int, int> cases[] = {
        {CountItemsInRange, 0, 50}, {CountMenuItemsInRange, 5000, 1000}, {Sleep, INT_MIN, 0}, {OptionsIndex, 4, 0},
        {OptionsIndex, 3, 3}, {HotKey, 0x10041, 0x41}, {HotKeyVK, -1, 0xFFFF}};
    for (const auto& [key, read, taken] : cases) EXPECT_EQ(key.fitted(read), taken) << key.name << " " << read;
    for (const IntKey* key : {&HotKeyVK, &HotKey, &HotKeyPrevVK, &HotKeyPrev, &HotKeyNextVK,  // the keys with a rule
                              &HotKeyNext, &CountItemsInRange, &CountMenuItemsInRange, &Sleep, &OptionsIndex})
        EXPECT_EQ(key->fitted(key->fallback), key->fallback) << key->name;
    const std::tuple<const TextKey&, std::string, bool> texts[] = {
        {DBPath, "", false}, {DBPath, std::string(511, 'a'), true}, {DBPath, std::string(512, 'a'), false},
        {ExceptApp, "", true}};  // an empty list excludes nothing
    for (const auto& [key, value, accepted] : texts) EXPECT_EQ(key.accepts(value), accepted) << key.name;
}

TEST(IntegerText, ANumberOrNothing) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"  1000  ", 1000}, {"+12", 12}, {"2147483647", INT_MAX}, {"-2147483648", INT_MIN}, {"", {}}, {"-", {}},
        {"1 2", {}},        {"0x10", {}}, {"2147483648", {}},     {"-2147483649", {}}};
    for (const auto& [text, value] : cases) EXPECT_EQ(parseIntegerField(text), value) << '"' << text << '"';
}

TEST(HyperLink, AddressTooltipBrowserCommandAndError) {
    using namespace hyperlink;
    const std::pair<std::string, std::string> cases[] = {
        {addressFromText("WwW.example.org/a"), "http://WwW.example.org/a"}, {addressFromText("www"), "www"},
        {addressFromText("a@b.org"), "a@b.org"}, {tooltipText("https://example.org"), "https://example.org"},
        {tooltipText("HTTP://www.example.org/x"), "Go to www.example.org/x"}, {tooltipText("MailTo:a@b"), "E-mail a@b"},
        {browserCommandLine("\"C:\\b.exe\" -url \"%1\" -new", "mailto:a@b"), "\"C:\\b.exe\" -url  mailto:a@b"},
        {browserCommandLine("b.exe %1 -new", "x"), "b.exe  x"}, {browserCommandLine("b.exe -no", "x"), "b.exe -no x"},
        {browserCommandLine("b.exe -p %1x \"%1\"", "x"), "b.exe -p %1x  x"},  // the quoted one wins
        {openErrorMessage(-7), "Unable to open hyperlink:\n\nUnknown Error (-7) occurred."}};
    for (const auto& [text, expected] : cases) EXPECT_EQ(text, expected);
}

TEST(HotKeyCodes, StoredFormAndControlWordConvertBothWays) {
    using namespace hotkeycodes;
    constexpr uint16_t alt = 1, ctrl = 2, shift = 4, windows = 8;
    constexpr uint16_t cAlt = 4 << 8, cCtrl = 2 << 8, cShift = 1 << 8, extended = kExtendedFlag << 8;
    const std::pair<HotKeyCombination, uint16_t> cases[] = {
        {{0, 0}, 0}, {{ctrl, 68}, cCtrl | 68}, {{alt | shift, 81}, cAlt | cShift | 81},
        {{0, 35}, extended | 35}, {{ctrl | shift, 38}, cCtrl | cShift | extended | 38}};  // 35 to 40 are extended
    for (const auto& [stored, word] : cases) {
        EXPECT_EQ(controlWord(stored), word) << stored.key;
        const HotKeyCombination back = combinationOf(word);
        EXPECT_EQ(std::tie(back.modifiers, back.key), std::tie(stored.modifiers, stored.key));
        EXPECT_TRUE(unchanged(word, stored));
    }
    EXPECT_TRUE(unchanged(cCtrl | cShift | 38, {ctrl | shift, 38})) << "read back without the extended flag";
    EXPECT_TRUE(unchanged(controlWord({windows | alt, 81}), {windows | alt, 81})) << "keeps what it cannot show";
}

}  // namespace

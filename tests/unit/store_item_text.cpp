// The side table's texts: UTF-16 to UTF-8, the Unicode caption, and where a record's text comes from.
#include "store/ItemText.h"
#include "store/Utf8Text.h"

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

// UTF-16LE bytes with the terminator a clipboard block has.
std::string block(std::u16string_view text) {
    std::string bytes;
    for (char16_t unit : text) bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    return bytes + "\0\0"s;
}

std::string repeat(const std::string& piece, int times) {
    std::string text;
    while (times-- > 0) text += piece;
    return text;
}

TEST(Utf8Text, Utf16BlocksAndCaptionsCountWholeCharacters) {
    const std::tuple<std::string, std::size_t, std::string> cases[] = {
        {block(u"Привет, 你好 \U0001F600"), 99, "Привет, 你好 😀"}, {block(std::u16string_view(u"a\0b", 3)), 99, "a"},
        {block(u"a\xD83D" u"b"), 99, "a\xEF\xBF\xBD" "b"},  // an unpaired surrogate
        {block(u"odd") + "x", 9, "odd"}, {"", 9, ""}, {block(u"a\U0001F600"), 4, "a"}, {block(u"a\U0001F600"), 5, "a😀"}};
    for (const auto& [bytes, maxBytes, utf8] : cases) EXPECT_EQ(utf8::fromUtf16Block(bytes, maxBytes), utf8);
    const std::pair<std::string, std::string> captions[] = {
        {"  \t\r\n ", ""}, {" \t\r\n lead", "lead"}, {"a\tb\nc\rd  ", "a b c d  "}, {repeat("x", 50), repeat("x", 50)},
        {repeat("x", 51), repeat("x", 50) + "..."}, {repeat("ж", 50), repeat("ж", 50)},
        {repeat("你", 51), repeat("你", 50) + "..."}, {repeat("a", 49) + "😀b", repeat("a", 49) + "😀..."}};
    for (const auto& [text, caption] : captions) EXPECT_EQ(unicodeCaption(text), caption) << text;
}

ClipRecord record(int type, std::optional<std::string> data, std::optional<ClipRecord::Utf8Texts> utf8 = {}) {
    return {0, 0, {}, "", "Untitled", "\x07\x04\0\0"s, "caf\xE9\0slack"s, type, data, utf8};
}

TEST(ItemTextOf, EachTypeTakesItsTextFromTheRightPlace) {
    bool localeUsed = false;
    const AnsiToUtf8 fromAnsi = [&](std::string_view ansi, const std::optional<std::string>& locale) {
        localeUsed |= locale == "\x07\x04\0\0"s;
        return "<" + utf8::fromLatin1(ansi) + ">";
    };
    const ClipRecord::Utf8Texts captured{"Ёлка\tзелёная", "wordpad.exe", "Документ"};
    const std::tuple<ClipRecord, std::string, std::string, std::string> cases[] = {
        {record(PlainText, {}), "<café>", "<café>", "<Untitled>"},  // the ANSI text up to its zero
        {record(UnicodeText, block(u"你好世界")), "你好世界", "你好世界", "<Untitled>"},
        {record(RichText, "{\\rtf1 x}", captured), "Ёлка зелёная", "Ёлка\tзелёная", "Документ"},  // the capture's wins
        {record(Bitmap, "BM", captured), "Image", "", "Документ"},
        {record(UnicodeText, block(u"x" + std::u16string(40000, u'你'))), "x" + repeat("你", 49) + "...",
         "x" + repeat("你", (kIndexedTextBytes - 1) / 3), "<Untitled>"},  // indexed up to the cap, at a whole character
    };
    for (const auto& [item, caption, text, sourceTitle] : cases) {
        const ItemText made = itemTextOf(item, fromAnsi);
        EXPECT_EQ(std::tie(made.caption, made.text, made.sourceTitle), std::tie(caption, text, sourceTitle)) << caption;
    }
    EXPECT_TRUE(localeUsed) << "converted in the code page of its locale";
}

}  // namespace

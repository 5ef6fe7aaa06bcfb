// A record's values: the exact stored forms of awkward ones and what reads as absent (arbitrary round
// trips are fuzzed), and the side table's UTF-8 texts and where they come from.
#include "store/BinaryCodec.h"
#include "store/ItemText.h"
#include "store/StoredValue.h"
#include "store/Utf8Text.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

using namespace std::string_literals;

std::string stored(const std::string& block) { return storedForm(block.data(), block.size()); }

std::string repeat(const std::string& piece, int times) {
    std::string text;
    while (times-- > 0) text += piece;
    return text;
}

TEST(StoredValue, EveryFieldHasThisExactFormAndReadsBack) {
    std::string all(256, '\0');
    std::iota(all.begin(), all.end(), '\0');  // every byte value once
    const std::pair<std::string, std::string> cases[] = {
        {stored(""), "x"}, {stored("\0"s), "\x01\xff"}, {stored("\xff"), "\x01\xfe"}, {stored("it's"), "\x01hs&r"},
        {stored("\x01\x02\x28"), "\x03\xfe\xff\x25"},  // the first offset that needs no escape wins
        {stored(all.substr(1, 38)).substr(0, 1), "\x28"},  // never 39, which would let an apostrophe through
        // Every value present: each offset needs 3 escapes, so 1 stays; 1, 2, 40 become 01 01, 01 02, 01 03.
        {stored(all), "\x01\xff\x01\x01\x01\x02" + all.substr(2, 37) + "\x01\x03" + all.substr(40, 215)},
        {storedText(""), stored("\0"s)}, {storedCaption(""), stored("\0"s)},  // a text keeps its terminator
        {storedCaption(std::nullopt), ""}, {storedBlock(std::nullopt), "(null)"}, {storedBlock(""s), "x"}};
    for (const auto& [form, expected] : cases) EXPECT_EQ(form, expected);
    const std::string worst = repeat(all, 12);  // every value equally often fills the bound to its last byte
    EXPECT_EQ(stored(worst).size() + 1, encodedBufferSize(worst.size()));
    const std::tuple<const char*, std::optional<std::string>, std::string> columns[] = {
        {nullptr, std::nullopt, ""}, {"(null)", std::nullopt, ""}, {"\x05" "ab\x01\x04", std::nullopt, ""},  // damaged
        {"(NULL)", "v}ttQ"s, "v}ttQ"}, {"\x07", ""s, ""},  // only the exact marker is absent; an offset byte alone
        {"\x01`\xff" "b\xff", "a\0c\0"s, "a"}, {"\x01`ab", "abc"s, "abc"}};  // a text is cut at its first zero, if any
    for (const auto& [column, block, text] : columns) {
        EXPECT_EQ(readStoredBlock(column), block) << (column ? column : "NULL");
        EXPECT_EQ(readStoredText(column), text);
    }
}

// UTF-16LE bytes with the terminator a clipboard block has.
std::string block(std::u16string_view text) {
    std::string bytes;
    for (char16_t unit : text) bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    return bytes + "\0\0"s;
}

TEST(Utf8Text, Utf16BlocksAndCaptionsCountWholeCharacters) {
    const std::tuple<std::string, std::size_t, std::string> cases[] = {
        {block(u"Привет, 你好 \U0001F600"), 99, "Привет, 你好 😀"}, {block(std::u16string_view(u"a\0b", 3)), 99, "a"},
        {block(u"a\xD83D" u"b"), 99, "a\xEF\xBF\xBD" "b"},  // an unpaired surrogate
        {block(u"od") + "x", 9, "od"}, {block(u"a\U0001F600"), 4, "a"}, {block(u"a\U0001F600"), 5, "a😀"}};
    for (const auto& [bytes, maxBytes, utf8] : cases) EXPECT_EQ(utf8::fromUtf16Block(bytes, maxBytes), utf8);
    const std::pair<std::string, std::string> captions[] = {
        {"  \t\r\n ", ""}, {" \t\r\n lead", "lead"}, {"a\tb\nc\rd  ", "a b c d  "}, {repeat("ж", 50), repeat("ж", 50)},
        {repeat("x", 51), repeat("x", 50) + "..."}, {repeat("a", 49) + "😀b", repeat("a", 49) + "😀..."}};
    for (const auto& [text, caption] : captions) EXPECT_EQ(unicodeCaption(text), caption) << text;
}

ClipRecord record(int type, std::optional<std::string> data, std::optional<ClipRecord::Utf8Texts> utf8 = {}) {
    return {0, 0, {}, "", "Untitled", "\x07\x04\0\0"s, "caf\xE9\0slack"s, type, data, utf8};
}

TEST(ItemTextOf, EachTypeTakesItsTextFromTheRightPlace) {
    // Marks what was converted in the code page of the record's locale.
    const AnsiToUtf8 fromAnsi = [](std::string_view ansi, const std::optional<std::string>& locale) {
        return (locale == "\x07\x04\0\0"s ? "L:" : "") + utf8::fromLatin1(ansi);
    };
    const ClipRecord::Utf8Texts captured{"Ёлка\tзелёная", "wordpad.exe", "Документ"};
    const std::tuple<ClipRecord, std::string, std::string, std::string> cases[] = {
        {record(PlainText, {}), "L:café", "L:café", "Untitled"},  // the ANSI text up to its zero
        {record(UnicodeText, block(u"你好世界")), "你好世界", "你好世界", "Untitled"},
        {record(RichText, "{\\rtf1 x}", captured), "Ёлка зелёная", "Ёлка\tзелёная", "Документ"},  // the capture's wins
        {record(Bitmap, "BM", captured), "Image", "", "Документ"},
        {record(UnicodeText, block(u"x" + std::u16string(40000, u'你'))), "x" + repeat("你", 49) + "...",
         "x" + repeat("你", (kIndexedTextBytes - 1) / 3), "Untitled"}};  // indexed up to the cap, at a whole character
    for (const auto& [item, caption, text, sourceTitle] : cases) {
        const ItemText made = itemTextOf(item, fromAnsi);
        EXPECT_EQ(std::tie(made.caption, made.text, made.sourceTitle), std::tie(caption, text, sourceTitle)) << caption;
    }
}

}  // namespace

// The side table's texts: UTF-16 to UTF-8, cuts at whole characters, the Unicode caption, and
// which source a record's text comes from.
#include "store/ItemText.h"
#include "store/Utf8Text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;

// UTF-16LE bytes of a UTF-16 literal, with its terminator as a clipboard block has it.
std::string block(std::u16string_view text) {
    std::string bytes;
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes + "\0\0"s;
}

std::string repeat(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) text += piece;
    return text;
}

TEST(Utf8Text, Utf16BlocksConvert) {
    const struct {
        std::string bytes;
        std::string utf8;
    } cases[] = {
        {block(u"Привет, мир"), "Привет, мир"},
        {block(u"Γειά σου Κόσμε"), "Γειά σου Κόσμε"},
        {block(u"你好世界"), "你好世界"},
        {block(u"Smile \U0001F600 end"), "Smile 😀 end"},
        {block(std::u16string_view(u"stops\0here", 10)), "stops"},
        {block(u"a\xD83D" u"b"), "a\xEF\xBF\xBD" "b"},  // an unpaired surrogate
        {block(u"odd") + "x", "odd"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(utf8::fromUtf16Block(c.bytes), c.utf8) << c.utf8;
}

TEST(Utf8Text, ALimitedConversionStopsBeforeTheCharacterThatWouldPassIt) {
    const std::string bytes = block(u"ab\U0001F600c");
    EXPECT_EQ(utf8::fromUtf16Block(bytes, 5), "ab");
    EXPECT_EQ(utf8::fromUtf16Block(bytes, 6), "ab😀");
    EXPECT_EQ(utf8::fromUtf16Block(bytes, 7), "ab😀c");
}

TEST(Utf8Text, PrefixesAndCountsNeverSplitACharacter) {
    const std::string text = "aж你😀";  // 1 + 2 + 3 + 4 bytes
    const struct {
        std::size_t maxBytes;
        std::string prefix;
    } cases[] = {{0, ""}, {1, "a"}, {2, "a"}, {3, "aж"}, {5, "aж"}, {6, "aж你"}, {9, "aж你"}, {10, text}, {99, text}};
    for (const auto& c : cases) EXPECT_EQ(utf8::prefixBytes(text, c.maxBytes), c.prefix) << c.maxBytes;
    EXPECT_EQ(utf8::bytesOfChars(text, 2), 3u);
    EXPECT_EQ(utf8::bytesOfChars(text, 9), text.size());
    EXPECT_EQ(utf8::charCount(text), 4u);
    EXPECT_EQ(utf8::fromLatin1("caf\xE9"), "café");
}

TEST(UnicodeCaption, FiftyCharactersNotBytes) {
    const std::string cyrillic50 = repeat("ж", 50), cjk50 = repeat("你", 50);
    const struct {
        std::string text;
        std::string caption;
    } cases[] = {
        {"", ""},
        {"  \t\r\n ", ""},
        {"hello", "hello"},
        {"   \t\r\n  lead", "lead"},
        {"a\tb\nc\rd", "a b c d"},
        {"trailing  ", "trailing  "},
        {repeat("x", 50), repeat("x", 50)},
        {repeat("x", 51), repeat("x", 50) + "..."},
        {cyrillic50, cyrillic50},
        {cyrillic50 + "ы", cyrillic50 + "..."},
        {cjk50 + "你好", cjk50 + "..."},
        {repeat("a", 49) + "😀b", repeat("a", 49) + "😀..."},
        {repeat("a", 50) + "😀", repeat("a", 50) + "..."},
        {"Smile 😀 end", "Smile 😀 end"},
        {"Привет,\nмир", "Привет, мир"},
        {" \n 你好世界", "你好世界"},
    };
    for (const auto& c : cases) EXPECT_EQ(unicodeCaption(c.text), c.caption) << c.text;
}

std::string notConverted(std::string_view, const std::optional<std::string>&) {
    ADD_FAILURE() << "the ANSI text was converted";
    return {};
}

TEST(ItemTextOf, EachTypeTakesItsTextFromTheRightPlace) {
    ClipRecord unicode;
    unicode.Type = UnicodeText;
    unicode.Text = "????\0"s;
    unicode.Data = block(u"你好世界");
    unicode.SourceName = "notepad.exe";
    unicode.SourceTitle = "Untitled";
    std::optional<std::string> localeSeen;
    const AnsiToUtf8 fromAnsi = [&](std::string_view ansi, const std::optional<std::string>& locale) {
        localeSeen = locale;
        return "<" + std::string(ansi) + ">";
    };
    ItemText item = itemTextOf(unicode, fromAnsi);
    EXPECT_EQ(item.text, "你好世界");
    EXPECT_EQ(item.caption, "你好世界");
    EXPECT_EQ(item.sourceName, "<notepad.exe>");
    EXPECT_EQ(item.sourceTitle, "<Untitled>");

    ClipRecord plain;
    plain.Text = "caf\xE9\0slack"s;
    plain.Locale = "\x07\x04\0\0"s;
    item = itemTextOf(plain, fromAnsi);
    EXPECT_EQ(item.text, "<caf\xE9>") << "the ANSI text up to its zero";
    EXPECT_EQ(localeSeen, plain.Locale) << "converted in the code page of its locale";

    ClipRecord rich = plain;
    rich.Type = RichText;
    rich.Data = "{\\rtf1 x}";
    rich.Utf8 = ClipRecord::Utf8Texts{"Ёлка\tзелёная", "wordpad.exe", "Документ"};
    item = itemTextOf(rich, notConverted);
    EXPECT_EQ(item.text, "Ёлка\tзелёная") << "the capture's Unicode text wins";
    EXPECT_EQ(item.caption, "Ёлка зелёная");
    EXPECT_EQ(item.sourceTitle, "Документ");

    ClipRecord image;
    image.Type = Bitmap;
    image.Data = "BM";
    image.Utf8 = ClipRecord::Utf8Texts{"", "mspaint.exe", ""};
    item = itemTextOf(image, notConverted);
    EXPECT_EQ(item.caption, "Image");
    EXPECT_EQ(item.text, "");
}

TEST(ItemTextOf, AHugeTextIsIndexedUpToTheCapAtAWholeCharacter) {
    ClipRecord record;
    record.Type = UnicodeText;
    record.Utf8 = ClipRecord::Utf8Texts{"a" + repeat("你", 40000), "", ""};
    const ItemText item = itemTextOf(record, notConverted);
    EXPECT_LE(item.text.size(), kIndexedTextBytes);
    EXPECT_GT(item.text.size(), kIndexedTextBytes - 3);
    EXPECT_EQ(utf8::prefixBytes(item.text, item.text.size()), item.text);
    EXPECT_EQ((item.text.size() - 1) % 3, 0u) << "no character cut";
    record.Utf8.reset();
    record.Data = block(u"x" + std::u16string(40000, u'你'));
    const AnsiToUtf8 sourceOnly = [](std::string_view ansi, const std::optional<std::string>&) { return std::string(ansi); };
    EXPECT_EQ(itemTextOf(record, sourceOnly).text.size(), 1 + 3 * ((kIndexedTextBytes - 1) / 3));
}

}  // namespace

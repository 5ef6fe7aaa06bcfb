// The side table's texts: UTF-16 to UTF-8, cuts at whole characters, the Unicode caption, and
// which source a record's text comes from.
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

TEST(Utf8Text, Utf16BlocksConvertAndCutAtWholeCharacters) {
    const struct {
        std::string bytes;
        std::size_t maxBytes;
        std::string utf8;
    } cases[] = {
        {block(u"Привет, 你好 \U0001F600"), 99, "Привет, 你好 😀"},
        {block(std::u16string_view(u"stops\0here", 10)), 99, "stops"},
        {block(u"a\xD83D" u"b"), 99, "a\xEF\xBF\xBD" "b"},  // an unpaired surrogate
        {block(u"odd") + "x", 99, "odd"},
        {"", 99, ""},
        {block(u"ab\U0001F600c"), 5, "ab"},
        {block(u"ab\U0001F600c"), 6, "ab😀"},
    };
    for (const auto& c : cases) EXPECT_EQ(utf8::fromUtf16Block(c.bytes, c.maxBytes), c.utf8) << c.utf8;
    const std::string text = "aж你😀";  // 1 + 2 + 3 + 4 bytes
    for (const auto& [maxBytes, prefix] : {std::pair<std::size_t, std::string>{0, ""}, {2, "a"}, {5, "aж"}, {10, text}})
        EXPECT_EQ(utf8::prefixBytes(text, maxBytes), prefix) << maxBytes;
    EXPECT_EQ(utf8::bytesOfChars(text, 2), 3u);
    EXPECT_EQ(utf8::bytesOfChars(text, 9), text.size());
}

TEST(UnicodeCaption, FiftyCharactersNotBytes) {
    const struct {
        std::string text, caption;
    } cases[] = {
        {"  \t\r\n ", ""},
        {"   \t\r\n  lead", "lead"},
        {"a\tb\nc\rd  ", "a b c d  "},
        {repeat("x", 50), repeat("x", 50)},
        {repeat("x", 51), repeat("x", 50) + "..."},
        {repeat("ж", 50), repeat("ж", 50)},
        {repeat("你", 51), repeat("你", 50) + "..."},
        {repeat("a", 49) + "😀b", repeat("a", 49) + "😀..."},
    };
    for (const auto& c : cases) EXPECT_EQ(unicodeCaption(c.text), c.caption) << c.text;
}

TEST(ItemTextOf, EachTypeTakesItsTextFromTheRightPlace) {
    bool localeUsed = false;
    const AnsiToUtf8 fromAnsi = [&](std::string_view ansi, const std::optional<std::string>& locale) {
        localeUsed |= locale == "\x07\x04\0\0"s;
        return "<" + utf8::fromLatin1(ansi) + ">";
    };
    ClipRecord plain;
    plain.Text = "caf\xE9\0slack"s;
    plain.Locale = "\x07\x04\0\0"s;
    plain.SourceTitle = "Untitled";
    ClipRecord unicode = plain;
    unicode.Type = UnicodeText;
    unicode.Data = block(u"你好世界");
    ClipRecord rich = plain;
    rich.Type = RichText;
    rich.Utf8 = ClipRecord::Utf8Texts{"Ёлка\tзелёная", "wordpad.exe", "Документ"};
    ClipRecord image = rich;
    image.Type = Bitmap;
    ClipRecord huge = unicode;
    huge.Data = block(u"x" + std::u16string(40000, u'你'));
    const struct {
        const char* what;
        ClipRecord record;
        std::string caption, text, sourceTitle;
    } cases[] = {
        {"the ANSI text up to its zero", plain, "<café>", "<café>", "<Untitled>"},
        {"a Unicode item's own block", unicode, "你好世界", "你好世界", "<Untitled>"},
        {"the capture's Unicode text wins", rich, "Ёлка зелёная", "Ёлка\tзелёная", "Документ"},
        {"an image", image, "Image", "", "Документ"},
        {"indexed up to the cap, at a whole character", huge, "x" + repeat("你", 49) + "...",
         "x" + repeat("你", (kIndexedTextBytes - 1) / 3), "<Untitled>"},
    };
    for (const auto& c : cases) {
        const ItemText item = itemTextOf(c.record, fromAnsi);
        EXPECT_EQ(std::tie(item.caption, item.text, item.sourceTitle), std::tie(c.caption, c.text, c.sourceTitle)) << c.what;
    }
    EXPECT_TRUE(localeUsed) << "converted in the code page of its locale";
}

}  // namespace

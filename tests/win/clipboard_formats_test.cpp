// The blocks the capture derives from what another program offers: the Unicode text of an ANSI
// copy, and a CF_DIB of a picture offered only as PNG. That bytes which do not decode give no
// record is seen end to end.
#include "clipboard/AnsiText.h"
#include "clipboard/ClipboardAccess.h"
#include "clipboard/PngToDib.h"
#include "win_support.h"

namespace {

// Every byte but the terminator, or (for a double-byte code page) every lead byte before every trail.
std::string everyCharacter(UINT codePage = 0) {
    std::string bytes;
    for (int lead = 1; lead < 256; ++lead) {
        if (!codePage) bytes += static_cast<char>(lead);
        else if (IsDBCSLeadByteEx(codePage, static_cast<BYTE>(lead)))
            for (int trail = 0x40; trail < 0x100; ++trail) bytes += {static_cast<char>(lead), static_cast<char>(trail)};
    }
    return bytes + '\0';
}

// Three columns, two rows, top row first, as blue, green, red, alpha; every pixel different.
const BYTE kPicture[2][3][4] = {{{0, 0, 255, 255}, {0, 255, 0, 255}, {255, 0, 0, 128}},
                                {{10, 20, 30, 255}, {200, 100, 50, 0}, {255, 255, 255, 255}}};
// kPicture as PNG files, written once with Python's zlib: with alpha, and colour only.
const std::string kWithAlpha(
    "\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR\x00\x00\x00\x03\x00\x00\x00\x02\x08\x06\x00\x00\x00\x9d\x74\x66\x1a"
    "\x00\x00\x00\x1dIDAT\x78\xda\x63\xf8\xcf\xc0\xf0\x1f\x0c\x19\xfe\x37\x30\xc8\x89\x70\xfd\x37\x4a\x39\xc1\xf0"
    "\x1f\x08\x00\x89\x47\x0c\x11\x59\xc7\x21\xc9\x00\x00\x00\x00IEND\xae\x42\x60\x82", 86);
const std::string kColourOnly(
    "\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR\x00\x00\x00\x03\x00\x00\x00\x02\x08\x02\x00\x00\x00\x12\x16\xf1\x4d"
    "\x00\x00\x00\x18IDAT\x78\xda\x63\xf8\xcf\xc0\xc0\x00\xc1\x72\x22\x5c\x46\x29\x27\xfe\xff\xff\x0f\x00\x3b\x15"
    "\x07\x95\x80\x6d\x09\x17\x00\x00\x00\x00IEND\xae\x42\x60\x82", 81);

}  // namespace

TEST(DerivedUnicodeText, IsTheBlockTheSystemSynthesizesForTheLocaleGiven) {
    const struct { const char* name; LCID locale; std::string bytes; } cases[] = {
        {"every byte, Western", 0x0409, everyCharacter()}, {"every byte, Cyrillic", 0x0419, everyCharacter()},
        {"every byte, Japanese", 0x0411, everyCharacter()}, {"every pair, Japanese", 0x0411, everyCharacter(932)},
        {"lone lead byte at the end, Japanese", 0x0411, std::string("ab\x82", 3)},
        {"bytes after the terminator", 0x0409, std::string("abc\0xyz", 7)},
        {"no terminator", 0x0409, "abcd"}, {"only a terminator", 0x0409, std::string(1, '\0')}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        SetClipboardBlock(c.bytes.data(), c.bytes.size(), CF_TEXT);
        SetClipboardBlock(&c.locale, sizeof c.locale, CF_LOCALE);
        CloseClipboard();
        ASSERT_TRUE(OpenClipboard(nullptr));
        const std::optional<std::string> synthesized = copyClipBlock(CF_UNICODETEXT), locale = copyClipBlock(CF_LOCALE);
        CloseClipboard();
        ASSERT_TRUE(synthesized);
        EXPECT_EQ(unicodeBlockFromAnsi(c.bytes, codePageOfLocale(locale)), synthesized);
    }
    // Without a whole locale block, the system's code page.
    EXPECT_EQ(codePageOfLocale(std::nullopt), UINT{CP_ACP});
    EXPECT_EQ(codePageOfLocale(std::string("\x19", 1)), UINT{CP_ACP});
}

TEST(PngToDib, GivesA32BitDibWithTheBottomRowFirst) {
    for (bool withAlpha : {true, false}) {
        SCOPED_TRACE(withAlpha ? "with alpha" : "colour only");
        const BITMAPINFOHEADER header = {sizeof header, 3, 2, 1, 32, BI_RGB, sizeof kPicture, 0, 0, 0, 0};
        std::string expected(reinterpret_cast<const char*>(&header), sizeof header);
        for (int row : {1, 0})
            for (const BYTE* pixel : kPicture[row]) expected += {char(pixel[0]), char(pixel[1]), char(pixel[2]),
                                                                 char(withAlpha ? pixel[3] : 255)};
        EXPECT_EQ(dibFromPng(withAlpha ? kWithAlpha : kColourOnly), expected);
    }
}

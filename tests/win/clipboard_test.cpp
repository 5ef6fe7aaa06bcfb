// The blocks the capture derives from what another program offers: the Unicode text of an ANSI
// copy, and a CF_DIB of a picture offered only as PNG. That bytes which do not decode give no
// record is seen end to end.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "clipboard/AnsiText.h"
#include "clipboard/ClipboardAccess.h"
#include "clipboard/PngToDib.h"

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
// kPicture as a PNG file with alpha, written once with Python's zlib.
const std::string kPng(
    "\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR\x00\x00\x00\x03\x00\x00\x00\x02\x08\x06\x00\x00\x00\x9d\x74\x66\x1a"
    "\x00\x00\x00\x1dIDAT\x78\xda\x63\xf8\xcf\xc0\xf0\x1f\x0c\x19\xfe\x37\x30\xc8\x89\x70\xfd\x37\x4a\x39\xc1\xf0"
    "\x1f\x08\x00\x89\x47\x0c\x11\x59\xc7\x21\xc9\x00\x00\x00\x00IEND\xae\x42\x60\x82", 86);

}  // namespace

TEST(DerivedUnicodeText, IsTheBlockTheSystemSynthesizesForTheLocaleGiven) {
    const struct { const char* name; LCID locale; std::string bytes; } cases[] = {
        {"every byte, Cyrillic", 0x0419, everyCharacter()}, {"every pair, Japanese", 0x0411, everyCharacter(932)},
        {"bytes after the terminator", 0x0409, std::string("abc\0xyz", 7)}, {"no terminator", 0x0409, "abcd"}};
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
    const BITMAPINFOHEADER header = {sizeof header, 3, 2, 1, 32, BI_RGB, sizeof kPicture, 0, 0, 0, 0};
    std::string expected(reinterpret_cast<const char*>(&header), sizeof header);
    for (int row : {1, 0})
        expected.append(reinterpret_cast<const char*>(kPicture[row]), sizeof kPicture[row]);
    EXPECT_EQ(dibFromPng(kPng), expected);
}

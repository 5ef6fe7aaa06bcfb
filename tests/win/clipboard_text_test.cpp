// The Unicode text the capture derives from an ANSI copy is the one the system synthesizes,
// byte for byte, in single- and double-byte code pages.
#include "clipboard/AnsiText.h"
#include "clipboard/ClipboardAccess.h"
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

}  // namespace

TEST(DerivedUnicodeText, IsTheBlockTheSystemSynthesizesForTheLocaleGiven) {
    const struct { const char* name; LCID locale; std::string bytes; } cases[] = {
        {"every byte, Western", 0x0409, everyCharacter()},
        {"every byte, Cyrillic", 0x0419, everyCharacter()},
        {"every byte, Japanese", 0x0411, everyCharacter()},
        {"every pair, Japanese", 0x0411, everyCharacter(932)},
        {"lone lead byte at the end, Japanese", 0x0411, std::string("ab\x82", 3)},
        {"bytes after the terminator", 0x0409, std::string("abc\0xyz", 7)},
        {"no terminator", 0x0409, "abcd"},
        {"only a terminator", 0x0409, std::string(1, '\0')},
    };
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
}

// A locale block that names a code page is taken by the table above.
TEST(DerivedUnicodeText, WithoutAWholeLocaleBlockTheCodePageIsTheSystems) {
    EXPECT_EQ(codePageOfLocale(std::nullopt), UINT{CP_ACP});
    EXPECT_EQ(codePageOfLocale(std::string("\x19", 1)), UINT{CP_ACP});
}

// The Unicode text the capture derives from an ANSI copy against the one the system
// synthesizes, byte for byte, in single- and double-byte code pages.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

#include "clipboard/AnsiText.h"
#include "clipboard/ClipboardAccess.h"

namespace {

void placeAnsiText(const std::string& bytes, LCID locale) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardBlock(bytes.data(), bytes.size(), CF_TEXT);
    SetClipboardBlock(&locale, sizeof locale, CF_LOCALE);
    CloseClipboard();
}

struct Fetched {
    std::optional<std::string> unicode;
    std::optional<std::string> locale;
};

Fetched fetchSynthesized() {
    Fetched fetched;
    if (!OpenClipboard(nullptr)) return fetched;
    fetched.unicode = copyClipBlock(CF_UNICODETEXT);
    fetched.locale = copyClipBlock(CF_LOCALE);
    CloseClipboard();
    return fetched;
}

std::string everyByte() {
    std::string bytes;
    for (int byte = 1; byte < 256; ++byte) bytes += static_cast<char>(byte);
    return bytes + '\0';
}

// Every lead byte of code page 932 before every byte that can follow it.
std::string everyDoubleBytePair() {
    std::string bytes;
    for (int lead = 0x81; lead < 0x100; ++lead) {
        if (!IsDBCSLeadByteEx(932, static_cast<BYTE>(lead))) continue;
        for (int trail = 0x40; trail < 0x100; ++trail) {
            bytes += static_cast<char>(lead);
            bytes += static_cast<char>(trail);
        }
    }
    return bytes + '\0';
}

struct Case {
    const char* name;
    LCID locale;
    std::string bytes;
};

TEST(DerivedUnicodeText, IsTheBlockTheSystemSynthesizes) {
    const std::string junkAfterEnd("abc\0xyz", 7);
    const Case cases[] = {
        {"every byte, Western", 0x0409, everyByte()},
        {"every byte, Cyrillic", 0x0419, everyByte()},
        {"every byte, Greek", 0x0408, everyByte()},
        {"every byte, Turkish", 0x041F, everyByte()},
        {"every byte, Japanese", 0x0411, everyByte()},
        {"every pair, Japanese", 0x0411, everyDoubleBytePair()},
        {"lone lead byte at the end, Japanese", 0x0411, std::string("ab\x82", 3)},
        {"bytes after the terminator", 0x0409, junkAfterEnd},
        {"no terminator", 0x0409, "abcd"},
        {"only a terminator", 0x0409, std::string(1, '\0')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        placeAnsiText(c.bytes, c.locale);
        const Fetched fetched = fetchSynthesized();
        ASSERT_TRUE(fetched.unicode);
        const std::optional<std::string> derived = unicodeBlockFromAnsi(c.bytes, codePageOfLocale(fetched.locale));
        ASSERT_TRUE(derived);
        EXPECT_EQ(*derived, *fetched.unicode);
    }
}

TEST(DerivedUnicodeText, CodePageFollowsTheLocaleBlock) {
    const struct { std::optional<std::string> block; UINT codePage; } cases[] = {
        {std::string("\x19\x04\0\0", 4), 1251},
        {std::string("\x11\x04\0\0", 4), 932},
        {std::nullopt, CP_ACP},
        {std::string("\x19", 1), CP_ACP},
    };
    for (const auto& c : cases) EXPECT_EQ(codePageOfLocale(c.block), c.codePage);
}

}  // namespace

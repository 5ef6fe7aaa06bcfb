// Layout of the preview tooltip text, byte for byte.
#include <gtest/gtest.h>

#include <string>

#include "ui/selection/PreviewText.h"

using preview::RecordFields;

namespace {
const std::string kRule = "=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-=-==-=-=";

// Stands in for the ANSI code page: ASCII kept, everything else as '?', bracketed so that the
// test sees the converter was used.
std::string fakeAnsi(std::u16string_view text) {
    std::string out = "[";
    for (char16_t unit : text) out += unit < 0x80 ? static_cast<char>(unit) : '?';
    return out + "]";
}

RecordFields textRecord() {
    RecordFields r;
    r.sourceName = std::string("notepad.exe\0", 12);
    r.sourceTitle = std::string("Untitled - Notepad\0", 19);
    r.captureTime = "12/06/26 19:34:56";
    r.id = 41;
    r.type = 0;
    r.text = std::string("hello world\0slack", 17);
    return r;
}

std::string header(const std::string& afterRule) {
    return kRule + afterRule + "        Date&Time  :   12/06/26 19:34:56              Id  :   41\n" + kRule + "\n";
}

std::string build(const RecordFields& r) { return preview::previewText(r, fakeAnsi); }

std::string utf16le(std::u16string_view text) {
    std::string bytes;
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}
}  // namespace

TEST(PreviewText, LabelsHaveTheirExactBlanks) {
    EXPECT_EQ(build(textRecord()),
              header("\n        Application  :   notepad.exe\n        Title             :   Untitled - Notepad\n") +
                  "hello world");
}

TEST(PreviewText, HeaderPartsByPresence) {
    RecordFields noTitle = textRecord();
    noTitle.sourceTitle.reset();
    EXPECT_EQ(build(noTitle), header("\n        Application  :   notepad.exe") + "hello world")
        << "without a title Date&Time follows on the application's line";

    RecordFields noSource = textRecord();
    noSource.sourceName.reset();
    noSource.sourceTitle.reset();
    EXPECT_EQ(build(noSource), header("") + "hello world");

    RecordFields emptyName = textRecord();
    emptyName.sourceName = std::string("\0", 1);
    emptyName.sourceTitle.reset();
    EXPECT_EQ(build(emptyName), header("\n        Application  :   ") + "hello world")
        << "an encoded empty text is present";
}

TEST(PreviewText, BodyByType) {
    RecordFields image = textRecord();
    image.type = 8;
    image.text.reset();
    image.data = std::string("BM-ish bytes");
    EXPECT_EQ(build(image), header("\n        Application  :   notepad.exe\n        Title             :   "
                                   "Untitled - Notepad\n") +
                                "\t\t\t\tThis item contains Image\n\n");

    RecordFields unicode = textRecord();
    unicode.type = 13;
    unicode.data = utf16le(u"caf\u00e9 \u4e2d") + std::string("\0\0junk", 6);
    std::string expected = build(textRecord());
    expected.replace(expected.size() - 11, 11, "[caf? ?]");
    EXPECT_EQ(build(unicode), expected) << "Unicode items show Data through the converter, not Text";

    RecordFields unicodeWithoutData = unicode;
    unicodeWithoutData.data.reset();
    EXPECT_EQ(build(unicodeWithoutData), expected.substr(0, expected.size() - 8));
    unicodeWithoutData.data = std::string("\0\0", 2);
    EXPECT_EQ(build(unicodeWithoutData), expected.substr(0, expected.size() - 8)) << "empty text: nothing";

    RecordFields rich = textRecord();
    rich.type = -1;
    rich.data = std::string("{\\rtf1 hello}");
    EXPECT_EQ(build(rich), build(textRecord())) << "rich text shows its plain Text";

    RecordFields noText = textRecord();
    noText.text.reset();
    EXPECT_EQ(build(noText), build(textRecord()).substr(0, build(textRecord()).size() - 11));
}

TEST(PreviewText, NegativeAndLargeIds) {
    RecordFields r = textRecord();
    r.id = -7;
    EXPECT_NE(build(r).find("Id  :   -7\n"), std::string::npos);
    r.id = 2147483647;
    EXPECT_NE(build(r).find("Id  :   2147483647\n"), std::string::npos);
}

TEST(PreviewText, Utf16StopsAtTheFirstZeroCharacter) {
    EXPECT_EQ(preview::utf16UntilZero(std::string("\x00\x01" "A\x00" "\x00\x00" "B\x00", 8)), u"\u0100A");
    EXPECT_EQ(preview::utf16UntilZero(std::string("A\x00" "B", 3)), u"A") << "a trailing odd byte is ignored";
    EXPECT_EQ(preview::utf16UntilZero(""), u"");
}

TEST(PreviewTruncation, CutsAtTheLastBlankAtOrBefore2000) {
    std::string exact(2000, 'x');
    exact[10] = ' ';
    EXPECT_EQ(preview::truncated(exact), exact) << "2000 bytes are shown whole";

    std::string longer = exact + "y";
    EXPECT_EQ(preview::truncated(longer), exact.substr(0, 10) + "\n ...[text is truncated]");

    std::string blankAt2000 = std::string(2000, 'x') + " tail";
    blankAt2000[5] = ' ';
    EXPECT_EQ(preview::truncated(blankAt2000), std::string(5, 'x') + " " + std::string(1994, 'x') +
                                                   "\n ...[text is truncated]")
        << "position 2000 itself counts";

    std::string blankAt2001 = std::string(2001, 'x') + " tail";
    blankAt2001[1999] = ' ';
    EXPECT_EQ(preview::truncated(blankAt2001), std::string(1999, 'x') + "\n ...[text is truncated]");
}

TEST(PreviewTruncation, ABigClipWithoutBlanksIsCutInTheHeader) {
    RecordFields r = textRecord();
    r.text = std::string(100000, 'z');
    std::string full = build(r);
    std::string expected = full.substr(0, full.rfind("41\n") - 1) + "\n ...[text is truncated]";
    EXPECT_EQ(preview::truncated(full), expected) << "the last blank is the one before the id";
}

TEST(PreviewText, TheSideTablesTextIsShownInsteadOfTheBlocks) {
    RecordFields unicode = textRecord();
    unicode.type = 13;
    unicode.data = utf16le(u"\u4F60");
    unicode.unicodeText = "你好世界";
    EXPECT_EQ(build(unicode).substr(build(unicode).rfind('\n') + 1), "你好世界");
    RecordFields image = unicode;
    image.type = 8;
    EXPECT_NE(build(image).find("This item contains Image"), std::string::npos) << "an image keeps its note";
}

TEST(PreviewTruncation, TheLimitCountsCharactersNotBytes) {
    std::string cyrillic = "a ";
    for (int i = 2; i < 2000; ++i) cyrillic += "ы";
    EXPECT_EQ(preview::truncated(cyrillic), cyrillic) << "2000 characters are shown whole";
    EXPECT_EQ(preview::truncated(cyrillic + "ы"), "a\n ...[text is truncated]");
}

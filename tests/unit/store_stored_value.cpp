// Stored forms of values in table Log: the exact bytes of awkward inputs, and what reads as absent.
// Round trips of arbitrary bytes are the fuzz targets' job.
#include "store/BinaryCodec.h"
#include "store/StoredValue.h"

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

std::string stored(const std::string& block) { return storedForm(block.data(), block.size()); }

std::string everyByteValue(int rounds) {
    std::string bytes;
    for (int i = 0; i < 256 * rounds; ++i) bytes += static_cast<char>(i);
    return bytes;
}

TEST(StoredValue, AwkwardBytesHaveTheseExactForms) {
    const struct {
        const char* what;
        std::string block, form;
    } cases[] = {
        {"empty", "", "x"},
        {"a zero byte", "\0"s, "\x01\xff"},
        {"0xFF", "\xff", "\x01\xfe"},
        {"an apostrophe", "it's", "\x01\x68\x73\x26\x72"},
        {"the first offset that needs no escape wins", "\x01\x02\x28", "\x03\xfe\xff\x25"},
        // With every value present each offset needs three escapes: 1 is kept, and 1, 2 and 40
        // become 01 01, 01 02 and 01 03.
        {"every value", everyByteValue(1),
         "\x01\xff\x01\x01\x01\x02" + everyByteValue(1).substr(2, 37) + "\x01\x03" + everyByteValue(1).substr(40, 215)},
    };
    for (const auto& c : cases) EXPECT_EQ(stored(c.block), c.form) << c.what;

    std::string oneTo38;
    for (char v = 1; v <= 38; ++v) oneTo38 += v;
    EXPECT_EQ(stored(oneTo38)[0], '\x28') << "39 would let an apostrophe through, so it is never the offset";
}

TEST(StoredValue, EncodedBufferBoundIsExact) {
    for (const auto& [n, bound] : {std::pair<std::size_t, std::size_t>{0, 2}, {84, 86}, {85, 88}, {254, 259}})
        EXPECT_EQ(encodedBufferSize(n), bound) << n;
    // Every value equally often: the output fills the bound to its last byte.
    const std::string worst = everyByteValue(12);
    EXPECT_EQ(stored(worst).size() + 1, encodedBufferSize(worst.size()));
}

TEST(StoredValue, FieldsAndTheirStoredForms) {
    const struct {
        const char* what;
        std::string form, expected;
    } cases[] = {
        {"a text keeps its terminator", storedText("Image"), stored("Image\0"s)},
        {"an empty source name is stored", storedText(""), stored("\0"s)},
        {"no caption is the empty text", storedCaption(std::nullopt), ""},
        {"an empty caption is an empty text", storedCaption(""), stored("\0"s)},
        {"a caption", storedCaption("it's"), stored("it's\0"s)},
        {"an absent block", storedBlock(std::nullopt), "(null)"},
        {"an empty block", storedBlock(""s), "x"},
        {"a block", storedBlock("a\0'\xff"s), stored("a\0'\xff"s)},
    };
    for (const auto& c : cases) EXPECT_EQ(c.form, c.expected) << c.what;
}

TEST(StoredValue, ColumnsReadBack) {
    const struct {
        const char* what;
        const char* column;
        std::optional<std::string> block;
        std::string text;
    } cases[] = {
        {"SQL NULL", nullptr, std::nullopt, ""},
        {"the empty text", "", std::nullopt, ""},
        {"the absent marker", "(null)", std::nullopt, ""},
        {"an escape followed by 0x04", "\x05" "ab\x01\x04", std::nullopt, ""},
        {"an escape at the end", "\x05" "ab\x01", std::nullopt, ""},
        {"like the marker, but a value", "(NULL)", "v}ttQ"s, "v}ttQ"},
        {"an offset byte alone", "\x07", ""s, ""},
        {"a text is cut at its first zero", "\x01`\xff" "b\xff", "a\0c\0"s, "a"},
        {"a text without terminator", "\x01`ab", "abc"s, "abc"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(readStoredBlock(c.column), c.block) << c.what;
        EXPECT_EQ(readStoredText(c.column), c.text) << c.what;
    }
}

}  // namespace

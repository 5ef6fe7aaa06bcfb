// Exact stored forms of awkward values, and what reads as absent; arbitrary round trips are fuzzed.
#include "store/BinaryCodec.h"
#include "store/StoredValue.h"

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

std::string stored(const std::string& block) { return storedForm(block.data(), block.size()); }

std::string everyByteValue(int times) {
    std::string bytes;
    for (int i = 0; i < 256 * times; ++i) bytes += static_cast<char>(i);
    return bytes;
}

TEST(StoredValue, EveryFieldHasThisExactFormAndReadsBack) {
    const std::string all = everyByteValue(1);
    const std::string oneTo38 = all.substr(1, 38);
    const std::pair<std::string, std::string> cases[] = {
        {stored(""), "x"}, {stored("\0"s), "\x01\xff"}, {stored("\xff"), "\x01\xfe"}, {stored("it's"), "\x01hs&r"},
        {stored("\x01\x02\x28"), "\x03\xfe\xff\x25"},  // the first offset that needs no escape wins
        {stored(oneTo38).substr(0, 1), "\x28"},       // 39 is never the offset: it would let an apostrophe through
        // With every value present each offset needs three escapes: 1 is kept, and 1, 2 and 40
        // become 01 01, 01 02 and 01 03.
        {stored(all), "\x01\xff\x01\x01\x01\x02" + all.substr(2, 37) + "\x01\x03" + all.substr(40, 215)},
        {storedText("Image"), stored("Image\0"s)},  {storedText(""), stored("\0"s)},  // a text keeps its terminator
        {storedCaption(std::nullopt), ""},          {storedCaption(""), stored("\0"s)},
        {storedBlock(std::nullopt), "(null)"},      {storedBlock(""s), "x"},
    };
    for (const auto& [form, expected] : cases) EXPECT_EQ(form, expected);
    for (const auto& [n, bound] : {std::pair<std::size_t, std::size_t>{0, 2}, {84, 86}, {85, 88}, {254, 259}})
        EXPECT_EQ(encodedBufferSize(n), bound) << n;
    const std::string worst = everyByteValue(12);  // every value equally often fills the bound to its last byte
    EXPECT_EQ(stored(worst).size() + 1, encodedBufferSize(worst.size()));
    const std::tuple<const char*, std::optional<std::string>, std::string> columns[] = {
        {nullptr, std::nullopt, ""}, {"", std::nullopt, ""}, {"(null)", std::nullopt, ""},  // NULL, no caption or block
        {"\x05" "ab\x01\x04", std::nullopt, ""}, {"\x05" "ab\x01", std::nullopt, ""},      // damaged escapes
        {"(NULL)", "v}ttQ"s, "v}ttQ"},                // only the exact marker is absent
        {"\x07", ""s, ""},                            // an offset byte alone
        {"\x01`\xff" "b\xff", "a\0c\0"s, "a"},        // a text is cut at its first zero
        {"\x01`ab", "abc"s, "abc"}};                   // a text without terminator
    for (const auto& [column, block, text] : columns) {
        EXPECT_EQ(readStoredBlock(column), block) << (column ? column : "NULL");
        EXPECT_EQ(readStoredText(column), text);
    }
}

}  // namespace

#include "store/ClipRecord.h"
#include "store/HistorySql.h"
#include "store/SqlDatabase.h"
#include "store/StoredValue.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using namespace std::string_literals;

TEST(StoredValue, AbsentAndMalformedColumnsReadAsAbsent) {
    const struct {
        const char* what;
        const char* column;
    } cases[] = {
        {"SQL NULL", nullptr},
        {"empty text", ""},
        {"the absent marker", "(null)"},
        {"escape followed by 0x04", "\x05" "ab\x01\x04"},
        {"escape at the end", "\x05" "abcdefgh\x01"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(readStoredBlock(c.column), std::nullopt) << c.what;
        EXPECT_EQ(readStoredText(c.column), "") << c.what;
    }
}

TEST(StoredValue, AbsentMarkerIsMatchedExactly) {
    // Texts that only resemble the marker are ordinary stored values.
    for (const char* column : {"(null) ", "(NULL)", "(nul"}) EXPECT_TRUE(readStoredBlock(column).has_value()) << column;
}

TEST(StoredValue, BlocksRoundTripByteForByte) {
    const std::string blocks[] = {""s, "\0"s, "it's"s, "a\0b\x01\x02\x27''\x01\0"s, std::string(5000, '\x01'),
                                  std::string(3000, '\0') + "tail"};
    for (const std::string& block : blocks) {
        const std::string stored = storedForm(block.data(), block.size());
        EXPECT_EQ(stored.find('\0'), std::string::npos);
        EXPECT_EQ(stored.find('\''), std::string::npos);
        EXPECT_EQ(readStoredBlock(stored.c_str()), block);
        EXPECT_EQ(storedBlock(block), stored);
    }
    EXPECT_EQ(storedBlock(std::nullopt), "(null)");
}

TEST(StoredValue, TextsCarryTheirTerminatorAndAreCutAtTheFirstZero) {
    const std::string stored = storedText("Image");
    const std::optional<std::string> decoded = readStoredBlock(stored.c_str());
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(*decoded, "Image\0"s);  // six bytes, as an image caption is kept
    EXPECT_EQ(readStoredText(stored.c_str()), "Image");

    const std::string block = "ab\0cd\0"s;
    EXPECT_EQ(readStoredText(storedForm(block.data(), block.size()).c_str()), "ab");
    // A text stored without a terminator still reads whole.
    EXPECT_EQ(readStoredText(storedForm("abc", 3).c_str()), "abc");
}

TEST(StoredValue, NoCaptionIsStoredAsTheEmptyText) {
    EXPECT_EQ(storedCaption(std::nullopt), "");
    // A blank text's caption is empty but there: it keeps its terminator.
    EXPECT_EQ(storedCaption(""), storedText(""));
    EXPECT_EQ(readStoredText(""), "");
    EXPECT_EQ(storedCaption("Hello"), storedText("Hello"));
    EXPECT_EQ(storedText(""), storedForm("", 1));  // a source name is stored even when empty
}

class StoredRowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        db.open(":memory:");
        db.execute(sql::kCreateLogTable);
    }
    std::optional<std::string> blockOf(int id, const char* column) {
        SqlCursor cursor = db.query(sql::selectClipBlocks(id).c_str());
        EXPECT_FALSE(cursor.atEnd());
        return readStoredBlock(cursor.columnText(column));
    }
    SqlDatabase db;
};

TEST_F(StoredRowsTest, AbsentBlocksAndEmptyCaption) {
    ClipRecord image;
    image.Id = 1;
    image.Name = "Image";
    image.Type = Bitmap;
    image.Data = std::string(40, '\0');
    db.execute(insertStatement(image).c_str());
    EXPECT_EQ(blockOf(1, "Text"), std::nullopt);
    EXPECT_EQ(blockOf(1, "Locale"), std::nullopt);
    EXPECT_EQ(blockOf(1, "Data"), image.Data);
    SqlCursor raw = db.query("SELECT Text, Locale, Name FROM Log WHERE Id=1");
    EXPECT_STREQ(raw.columnText("Text"), "(null)");
    EXPECT_STREQ(raw.columnText("Locale"), "(null)");
    EXPECT_EQ(readStoredBlock(raw.columnText("Name")), "Image\0"s);

    ClipRecord emptyText;
    emptyText.Id = 2;
    emptyText.Text = "\0"s;
    db.execute(insertStatement(emptyText).c_str());
    SqlCursor name = db.query("SELECT Name, Data FROM Log WHERE Id=2");
    EXPECT_STREQ(name.columnText("Name"), "");
    EXPECT_STREQ(name.columnText("Data"), "(null)");
}

TEST_F(StoredRowsTest, DamagedRowsReadAsAbsent) {
    // Rows as a hand edit or a damaged file could leave them.
    db.execute("INSERT INTO Log VALUES (10,0,'','','','(null)','\x05\x01\x04',0,'(null)');"
               "INSERT INTO Log VALUES (11,0,NULL,NULL,NULL,NULL,NULL,13,NULL);"
               "INSERT INTO Log VALUES (12,0,'','','',X'0041',X'00',13,'\x07\x01');"
               "INSERT INTO Log VALUES (13,0,'','','',7,'',-1,'');");
    for (int id : {10, 11, 12, 13}) {
        for (const char* column : {"Text", "Data", "Locale"}) {
            const std::optional<std::string> block = blockOf(id, column);
            // Integer 7 reads as the text "7": an offset byte and nothing after it.
            const bool integerSeven = id == 13 && std::string(column) == "Locale";
            EXPECT_EQ(block, integerSeven ? std::optional<std::string>(""s) : std::nullopt) << "row " << id << " " << column;
        }
    }
}

}  // namespace

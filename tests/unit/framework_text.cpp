// Text rules of the dialog-framework layer.
#include <gtest/gtest.h>

#include <string>

#include "ui/framework/FileFilter.h"
#include "ui/framework/IntegerText.h"

TEST(IntegerField, AcceptsWhatDataExchangeAccepts) {
    struct Case { const char* text; int value; } cases[] = {
        {"0", 0}, {"70", 70}, {"  1000  ", 1000}, {"-5", -5}, {"+12", 12}, {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
    };
    for (const Case& c : cases) {
        auto parsed = parseIntegerField(c.text);
        ASSERT_TRUE(parsed.has_value()) << c.text;
        EXPECT_EQ(*parsed, c.value) << c.text;
    }
}

TEST(IntegerField, RefusesEverythingElse) {
    for (const char* text : {"", "   ", "-", "+", "12a", "a12", "1 2", "2147483648", "-2147483649",
                             "99999999999999999999", "0x10", "1.5"}) {
        EXPECT_FALSE(parseIntegerField(text).has_value()) << '"' << text << '"';
    }
}

TEST(FileFilter, BarsBecomeZeroSeparatedPairs) {
    EXPECT_EQ(platformFileFilter("Yarrowkit Database Files|*.sql|All Files|*.*|"),
              std::string("Yarrowkit Database Files\0*.sql\0All Files\0*.*\0\0", 46));
    EXPECT_EQ(platformFileFilter("Text|*.txt"), std::string("Text\0*.txt\0\0", 12));
}

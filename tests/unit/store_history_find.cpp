// The Find box's search against a small store: whatever is typed is searched as text, never as
// query syntax, and finds the items that hold every word.
#include "store/FindQuery.h"
#include "store/History.h"

#include "store_test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Item {
    std::string text;
    std::string title = "Untitled - Notepad";
};

// Ids 0.. in this order; the newest (largest id) is found first.
const Item kItems[] = {
    {"Meet at the zanzibar cafe"},                     // 0
    {"He said \"hello\" to everyone"},                 // 1
    {"wildcard a*b and x-y here"},                     // 2
    {"tom AND jerry OR spike NOT NEAR"},               // 3
    {"call f(x) then g(y)"},                           // 4
    {"path C:\\temp\\file.txt"},                       // 5
    {"it's Tom's cat"},                                // 6
    {"С Новым годом! Ёлка стоит"},                    // 7
    {"an ox", "Ox Tools"},                             // 8
    {"plain words", "Report QX - Editor"},              // 9
    {"Zanzibar again, and TOM"},                       // 10
    {"rate 50% off_peak", "Calc"},                     // 11
};

class HistoryFind : public store_test::HistoryDbTest {
protected:
    void SetUp() override {
        HistoryDbTest::SetUp();
        openFresh();
        for (const Item& item : kItems) {
            ClipRecord record;
            record.Id = history::claimNextId();
            record.DTime = 1700000000u + static_cast<unsigned>(record.Id);
            record.SourceName = "notepad.exe";
            record.Text = item.text + '\0';
            record.Name = item.text.substr(0, 50);
            record.Utf8 = ClipRecord::Utf8Texts{item.text, "notepad.exe", item.title};
            history::add(record);
        }
    }
    static std::vector<int> idsOf(const std::vector<history::ListEntry>& entries) {
        std::vector<int> ids;
        for (const auto& entry : entries) ids.push_back(entry.id);
        return ids;
    }
};

TEST_F(HistoryFind, AwkwardInputsAreSearchedAsText) {
    const std::vector<int> everything = {11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
    struct Case {
        const char* typed;
        std::vector<int> ids;  // newest first
    } cases[] = {
        {"zanzibar", {10, 0}},
        {"ZANZIBAR cafe", {0}},
        {"\"hello\"", {1}},
        {"\"hello", {1}},
        {"said \"", {1}},            // a lone quote is a short word, found in the caption
        {"a*b", {2}},
        {"*", {2}},
        {"x-y", {2}},
        {"-y here", {2}},
        {"AND", {10, 3, 2}},         // the word, not the operator, in any case
        {"OR", {9, 3}},              // short: captions and titles ("Report", "OR spike")
        {"NOT NEAR", {3}},           // "not" is in every "Notepad" title too
        {"NEAR(", {}},
        {"f(x)", {4}},
        {"(x) g(y)", {4}},
        {")", {4}},
        {"C:\\temp\\", {5}},
        {"\\", {5}},
        {"Tom's", {6}},
        {"'", {6}},
        {"ёлка", {7}},
        {"ЁЛКА годом", {7}},
        {"", everything},
        {"   \t ", everything},
        {"ox", {8}},                 // short word: caption "an ox" and title "Ox Tools"
        {"qx", {9}},                 // in the title only
        {"zz", {}},
        {"tom ca", {6}},             // a long and a short word must both occur
        {"zanzibar nothing-like-this", {}},
        {"%", {11}},                 // LIKE's wildcards are searched as themselves
        {"_", {11}},
        {"f_", {11}},
        {"0%", {11}},
        {"\\%", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(idsOf(history::findPage(c.typed, 0, 100)), c.ids);
        EXPECT_EQ(history::findCount(c.typed), static_cast<int>(c.ids.size()));
    }
}

TEST_F(HistoryFind, PagesOfMatchesCountFromTheNewest) {
    // Every item holds an "a", in its caption or its title ("Notepad").
    EXPECT_EQ(idsOf(history::findPage("a", 0, 3)), (std::vector<int>{11, 10, 9}));
    EXPECT_EQ(idsOf(history::findPage("a", 3, 3)), (std::vector<int>{8, 7, 6}));
    const std::vector<history::ListEntry> found = history::findPage("zanzibar", 0, 1);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].unicodeCaption.value_or(""), "Zanzibar again, and TOM");
    history::remove(10);
    EXPECT_EQ(idsOf(history::findPage("zanzibar", 0, 10)), (std::vector<int>{0}));
}

TEST(FindQuery, WordsBecomeQuotedPhrasesAndShortWordsAScan) {
    const history::find::FindQuery query = history::find::parse("  say \"hi\" NOT x ёл ёлка ");
    EXPECT_EQ(query.match, "\"say\" AND \"\"\"hi\"\"\" AND \"NOT\" AND \"ёлка\"");
    EXPECT_EQ(query.shortWords, (std::vector<std::string>{"x", "ёл"}));
    EXPECT_TRUE(history::find::parse(" \t\n").empty());
}

}  // namespace

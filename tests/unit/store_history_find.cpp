// The Find box: whatever is typed is searched as text, never as query syntax, and finds the
// items that hold every word, newest first.
#include "store/FindQuery.h"

#include "store_support.h"

namespace {

class HistoryFind : public store_test::HistoryDbTest {
protected:
    void SetUp() override {
        HistoryDbTest::SetUp();
        const std::pair<const char*, const char*> items[] = {
            {"Meet at the zanzibar cafe", "Untitled - Notepad"},      // 0
            {"He said \"hello\" to tom AND jerry", "Untitled - Notepad"},  // 1
            {"wildcard a*b, x-y and f(x) NEAR", "Untitled - Notepad"},     // 2
            {"it's C:\\temp\\ for Tom's cat", "Untitled - Notepad"},     // 3
            {"С Новым годом! Ёлка стоит", "Untitled - Notepad"},       // 4
            {"an ox", "Report QX - Editor"},                            // 5
            {"Zanzibar again 你好世界", "Calc"},                            // 6
            {"rate 50% off_peak", "Calc"},                              // 7
        };
        for (const auto& [text, title] : items) {
            ClipRecord record;
            record.Id = history::claimNextId();
            record.Text = text + "\0"s;
            record.Name = text;
            record.Utf8 = ClipRecord::Utf8Texts{text, "notepad.exe", title};
            history::add(record);
        }
    }
};

TEST_F(HistoryFind, AwkwardInputsAreSearchedAsText) {
    const struct {
        const char* typed;
        std::vector<int> ids;
    } cases[] = {
        {"zanzibar", {6, 0}},  {"ZANZIBAR cafe", {0}}, {"\"hello\"", {1}},    {"\"hello", {1}},
        {"a*b", {2}},          {"*", {2}},             {"x-y", {2}},          {"f(x)", {2}},
        {")", {2}},            {"NEAR(", {}},          {"AND", {2, 1}},          {"C:\\temp\\", {3}},
        {"\\", {3}},           {"Tom's", {3}},         {"'", {3}},            {"ёлка", {4}},
        {"ЁЛКА годом", {4}},   {"世界", {6}},          {"ox", {5}},           {"qx", {5}},  // short: captions and titles
        {"zz", {}},            {"tom ca", {3}},        {"tom nothing-like", {}}, {"%", {7}},
        {"_", {7}},            {"f_", {7}},            {"\\%", {}},           {"   \t ", {7, 6, 5, 4, 3, 2, 1, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(idsOf(history::findPage(c.typed, 0, 100)), c.ids) << c.typed;
        EXPECT_EQ(history::findCount(c.typed), static_cast<int>(c.ids.size())) << c.typed;
    }
}

TEST_F(HistoryFind, PagesOfMatchesCountFromTheNewest) {
    EXPECT_EQ(idsOf(history::findPage("a", 2, 3)), (std::vector<int>{5, 4, 3}));
    EXPECT_EQ(history::findPage("zanzibar", 0, 1).at(0).unicodeCaption, "Zanzibar again 你好世界");
    history::remove(6);
    EXPECT_EQ(idsOf(history::findPage("zanzibar", 0, 10)), std::vector<int>{0});
}

}  // namespace

// The Find box: whatever is typed is searched as text, never as query syntax, and finds the
// items that hold every word, newest first.
#include "store_support.h"

namespace {

using HistoryFind = store_test::HistoryDbTest;

TEST_F(HistoryFind, AwkwardInputsAreSearchedAsTextInEveryScript) {
    const char* const items[][2] = {
        {"Meet at the zanzibar cafe", "Untitled - Notepad"},       {"He said \"hello\" to tom AND jerry", "Notepad"},
        {"wildcard a*b, x-y and f(x) NEAR", "Untitled - Notepad"}, {"it's C:\\temp\\ for Tom's cat", "Notepad"},
        {"С Новым годом! Ёлка стоит", "Untitled - Notepad"},       {"an ox", "Report QX - Editor"},
        {"Zanzibar again 你好世界", "Calc"},                       {"rate 50% off_peak", "Calc"}};
    for (const auto& [text, title] : items) {
        ClipRecord record;
        record.Id = history::claimNextId();
        record.Name = text;
        record.Utf8 = ClipRecord::Utf8Texts{text, "notepad.exe", title};
        history::add(record);
    }
    const std::pair<const char*, std::vector<int>> cases[] = {
        {"zanzibar", {6, 0}}, {"ZANZIBAR cafe", {0}}, {"\"hello\"", {1}},  {"\"hello", {1}},     {"a*b", {2}},
        {"*", {2}},           {"x-y", {2}},           {"f(x)", {2}},       {")", {2}},           {"NEAR(", {}},
        {"AND", {2, 1}},      {"C:\\temp\\", {3}},    {"\\", {3}},         {"Tom's", {3}},       {"'", {3}},
        {"ёлка", {4}},        {"ЁЛКА годом", {4}},    {"世界", {6}},       {"zz", {}},           {"\\%", {}},
        {"ox", {5}},          {"qx", {5}},            {"tom ca", {3}},     {"tom nothing", {}},  // short: captions, titles
        {"%", {7}},           {"_", {7}},             {"f_", {7}},         {"   \t ", {7, 6, 5, 4, 3, 2, 1, 0}}};
    for (const auto& [typed, ids] : cases) {
        EXPECT_EQ(idsOf(history::findPage(typed, 0, 100)), ids) << typed;
        EXPECT_EQ(history::findCount(typed), static_cast<int>(ids.size())) << typed;
    }
    EXPECT_EQ(idsOf(history::findPage("a", 2, 3)), (std::vector{5, 4, 3})) << "pages of matches count from the newest";
    EXPECT_EQ(history::findPage("zanzibar", 0, 1).at(0).unicodeCaption, "Zanzibar again 你好世界");
    history::remove(6);
    EXPECT_EQ(idsOf(history::findPage("zanzibar", 0, 10)), std::vector{0});
}

}  // namespace

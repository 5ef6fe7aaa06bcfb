// The side table LogText (UTF-8 texts for the lists and Find): in step with Log after every change,
// built for a file of an older build, mended for a file changed behind its back, and searched.
#include "store/HistorySql.h"
#include "store/HistoryText.h"

#include "store_support.h"

namespace {

class HistoryText : public store_test::HistoryDbTest {
protected:
    std::string idsAndTimes(const std::string& table, const std::string& id) {
        return historyDb.query(("SELECT group_concat(i||':'||DTime) AS rows FROM (SELECT " + id + " AS i, DTime FROM " +
                                table + " ORDER BY i)").c_str()).stringValue("rows", "");
    }
    void expectInStep() { EXPECT_EQ(idsAndTimes("LogText", "rowid"), idsAndTimes("Log", "Id")); }
    std::string captionOf(int id) {
        return history::preview(id)->unicode.value_or(ItemText{"(none)", "", "", ""}).caption;
    }
};

TEST_F(HistoryText, ItStaysInStepThroughEveryChangeAndIsMendedOrMadeAtOpen) {
    addClips(3005);
    trim(true);
    EXPECT_EQ(rowCount(), 3000);
    expectInStep();
    history::remove(7);
    expectInStep();
    history::removeAll();
    expectInStep();
    addClips(1);
    EXPECT_EQ(captionOf(3005), "clip 3005") << "the emptied table takes new rows";
    trim(false);
    EXPECT_THROW(historyDb.queryInt("SELECT COUNT(*) FROM LogText;"), SqlException);
    open();
    expectInStep();
    addClips(6);
    // Another program deletes 1, and 5, the newest, whose id it then reuses.
    historyDb.execute(sql::deleteItem(1).c_str());
    historyDb.execute(sql::deleteItem(5).c_str());
    nextId = 5;
    addClips(2, "other ", true);
    open();
    expectInStep();
    EXPECT_EQ(captionOf(5), "other 5");
    historyDb.execute("DROP TABLE LogText;");
    addClips(1200, "caf\xE9 ", true);
    open();
    expectInStep();
    EXPECT_EQ(captionOf(1206), "café 1206") << "ANSI converted by the host";
    EXPECT_EQ(host.progress.back(), std::pair(1206, 1206)) << "the progress ends";

    historyDb.execute("DROP TABLE LogText;");
    history::text::bringInStep(host, std::chrono::nanoseconds(0));
    ASSERT_EQ(host.textsLater, -1) << "every row is left, above the oldest id - 1";
    EXPECT_EQ(captionOf(1206), "(none)") << "Log's caption shows meanwhile";
    for (std::int64_t after = -1, steps = 0; history::makeMissingTexts(after, host);) ASSERT_LT(++steps, 1200);
    expectInStep();
    host.progress.clear();
    open();
    EXPECT_TRUE(host.progress.empty()) << "in step: nothing to do at the next open";
    EXPECT_EQ(host.textsLater, std::nullopt) << "and any request ends";
}

// Every reader gets the UTF-8 texts; Find takes what is typed as text, never as query syntax.
TEST_F(HistoryText, TheTextsAreReadAndFoundInEveryScript) {
    const char* const items[][2] = {
        {"Meet at the zanzibar cafe", "Untitled - Notepad"},       {"He said \"hello\" to tom AND jerry", "Notepad"},
        {"wildcard a*b, x-y and f(x) NEAR", "Untitled - Notepad"}, {"it's C:\\temp\\ for Tom's cat", "Notepad"},
        {"С Новым годом! Ёлка стоит", "Untitled - Notepad"},       {"an ox", "Report QX - Editor"},
        {"Zanzibar again 你好世界", "Calc"},                       {"rate 50% off_peak", "Calc"}};
    for (const auto& [text, title] : items)  // as the capture adds them: the ANSI caption is a lossy copy
        history::add({history::claimNextId(), 0, "????", "", "", {}, {}, PlainText, {}, {{text, "", title}}});
    EXPECT_EQ(std::pair(history::page(3, 1).at(0).caption, history::page(3, 1).at(0).unicodeCaption),
              std::pair("????"s, std::optional("С Новым годом! Ёлка стоит"s)));
    EXPECT_EQ(history::recent(1).at(0).unicodeCaption, "rate 50% off_peak");
    EXPECT_EQ(history::preview(5)->unicode->sourceTitle, "Report QX - Editor");
    EXPECT_EQ(history::neighbour(7, history::Direction::Older)->unicodeText, "Zanzibar again 你好世界");
    const std::pair<const char*, std::vector<int>> cases[] = {
        {"zanzibar", {6, 0}}, {"ZANZIBAR cafe", {0}}, {"ЁЛКА годом", {4}}, {"AND", {2, 1}}, {"\"hello", {1}},
        {"a*b", {2}},         {"x-y", {2}},           {"f(x)", {2}},         {"NEAR(", {}},    {"C:\\temp\\", {3}},
        {"Tom's", {3}},       {"'", {3}},             {"\\", {3}},           {"\\%", {}},      {"世界", {6}},
        {"ox", {5}},          {"qx", {5}},            {"tom ca", {3}},       {"tom zz", {}},  // short: captions, titles
        {"%", {7}},           {"_", {7}},             {"f_", {7}},           {"   \t ", {7, 6, 5, 4, 3, 2, 1, 0}}};
    for (const auto& [typed, ids] : cases) {
        EXPECT_EQ(idsOf(history::findPage(typed, 0, 100)), ids) << typed;
        EXPECT_EQ(history::findCount(typed), static_cast<int>(ids.size())) << typed;
    }
    EXPECT_EQ(idsOf(history::findPage("a", 2, 3)), (std::vector{5, 4, 3})) << "pages of matches count from the newest";
    EXPECT_EQ(history::findPage("zanzibar", 0, 1).at(0).unicodeCaption, "Zanzibar again 你好世界");
}

}  // namespace

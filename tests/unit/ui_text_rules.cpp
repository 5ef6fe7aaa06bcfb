// The platform-free rules of the ui layers: dialog-framework texts, the hyperlink control, the
// icon menu's texts and the hot-key control's codes.
#include "ui/controls/HyperLinkText.h"
#include "ui/controls/LinkPlacement.h"
#include "ui/framework/FileFilter.h"
#include "ui/framework/IntegerText.h"
#include "ui/menu/MenuText.h"
#include "ui/options/HotKeyCodes.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(IntegerField, AcceptsWhatDataExchangeAccepts) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"70", 70},      {"  1000  ", 1000}, {"-5", -5},       {"+12", 12}, {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},            {"", {}},         {"   ", {}},  {"-", {}},
        {"12a", {}},     {"1 2", {}},        {"2147483648", {}}, {"-2147483649", {}}, {"0x10", {}}, {"1.5", {}},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(parseIntegerField(text), value) << '"' << text << '"';
}

TEST(FileFilter, BarsBecomeZeroSeparatedPairs) {
    EXPECT_EQ(platformFileFilter("Yarrowkit Database Files|*.sql|All Files|*.*|"),
              std::string("Yarrowkit Database Files\0*.sql\0All Files\0*.*\0\0", 46));
    EXPECT_EQ(platformFileFilter("Text|*.txt"), std::string("Text\0*.txt\0\0", 12));
}

TEST(HyperLink, AddressTooltipBrowserCommandAndError) {
    using namespace hyperlink;
    const std::pair<std::string, std::string> cases[] = {
        {addressFromText("WwW.example.org/a"), "http://WwW.example.org/a"},
        {addressFromText("support@example.org"), "support@example.org"},
        {addressFromText("www"), "www"},
        {tooltipText("HTTP://www.example.org/x"), "Go to www.example.org/x"},
        {tooltipText("MailTo:a@b"), "E-mail a@b"},
        {tooltipText("https://example.org"), "https://example.org"},
        {tooltipText("http:/"), "http:/"},
        {tooltipText("http://x", false), "http://x"},
        {browserCommandLine("\"C:\\b.exe\" -url \"%1\" -new", "mailto:a@b"), "\"C:\\b.exe\" -url  mailto:a@b"},
        {browserCommandLine("b.exe %1 -new", "x"), "b.exe  x"},
        {browserCommandLine("b.exe -p %1x \"%1\"", "x"), "b.exe -p %1x  x"},  // the quoted one wins
        {browserCommandLine("b.exe -nohome", "x"), "b.exe -nohome x"},
        {openErrorMessage(26), "Unable to open hyperlink:\n\nA sharing violation occurred. "},
        {openErrorMessage(-7), "Unable to open hyperlink:\n\nUnknown Error (-7) occurred."},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(text, expected);
}

TEST(HyperLink, PlacementKeepsTheEdgeOrCentreTheStyleAnchors) {
    using namespace hyperlink;
    const Box window{100, 50, 200, 70};
    const struct {
        int width, height;
        Alignment alignment;
        bool centreVertically;
        Box fitted;
    } cases[] = {
        {40, 14, Alignment::Left, false, {100, 50, 140, 64}},
        {40, 14, Alignment::Right, false, {160, 50, 200, 64}},
        {41, 15, Alignment::Centre, true, {129, 52, 170, 67}},
        {120, 20, Alignment::Centre, false, {90, 50, 210, 70}},  // wider than the control
    };
    for (const auto& c : cases) {
        const Box box = fittedBox(window, c.width, c.height, c.alignment, c.centreVertically);
        EXPECT_EQ(std::tie(box.left, box.top, box.right, box.bottom),
                  std::tie(c.fitted.left, c.fitted.top, c.fitted.right, c.fitted.bottom)) << c.width;
    }
}

TEST(MenuText, ShortcutAfterTheFirstTabAndMnemonicsInTheLabel) {
    EXPECT_EQ(menutext::split("&Copy\tCtrl-C \\ Ctrl-Insert").label, "&Copy");
    EXPECT_EQ(menutext::split("&Copy\tCtrl-C \\ Ctrl-Insert").shortcut, "Ctrl-C \\ Ctrl-Insert");
    EXPECT_EQ(menutext::split("Exit").shortcut, "");
    const std::vector<std::string> texts = {"Salt && Pepper", "&Main", "Trailing&", "Hide\t&Esc", "Salt && &Pepper", "&Clip"};
    const std::pair<char, int> cases[] = {{'P', 4}, {'m', 1}, {'c', 5}, {'g', -1}, {'e', -1}, {'s', -1}, {0, -1}};
    for (const auto& [key, item] : cases) EXPECT_EQ(menutext::itemWithMnemonic(texts, key), item) << key;
}

TEST(HotKeyCodes, StoredFormAndControlWordConvertBothWays) {
    using namespace hotkeycodes;
    constexpr uint16_t alt = 1, ctrl = 2, shift = 4, windows = 8;
    constexpr uint16_t cAlt = 4 << 8, cCtrl = 2 << 8, cShift = 1 << 8, extended = kExtendedFlag << 8;
    const struct {
        HotKeyCombination stored;
        uint16_t word;
    } cases[] = {
        {{0, 0}, 0},
        {{ctrl, 68}, cCtrl | 68},
        {{alt | shift, 81}, cAlt | cShift | 81},
        {{alt | ctrl | shift, 34}, cAlt | cCtrl | cShift | 34},
        {{ctrl | shift, 38}, cCtrl | cShift | extended | 38},  // keys 35 to 40 carry the extended flag
        {{0, 35}, extended | 35},
        {{shift, 41}, cShift | 41},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(controlWord(c.stored), c.word) << c.stored.key;
        const HotKeyCombination back = combinationOf(c.word);
        EXPECT_EQ(std::tie(back.modifiers, back.key), std::tie(c.stored.modifiers, c.stored.key));
        EXPECT_TRUE(unchanged(c.word, c.stored));
    }
    EXPECT_TRUE(unchanged(cCtrl | cShift | 38, {ctrl | shift, 38})) << "read back without the extended flag";
    EXPECT_TRUE(unchanged(controlWord({windows | alt, 81}), {windows | alt, 81})) << "keeps what it cannot show";
    EXPECT_FALSE(unchanged(cAlt | 81, {ctrl, 68}));
    EXPECT_FALSE(unchanged(0, {ctrl, 68}));
}

}  // namespace

// The platform-free rules of the options and ui layers: settings keys, framework texts, hyperlinks,
// menu texts and hot-key codes.
#include "app/SettingKeys.h"
#include "ui/controls/HyperLinkText.h"
#include "ui/controls/LinkPlacement.h"
#include "ui/framework/FileFilter.h"
#include "ui/framework/IntegerText.h"
#include "ui/menu/MenuText.h"
#include "ui/options/HotKeyCodes.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>

namespace {

using namespace std::string_literals;

TEST(SettingKeys, ValuesAreTakenByTheirKeysRuleAndEveryDefaultPassesIt) {
    using namespace configkey;
    // Out of its range a value gives the default or the bound; hot keys keep 16 bits; the rest is as read.
    const std::tuple<const IntKey&, int, int> cases[] = {
        {CountItemsInRange, 0, 50}, {CountItemsInRange, -4, 50}, {CountItemsInRange, INT_MAX, INT_MAX},
        {CountMenuItemsInRange, 5000, 1000}, {CountMenuItemsInRange, -1, 0}, {Sleep, INT_MIN, 0}, {Sleep, 999, 999},
        {OptionsIndex, 4, 0}, {OptionsIndex, -1, 0}, {OptionsIndex, 3, 3}, {HotKey, 0x10041, 0x41},
        {HotKeyVK, -1, 0xFFFF}, {HideWindowAfter, 7, 7}, {LimitRecordsInDB, -3, -3}, {SelDlgX, INT_MIN, INT_MIN}};
    for (const auto& [key, read, taken] : cases) EXPECT_EQ(key.fitted(read), taken) << key.name << " " << read;
    for (const IntKey* key : {&HotKeyVK, &HotKey, &HotKeyPrevVK, &HotKeyPrev, &HotKeyNextVK, &HotKeyNext,  // with a rule
                              &CountItemsInRange, &CountMenuItemsInRange, &Sleep, &OptionsIndex})
        EXPECT_EQ(key->fitted(key->fallback), key->fallback) << key->name;
    const std::tuple<const TextKey&, std::string, bool> texts[] = {
        {DBPath, "", false}, {DBPath, std::string(511, 'a'), true}, {DBPath, std::string(512, 'a'), false},
        {ExceptApp, "", true}, {ExceptApp, std::string(5000, 'a'), true}};  // an empty list excludes nothing
    for (const auto& [key, value, accepted] : texts) EXPECT_EQ(key.accepts(value), accepted) << key.name;
}

TEST(FrameworkText, IntegerFieldsAndFileFilters) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"70", 70},  {"  1000  ", 1000}, {"-5", -5},  {"+12", 12},  {"2147483647", INT_MAX}, {"-2147483648", INT_MIN},
        {"", {}},    {"   ", {}},        {"-", {}},   {"12a", {}},  {"1 2", {}},             {"2147483648", {}},
        {"0x10", {}}, {"1.5", {}},       {"-2147483649", {}}};
    for (const auto& [text, value] : cases) EXPECT_EQ(parseIntegerField(text), value) << '"' << text << '"';
    EXPECT_EQ(platformFileFilter("Yarrowkit Database Files|*.sql|All Files|*.*|"),
              std::string("Yarrowkit Database Files\0*.sql\0All Files\0*.*\0\0", 46));
    EXPECT_EQ(platformFileFilter("Text|*.txt"), std::string("Text\0*.txt\0\0", 12));
}

TEST(HyperLink, AddressTooltipBrowserCommandErrorAndPlacement) {
    using namespace hyperlink;
    const std::pair<std::string, std::string> cases[] = {
        {addressFromText("WwW.example.org/a"), "http://WwW.example.org/a"}, {addressFromText("a@b.org"), "a@b.org"},
        {addressFromText("www"), "www"}, {tooltipText("http://x", false), "http://x"},
        {tooltipText("HTTP://www.example.org/x"), "Go to www.example.org/x"}, {tooltipText("MailTo:a@b"), "E-mail a@b"},
        {tooltipText("https://example.org"), "https://example.org"}, {tooltipText("http:/"), "http:/"},
        {browserCommandLine("\"C:\\b.exe\" -url \"%1\" -new", "mailto:a@b"), "\"C:\\b.exe\" -url  mailto:a@b"},
        {browserCommandLine("b.exe %1 -new", "x"), "b.exe  x"}, {browserCommandLine("b.exe -no", "x"), "b.exe -no x"},
        {browserCommandLine("b.exe -p %1x \"%1\"", "x"), "b.exe -p %1x  x"},  // the quoted one wins
        {openErrorMessage(26), "Unable to open hyperlink:\n\nA sharing violation occurred. "},
        {openErrorMessage(-7), "Unable to open hyperlink:\n\nUnknown Error (-7) occurred."}};
    for (const auto& [text, expected] : cases) EXPECT_EQ(text, expected);
    const std::tuple<int, int, Alignment, bool, std::array<int, 4>> boxes[] = {  // the edge or centre the style anchors
        {40, 14, Alignment::Left, false, {100, 50, 140, 64}}, {40, 14, Alignment::Right, false, {160, 50, 200, 64}},
        {41, 15, Alignment::Centre, true, {129, 52, 170, 67}},
        {120, 20, Alignment::Centre, false, {90, 50, 210, 70}}};  // wider than the control
    for (const auto& [width, height, alignment, centreVertically, fitted] : boxes) {
        const Box box = fittedBox({100, 50, 200, 70}, width, height, alignment, centreVertically);
        EXPECT_EQ((std::array{box.left, box.top, box.right, box.bottom}), fitted) << width;
    }
}

TEST(MenuText, ShortcutAfterTheFirstTabAndMnemonicsInTheLabel) {
    const menutext::Parts copy = menutext::split("&Copy\tCtrl-C \\ Ctrl-Insert");
    EXPECT_EQ(std::pair(copy.label, copy.shortcut), std::pair("&Copy"s, "Ctrl-C \\ Ctrl-Insert"s));
    EXPECT_EQ(menutext::split("Exit").shortcut, "");
    const std::vector<std::string> texts = {"A && Pepper", "&Main", "Trailing&", "Hide\t&Esc", "A && &Pepper", "&Clip"};
    const std::pair<char, int> cases[] = {{'P', 4}, {'m', 1}, {'c', 5}, {'g', -1}, {'e', -1}, {'s', -1}, {0, -1}};
    for (const auto& [key, item] : cases) EXPECT_EQ(menutext::itemWithMnemonic(texts, key), item) << key;
}

TEST(HotKeyCodes, StoredFormAndControlWordConvertBothWays) {
    using namespace hotkeycodes;
    constexpr uint16_t alt = 1, ctrl = 2, shift = 4, windows = 8;
    constexpr uint16_t cAlt = 4 << 8, cCtrl = 2 << 8, cShift = 1 << 8, extended = kExtendedFlag << 8;
    const std::pair<HotKeyCombination, uint16_t> cases[] = {
        {{0, 0}, 0}, {{ctrl, 68}, cCtrl | 68}, {{alt | shift, 81}, cAlt | cShift | 81}, {{shift, 41}, cShift | 41},
        {{alt | ctrl | shift, 34}, cAlt | cCtrl | cShift | 34}, {{0, 35}, extended | 35},  // 35 to 40 are extended keys
        {{ctrl | shift, 38}, cCtrl | cShift | extended | 38}};
    for (const auto& [stored, word] : cases) {
        EXPECT_EQ(controlWord(stored), word) << stored.key;
        const HotKeyCombination back = combinationOf(word);
        EXPECT_EQ(std::tie(back.modifiers, back.key), std::tie(stored.modifiers, stored.key));
        EXPECT_TRUE(unchanged(word, stored));
    }
    EXPECT_TRUE(unchanged(cCtrl | cShift | 38, {ctrl | shift, 38})) << "read back without the extended flag";
    EXPECT_TRUE(unchanged(controlWord({windows | alt, 81}), {windows | alt, 81})) << "keeps what it cannot show";
    EXPECT_FALSE(unchanged(cAlt | 81, {ctrl, 68}) || unchanged(0, {ctrl, 68}));
}

}  // namespace

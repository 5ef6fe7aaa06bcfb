// The rules by which a value read from config.cfg is taken, as the key table gives them.
#include "app/SettingKeys.h"

#include <gtest/gtest.h>

namespace {

using namespace configkey;

TEST(SettingKeys, ValuesAreTakenByTheirKeysRuleAndEveryDefaultPassesIt) {
    // Outside its range a value gives the default or is held at the bound; hot keys keep their
    // low 16 bits; the rest is taken as read.
    const std::tuple<const IntKey&, int, int> cases[] = {
        {CountItemsInRange, 0, 50}, {CountItemsInRange, -4, 50}, {CountItemsInRange, INT_MAX, INT_MAX},
        {CountMenuItemsInRange, 5000, 1000}, {CountMenuItemsInRange, -1, 0}, {Sleep, INT_MIN, 0}, {Sleep, 999, 999},
        {OptionsIndex, 4, 0}, {OptionsIndex, -1, 0}, {OptionsIndex, 3, 3}, {HotKey, 0x10041, 0x41}, {HotKeyVK, -1, 0xFFFF},
        {HideWindowAfter, 7, 7}, {LimitRecordsInDB, -3, -3}, {SelDlgX, INT_MIN, INT_MIN}};
    for (const auto& [key, read, taken] : cases) EXPECT_EQ(key.fitted(read), taken) << key.name << " " << read;
    for (const IntKey* key : {&SelDlgX, &SelDlgY, &HotKeyVK, &HotKey, &HotKeyPrevVK, &HotKeyPrev, &HotKeyNextVK,
                              &HotKeyNext, &HideWindowAfter, &CountItemsInRange, &CountMenuItemsInRange,
                              &LimitRecordsInDB, &Sleep, &OptionsIndex})
        EXPECT_EQ(key->fitted(key->fallback), key->fallback) << key->name;
    const std::tuple<const TextKey&, std::string, bool> texts[] = {
        {DBPath, "", false}, {DBPath, std::string(511, 'a'), true}, {DBPath, std::string(512, 'a'), false},
        {ExceptApp, "", true}, {ExceptApp, std::string(5000, 'a'), true}};  // an empty list excludes nothing
    for (const auto& [key, value, accepted] : texts) EXPECT_EQ(key.accepts(value), accepted) << key.name << value.size();
}

}  // namespace

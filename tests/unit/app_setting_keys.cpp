// The rules by which a value read from config.cfg is taken, as the key table gives them.
#include "app/SettingKeys.h"

#include <gtest/gtest.h>

namespace {

using namespace configkey;

TEST(SettingKeys, IntegerValuesAreFittedByTheirKeysRule) {
    const struct {
        const IntKey& key;
        int read, taken;
    } cases[] = {
        {CountItemsInRange, 0, 50},  {CountItemsInRange, -4, 50}, {CountItemsInRange, INT_MAX, INT_MAX},
        {CountMenuItemsInRange, 5000, 1000},  // held at the bound, not the default
        {CountMenuItemsInRange, -1, 0}, {Sleep, INT_MIN, 0}, {Sleep, 999, 999}, {OptionsIndex, 4, 0},
        {OptionsIndex, -1, 0},       {OptionsIndex, 3, 3},        {HotKey, 0x10041, 0x41},  // the low 16 bits
        {HotKeyVK, -1, 0xFFFF},      {HideWindowAfter, 7, 7},     {LimitRecordsInDB, -3, -3}, {SelDlgX, INT_MIN, INT_MIN},
    };
    for (const auto& c : cases) EXPECT_EQ(c.key.fitted(c.read), c.taken) << c.key.name << " " << c.read;
    for (const IntKey* key : {&SelDlgX, &SelDlgY, &HotKeyVK, &HotKey, &HotKeyPrevVK, &HotKeyPrev, &HotKeyNextVK,
                              &HotKeyNext, &HideWindowAfter, &CountItemsInRange, &CountMenuItemsInRange,
                              &LimitRecordsInDB, &Sleep, &OptionsIndex})
        EXPECT_EQ(key->fitted(key->fallback), key->fallback) << key->name << ": the default passes its own rule";
}

TEST(SettingKeys, TextValuesOutsideTheirRuleGiveTheDefault) {
    EXPECT_FALSE(DBPath.accepts(""));
    EXPECT_TRUE(DBPath.accepts(std::string(511, 'a')));
    EXPECT_FALSE(DBPath.accepts(std::string(512, 'a')));
    EXPECT_TRUE(ExceptApp.accepts("")) << "an empty list excludes nothing";
    EXPECT_TRUE(ExceptApp.accepts(std::string(5000, 'a')));
}

}  // namespace

// The rules by which a value read from config.cfg is taken, as the key table gives them.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "app/SettingKeys.h"

TEST(SettingKeys, IntegerValuesAreFittedByTheirKeysRule) {
    struct Case {
        const configkey::IntKey& key;
        int read;
        int taken;
    };
    const Case cases[] = {
        {configkey::CountItemsInRange, 0, 50},          // an empty page: the default
        {configkey::CountItemsInRange, -4, 50},
        {configkey::CountItemsInRange, 1, 1},
        {configkey::CountItemsInRange, INT_MAX, INT_MAX},
        {configkey::CountMenuItemsInRange, 5000, 1000},  // held at the bound, not the default
        {configkey::CountMenuItemsInRange, -1, 0},
        {configkey::CountMenuItemsInRange, 0, 0},
        {configkey::Sleep, 5000, 1000},
        {configkey::Sleep, INT_MIN, 0},
        {configkey::Sleep, 999, 999},
        {configkey::OptionsIndex, 4, 0},
        {configkey::OptionsIndex, -1, 0},
        {configkey::OptionsIndex, 3, 3},
        {configkey::HotKey, 0x10041, 0x41},              // the low 16 bits
        {configkey::HotKeyVK, -1, 0xFFFF},
        {configkey::HideWindowAfter, 7, 7},              // as read
        {configkey::LimitRecordsInDB, -3, -3},
        {configkey::SelDlgX, INT_MIN, INT_MIN},
    };
    for (const Case& c : cases) EXPECT_EQ(c.key.fitted(c.read), c.taken) << c.key.name << " " << c.read;
}

TEST(SettingKeys, DefaultsPassTheirOwnRule) {
    for (const configkey::IntKey* key :
         {&configkey::SelDlgX, &configkey::SelDlgY, &configkey::HotKeyVK, &configkey::HotKey, &configkey::HotKeyPrevVK,
          &configkey::HotKeyPrev, &configkey::HotKeyNextVK, &configkey::HotKeyNext, &configkey::HideWindowAfter,
          &configkey::CountItemsInRange, &configkey::CountMenuItemsInRange, &configkey::LimitRecordsInDB,
          &configkey::Sleep, &configkey::OptionsIndex})
        EXPECT_EQ(key->fitted(key->fallback), key->fallback) << key->name;
}

TEST(SettingKeys, DatabasePathRefusesEmptyAndOverlongValues) {
    EXPECT_FALSE(configkey::DBPath.accepts(""));
    EXPECT_TRUE(configkey::DBPath.accepts(std::string(511, 'a')));
    EXPECT_FALSE(configkey::DBPath.accepts(std::string(512, 'a')));
    EXPECT_TRUE(configkey::ExceptApp.accepts("")) << "an empty list excludes nothing";
    EXPECT_TRUE(configkey::ExceptApp.accepts(std::string(5000, 'a')));
}

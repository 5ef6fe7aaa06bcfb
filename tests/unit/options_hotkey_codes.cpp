// Converting hot keys between the stored (registration) form and the hot-key control's word.
#include <gtest/gtest.h>

#include "ui/options/HotKeyCodes.h"

using namespace hotkeycodes;

namespace {
constexpr uint8_t kControlShift = 1, kControlCtrl = 2, kControlAlt = 4;
constexpr uint16_t kAlt = 1, kCtrl = 2, kShift = 4;
}  // namespace

TEST(OptionsHotKeyCodes, AltAndShiftTradePlacesBothWays) {
    struct Case { uint16_t registration; uint8_t control; };
    const Case cases[] = {
        {0, 0},
        {kAlt, kControlAlt},
        {kCtrl, kControlCtrl},
        {kAlt | kCtrl, kControlAlt | kControlCtrl},
        {kShift, kControlShift},
        {kAlt | kShift, kControlAlt | kControlShift},
        {kCtrl | kShift, kControlCtrl | kControlShift},
        {kAlt | kCtrl | kShift, kControlAlt | kControlCtrl | kControlShift},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(controlFlags(c.registration), c.control) << c.registration;
        EXPECT_EQ(registrationModifiers(c.control), c.registration) << int(c.control);
        EXPECT_EQ(registrationModifiers(c.control | kExtendedFlag), c.registration) << "extended flag dropped";
    }
}

TEST(OptionsHotKeyCodes, DefaultsShowAsCtrlDAndCtrlShiftArrowsWithTheExtendedFlag) {
    EXPECT_EQ(controlWord({kCtrl, 68}), (kControlCtrl << 8) | 68);
    EXPECT_EQ(controlWord({kCtrl | kShift, 38}), ((kControlCtrl | kControlShift | kExtendedFlag) << 8) | 38);
    EXPECT_EQ(controlWord({kCtrl | kShift, 40}), ((kControlCtrl | kControlShift | kExtendedFlag) << 8) | 40);
    for (uint16_t key = 35; key <= 40; ++key) EXPECT_TRUE(controlWord({0, key}) >> 8 & kExtendedFlag) << key;
    EXPECT_FALSE(controlWord({0, 34}) >> 8 & kExtendedFlag);
    EXPECT_FALSE(controlWord({0, 41}) >> 8 & kExtendedFlag);
}

TEST(OptionsHotKeyCodes, ControlWordBecomesTheStoredPair) {
    HotKeyCombination altQ = combinationOf((kControlAlt << 8) | 81);
    EXPECT_EQ(altQ.modifiers, kAlt);
    EXPECT_EQ(altQ.key, 81);
    HotKeyCombination cleared = combinationOf(0);
    EXPECT_EQ(cleared.modifiers, 0);
    EXPECT_EQ(cleared.key, 0);
    HotKeyCombination up = combinationOf(controlWord({kCtrl | kShift, 38}));
    EXPECT_EQ(up.modifiers, kCtrl | kShift);
    EXPECT_EQ(up.key, 38);
}

TEST(OptionsHotKeyCodes, UnchangedControlKeepsEvenWhatItCannotShow) {
    EXPECT_TRUE(unchanged(controlWord({kCtrl, 68}), {kCtrl, 68}));
    // The Windows-key modifier (8) has no place in the control; an untouched control keeps it.
    HotKeyCombination withWindowsKey = {8 | kAlt, 81};
    EXPECT_TRUE(unchanged(controlWord(withWindowsKey), withWindowsKey));
    // An arrow read back without the extended flag is still the same combination.
    EXPECT_TRUE(unchanged(((kControlCtrl | kControlShift) << 8) | 38, {kCtrl | kShift, 38}));
    EXPECT_FALSE(unchanged((kControlAlt << 8) | 81, {kCtrl, 68}));
    EXPECT_FALSE(unchanged(0, {kCtrl, 68}));
}

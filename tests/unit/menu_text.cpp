// The icon menu's text rules: label and shortcut, and mnemonics for the menu-character answer.
#include <gtest/gtest.h>

#include "ui/menu/MenuText.h"

using namespace menutext;

TEST(MenuText, SplitsLabelAndShortcutAtTheFirstTab) {
    Parts options = split("&Options...\tF4");
    EXPECT_EQ(options.label, "&Options...");
    EXPECT_EQ(options.shortcut, "F4");
    Parts copy = split("&Copy to Clipboard\tCtrl-C \\ Ctrl-Insert");
    EXPECT_EQ(copy.shortcut, "Ctrl-C \\ Ctrl-Insert");
    EXPECT_EQ(split("Exit").shortcut, "");
    EXPECT_EQ(split("Exit").label, "Exit");
}

TEST(MenuText, MnemonicIsTheLetterAfterASingleAmpersandInTheLabel) {
    EXPECT_EQ(mnemonic("&Main"), 'm');
    EXPECT_EQ(mnemonic("Yarrowkit &Home Page"), 'h');
    EXPECT_EQ(mnemonic("Salt && &Pepper"), 'p');
    EXPECT_EQ(mnemonic("Salt && Pepper"), 0);
    EXPECT_EQ(mnemonic("Visit Yarrowkit Forum"), 0);
    EXPECT_EQ(mnemonic("Trailing&"), 0);
    EXPECT_EQ(mnemonic("Hide\t&Esc"), 0) << "the shortcut part has no mnemonic";
}

TEST(MenuText, FindsTheFirstItemWithTheMnemonicInAnyCase) {
    const std::vector<std::string> texts = {"&Main", "&Clip", "&Help", "&Close"};
    EXPECT_EQ(itemWithMnemonic(texts, 'H'), 2);
    EXPECT_EQ(itemWithMnemonic(texts, 'c'), 1);
    EXPECT_EQ(itemWithMnemonic(texts, 'x'), -1);
    EXPECT_EQ(itemWithMnemonic(texts, 0), -1);
    EXPECT_EQ(itemWithMnemonic({}, 'm'), -1);
}

#pragma once
#include <string>
#include <string_view>
#include <vector>

// Text rules of the icon menu: an item text is "label\tshortcut", and "&x" in the label marks
// its mnemonic ("&&" is a literal ampersand).
namespace menutext {

struct Parts {
    std::string label;
    std::string shortcut;
};
Parts split(std::string_view text);

// The mnemonic letter of a text in lower case, or 0 when it has none.
char mnemonic(std::string_view text);

// The first item whose mnemonic is `key` (any case), or -1. Owner-drawn items carry no text for
// the platform, so the layer answers the menu-character question itself.
int itemWithMnemonic(const std::vector<std::string>& texts, char key);

}  // namespace menutext

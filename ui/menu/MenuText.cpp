#include "ui/menu/MenuText.h"

#include <cctype>

namespace menutext {

namespace {
char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }
}  // namespace

Parts split(std::string_view text) {
    const size_t tab = text.find('\t');
    if (tab == std::string_view::npos) return {std::string(text), {}};
    return {std::string(text.substr(0, tab)), std::string(text.substr(tab + 1))};
}

char mnemonic(std::string_view text) {
    const std::string_view label = text.substr(0, text.find('\t'));
    for (size_t i = 0; i + 1 < label.size(); ++i) {
        if (label[i] != '&') continue;
        if (label[i + 1] != '&') return lower(label[i + 1]);
        ++i;  // skip the escaped ampersand
    }
    return 0;
}

int itemWithMnemonic(const std::vector<std::string>& texts, char key) {
    if (!key) return -1;
    for (size_t i = 0; i < texts.size(); ++i)
        if (mnemonic(texts[i]) == lower(key)) return static_cast<int>(i);
    return -1;
}

}  // namespace menutext

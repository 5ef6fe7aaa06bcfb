#include "ui/framework/FileFilter.h"

std::string platformFileFilter(std::string_view barSeparated) {
    std::string filter(barSeparated);
    for (char& c : filter) {
        if (c == '|') c = '\0';
    }
    if (filter.empty() || filter.back() != '\0') filter.push_back('\0');
    filter.push_back('\0');
    return filter;
}

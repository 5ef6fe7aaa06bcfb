#include "clipboard/Caption.h"

bool isCaptionSpace(unsigned int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

std::string makeCaption(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && isCaptionSpace(static_cast<unsigned char>(text[start]))) ++start;
    std::string caption(text.substr(start, kCaptionBytes));
    if (text.size() - start > kCaptionBytes) caption += "...";
    for (char& c : caption) {
        if (c == '\n' || c == '\r' || c == '\t') c = ' ';
    }
    return caption;
}

int dataSizeFor(std::size_t n) { return static_cast<int>(1.0118 * static_cast<double>(n) + 3.0); }

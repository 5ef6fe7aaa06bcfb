#include "store/Utf8Text.h"

#include <cstdint>

namespace utf8 {
namespace {

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

void append(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::size_t encodedSize(char32_t c) { return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4; }

char16_t unitAt(std::string_view block, std::size_t unit) {
    return static_cast<char16_t>(static_cast<unsigned char>(block[2 * unit]) |
                                 static_cast<unsigned char>(block[2 * unit + 1]) << 8);
}

bool isHigh(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLow(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

std::string fromUtf16Block(std::string_view block, std::size_t maxBytes) {
    constexpr char32_t kReplacement = 0xFFFD;
    const std::size_t units = block.size() / 2;
    std::string out;
    out.reserve(units < 4096 ? units : 4096);
    for (std::size_t i = 0; i < units; ++i) {
        const char16_t unit = unitAt(block, i);
        if (unit == 0) break;
        char32_t c = unit;
        if (isHigh(unit) && i + 1 < units && isLow(unitAt(block, i + 1))) {
            c = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (unitAt(block, i + 1) - 0xDC00);
            ++i;
        } else if (isHigh(unit) || isLow(unit)) {
            c = kReplacement;
        }
        if (maxBytes != std::string::npos && out.size() + encodedSize(c) > maxBytes) break;
        append(out, c);
    }
    return out;
}

std::string fromLatin1(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char byte : bytes) append(out, static_cast<unsigned char>(byte));
    return out;
}

std::string_view prefixBytes(std::string_view text, std::size_t maxBytes) {
    if (text.size() <= maxBytes) return text;
    std::size_t end = maxBytes;
    while (end > 0 && isContinuation(static_cast<unsigned char>(text[end]))) --end;
    return text.substr(0, end);
}

std::size_t bytesOfChars(std::string_view text, std::size_t maxChars) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (isContinuation(static_cast<unsigned char>(text[i]))) continue;
        if (chars == maxChars) return i;
        ++chars;
    }
    return text.size();
}

std::string cutAtBlank(std::string text, std::size_t maxChars, std::string_view note) {
    const std::size_t limit = bytesOfChars(text, maxChars);
    if (limit >= text.size()) return text;
    const std::size_t blank = text.rfind(' ', limit);
    text.resize(blank == std::string::npos ? limit : blank);
    return text.append(note);
}

std::size_t charCount(std::string_view text) {
    std::size_t chars = 0;
    for (char byte : text) chars += isContinuation(static_cast<unsigned char>(byte)) ? 0 : 1;
    return chars;
}

}  // namespace utf8

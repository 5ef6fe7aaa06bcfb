#include "clipboard/AnsiText.h"

#include <climits>
#include <cstdlib>
#include <cstring>

std::string ansiFromUtf16(const wchar_t* text, std::size_t length) {
    const int units = static_cast<int>(length);
    const int size = WideCharToMultiByte(CP_ACP, 0, text, units, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, units, ansi.data(), size, nullptr, nullptr);
    return ansi;
}

std::string utf8FromWide(const wchar_t* text, std::size_t length) {
    if (length == 0 || length > INT_MAX) return {};
    const int units = static_cast<int>(length);
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, units, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, units, utf8.data(), size, nullptr, nullptr);
    return utf8;
}

std::string utf8FromAnsi(std::string_view ansi, UINT codePage) {
    if (ansi.empty() || ansi.size() > INT_MAX) return {};
    const int bytes = static_cast<int>(ansi.size());
    const int units = MultiByteToWideChar(codePage, 0, ansi.data(), bytes, nullptr, 0);
    if (units <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(codePage, 0, ansi.data(), bytes, wide.data(), units);
    return utf8FromWide(wide.data(), wide.size());
}

UINT codePageOfLocale(const std::optional<std::string>& localeBlock) {
    if (!localeBlock || localeBlock->size() < sizeof(LCID)) return CP_ACP;
    LCID locale;
    std::memcpy(&locale, localeBlock->data(), sizeof locale);
    char number[8] = {};
    if (!GetLocaleInfoA(locale, LOCALE_IDEFAULTANSICODEPAGE, number, sizeof number)) return CP_ACP;
    const UINT codePage = static_cast<UINT>(std::strtoul(number, nullptr, 10));
    return codePage ? codePage : CP_ACP;
}

std::optional<std::string> unicodeBlockFromAnsi(std::string_view ansiBlock, UINT codePage) {
    if (ansiBlock.empty() || ansiBlock.size() > INT_MAX) return std::nullopt;
    const int bytes = static_cast<int>(ansiBlock.size());
    const int units = MultiByteToWideChar(codePage, 0, ansiBlock.data(), bytes, nullptr, 0);
    if (units <= 0) return std::nullopt;
    std::string block(static_cast<std::size_t>(units) * sizeof(wchar_t), '\0');
    auto* text = reinterpret_cast<wchar_t*>(block.data());
    MultiByteToWideChar(codePage, 0, ansiBlock.data(), bytes, text, units);
    text[units - 1] = L'\0';
    return block;
}

#include "ui/framework/WideText.h"

#include <climits>

namespace {
std::wstring wideFrom(std::string_view text, UINT codePage) {
    if (text.empty() || text.size() > INT_MAX) return {};
    const int bytes = static_cast<int>(text.size());
    const int units = MultiByteToWideChar(codePage, 0, text.data(), bytes, nullptr, 0);
    if (units <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), bytes, wide.data(), units);
    return wide;
}
}  // namespace

std::wstring wideFromUtf8(std::string_view text) { return wideFrom(text, CP_UTF8); }

std::wstring wideFromAnsi(std::string_view text) { return wideFrom(text, CP_ACP); }

std::string utf8FromSystemAnsi(std::string_view text) { return utf8FromWide(wideFromAnsi(text)); }

std::string utf8FromWide(std::wstring_view wide) {
    if (wide.empty() || wide.size() > INT_MAX) return {};
    const int units = static_cast<int>(wide.size());
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), units, utf8.data(), size, nullptr, nullptr);
    return utf8;
}

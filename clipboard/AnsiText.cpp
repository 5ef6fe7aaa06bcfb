#include "clipboard/AnsiText.h"

std::string ansiFromUtf16(const wchar_t* text, std::size_t length) {
    const int units = static_cast<int>(length);
    const int size = WideCharToMultiByte(CP_ACP, 0, text, units, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, units, ansi.data(), size, nullptr, nullptr);
    return ansi;
}

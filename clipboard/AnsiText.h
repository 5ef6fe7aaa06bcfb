#pragma once
#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The first `length` UTF-16 units of `text` in the ANSI code page.
std::string ansiFromUtf16(const wchar_t* text, std::size_t length);

// ANSI bytes (no terminator needed) in UTF-8, converted in the code page given.
std::string utf8FromAnsi(std::string_view ansi, UINT codePage);
// The first `length` UTF-16 units of `text` in UTF-8.
std::string utf8FromWide(const wchar_t* text, std::size_t length);

// The ANSI code page of the locale held in a CF_LOCALE block; CP_ACP without a usable one.
UINT codePageOfLocale(const std::optional<std::string>& localeBlock);

// The CF_UNICODETEXT block the system synthesizes from an ANSI CF_TEXT block: every byte of
// the block converted in the code page, the last unit made a terminator. Fetching it makes the
// system convert while the clipboard is held open; deriving it after closing gives the same
// bytes. Absent when nothing converts.
std::optional<std::string> unicodeBlockFromAnsi(std::string_view ansiBlock, UINT codePage);

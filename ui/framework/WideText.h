#pragma once
#include <windows.h>

#include <string>
#include <string_view>

// Texts for the wide (W) entry points: the program's item texts are UTF-8, everything else ANSI.
std::wstring wideFromUtf8(std::string_view text);
std::wstring wideFromAnsi(std::string_view text);
// UTF-8 of ANSI text in the system's code page, for texts put together with item texts.
std::string utf8FromSystemAnsi(std::string_view text);
// UTF-8 of text read through a wide entry point (the Find box).
std::string utf8FromWide(std::wstring_view wide);

#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

// The first `length` UTF-16 units of `text` in the ANSI code page.
std::string ansiFromUtf16(const wchar_t* text, std::size_t length);

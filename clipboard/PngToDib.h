#pragma once
#include <optional>
#include <string>
#include <string_view>

// A PNG picture as a CF_DIB block: a BITMAPINFOHEADER for 32-bit BGRA rows, bottom row first,
// followed by the pixels. Absent when the bytes are not a PNG the platform's imaging component
// decodes. The calling thread must have joined a COM apartment.
std::optional<std::string> dibFromPng(std::string_view png);

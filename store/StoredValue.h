#pragma once

#include <cstddef>
#include <optional>
#include <string>

// The stored form of values in table Log and the one way to read them back. A column text is
// the encoded bytes, the empty text (the empty caption), or "(null)" for a block not captured.

inline constexpr char kAbsentBlock[] = "(null)";

// encodeBinary of the bytes, as a string.
std::string storedForm(const void* data, std::size_t size);
// A text is stored with its terminating zero byte, so that decoding gives it back terminated.
std::string storedText(const std::string& text);
// A list caption: no caption is stored as the empty text, any caption (the empty one too) as a text.
std::string storedCaption(const std::optional<std::string>& caption);
// A clipboard block, or "(null)" when there is none.
std::string storedBlock(const std::optional<std::string>& block);

// The decoded bytes of a column; absent for NULL, the empty text, "(null)" and for a text
// that does not decode (a damaged or hand-edited row), so no reader ever sees a bad length.
std::optional<std::string> readStoredBlock(const char* columnText);
// A stored text: decoded and cut at its first zero byte; empty when absent.
std::string readStoredText(const char* columnText);

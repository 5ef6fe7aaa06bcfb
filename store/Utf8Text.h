#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// UTF-8 helpers of the side table: conversions that need no platform, and cuts that never
// split a character.
namespace utf8 {

// A clipboard UTF-16LE block up to its first zero unit (a trailing odd byte is ignored), as
// UTF-8, stopping before the character that would pass maxBytes. An unpaired surrogate
// becomes U+FFFD.
std::string fromUtf16Block(std::string_view block, std::size_t maxBytes = std::string::npos);

// Every byte taken as the character of the same number (ISO 8859-1). What a record without a
// Unicode text shows when the caller has no code page conversion at hand.
std::string fromLatin1(std::string_view bytes);

// The first maxBytes bytes of a UTF-8 text, shortened to the last whole character.
std::string_view prefixBytes(std::string_view text, std::size_t maxBytes);

// Byte length of the first maxChars characters (all of the text when it has fewer).
std::size_t bytesOfChars(std::string_view text, std::size_t maxChars);

// A text longer than maxChars characters is cut at the last blank at or before that position
// (at the position itself when there is none) and gets the note.
std::string cutAtBlank(std::string text, std::size_t maxChars, std::string_view note);

// Number of characters (code points) of a UTF-8 text.
std::size_t charCount(std::string_view text);

}  // namespace utf8

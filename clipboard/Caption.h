#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// The one-line list caption of a text item: leading white space dropped, at most 50 bytes
// followed by "..." when longer, line breaks and tabs shown as blanks. Trailing white space
// stays, and a double-byte character may be cut at the 50th byte.
std::string makeCaption(std::string_view text);

// Bytes of text a caption can ever show after its leading white space; reading more of a
// huge clip for the caption is wasted work.
inline constexpr std::size_t kCaptionBytes = 50;

// White space as the caption sees it: blank, tab, line feed, vertical tab, form feed, CR.
bool isCaptionSpace(unsigned int c);

// The size figure the duplicate check compares for a Data block of n bytes: the stored-form
// estimate 1.0118 n + 3, truncated.
int dataSizeFor(std::size_t n);

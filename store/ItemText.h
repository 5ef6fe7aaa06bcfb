#pragma once

#include "store/ClipRecord.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// What the side table LogText holds of one record, in UTF-8: the list caption made from the
// item's own text, the text itself, and where it came from.
struct ItemText {
    std::string caption;
    std::string text;
    std::string sourceName;
    std::string sourceTitle;
};

inline constexpr std::size_t kCaptionChars = 50;
inline constexpr char kImageItemCaption[] = "Image";

// The indexed text of an item stops here (at a whole character). 64 KiB holds nearly every clip
// whole (a page of code, a long mail), while the trigram index of a text costs about three times
// its size and its insert time grows with it: a 10 MiB clip indexed whole would add tens of MiB
// to the file and seconds to its capture. The Log row keeps the whole clip whatever this says.
inline constexpr std::size_t kIndexedTextBytes = 64 * 1024;

// ANSI bytes (without terminator) in UTF-8, in the code page of the CF_LOCALE block when there
// is one, else the system's ANSI code page: a platform service, so the caller provides it.
using AnsiToUtf8 = std::function<std::string(std::string_view ansi, const std::optional<std::string>& localeBlock)>;

// The caption by the rules of Name, counted in characters: leading white space dropped, at most
// 50 characters followed by "..." when longer, line breaks and tabs shown as blanks.
std::string unicodeCaption(std::string_view text);

// The side table's values of a record: its Utf8 texts when the capture gave them, else the
// Unicode block of a Unicode item, else the ANSI text converted by fromAnsi. An image has the
// caption "Image" and no text.
ItemText itemTextOf(const ClipRecord& record, const AnsiToUtf8& fromAnsi);

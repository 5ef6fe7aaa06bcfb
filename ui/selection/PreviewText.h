#pragma once
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The text of the preview tooltip of one history record, and its length cut.
namespace preview {

// Converts UTF-16 text to the encoding of the preview (a platform service, so the caller
// provides it; the program shows UTF-8).
using AnsiConverter = std::function<std::string(std::u16string_view)>;

// One record as the preview reads it. Texts are decoded from their stored form; a field is
// absent when its column was NULL, empty or "(null)".
struct RecordFields {
    std::optional<std::string> sourceName;
    std::optional<std::string> sourceTitle;
    std::string captureTime;               // DTime as local date and time ("%c")
    int id = 0;
    int type = 0;
    std::optional<std::string> text;       // decoded Text block
    std::optional<std::string> data;       // decoded Data block (UTF-16LE for Unicode items)
    // The item's text as written (the side table's), shown instead of text and data when known.
    std::optional<std::string> unicodeText;
};

constexpr std::size_t kMaxLength = 2000;
constexpr char kTruncatedNote[] = "\n ...[text is truncated]";

// Header, rule lines and body; not yet cut.
std::string previewText(const RecordFields& record, const AnsiConverter& toAnsi);
// A text longer than kMaxLength characters (UTF-8) is cut at the last blank at or before
// character position kMaxLength and gets the truncation note. For a text of one-byte
// characters, characters and bytes are the same.
std::string truncated(std::string text);

// The bytes of a decoded block up to its first zero byte.
std::string_view untilZero(std::string_view bytes);
// A decoded UTF-16LE block up to its first zero character (a trailing odd byte is ignored).
std::u16string utf16UntilZero(std::string_view bytes);

}  // namespace preview

#pragma once
#include <vector>

// Clipboard format numbers the history stores; fixed by the platform.
namespace clipformat {
inline constexpr unsigned kText = 1;
inline constexpr unsigned kDib = 8;
inline constexpr unsigned kUnicodeText = 13;
inline constexpr unsigned kLocale = 16;
}  // namespace clipformat

// Which column of a record feeds a clipboard block.
enum class RecordColumn { Text, Data, Locale };

struct ClipBlockSource {
    unsigned format;  // 0 stands for the registered rich-text format
    RecordColumn column;
};

// The blocks a record of this type becomes, in the order they go on the clipboard; empty for
// an unknown type.
std::vector<ClipBlockSource> clipLayoutFor(int type);

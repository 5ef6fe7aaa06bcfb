#pragma once
#include <optional>
#include <string_view>

// How dialog data exchange reads an integer field: optional blanks, an optional sign, digits,
// optional blanks. Anything else, or a value outside int, is refused.
std::optional<int> parseIntegerField(std::string_view text);

#pragma once
#include <string>
#include <string_view>

// Turns the framework's filter notation "Name|*.ext|Other|*.*|" into the platform's list of
// zero-separated pairs ending in two zero bytes.
std::string platformFileFilter(std::string_view barSeparated);

#include "ui/selection/PageArithmetic.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>

namespace paging {
namespace {
int clampToInt(int64_t value) { return static_cast<int>(std::clamp<int64_t>(value, INT_MIN, INT_MAX)); }
int notNegative(int64_t value) { return clampToInt(std::max<int64_t>(value, 0)); }
}  // namespace

int oldestPageOffset(int total, int pageSize) { return notNegative(int64_t{total} - pageSize); }

int olderPageOffset(int offset, int pageSize, int total) {
    int64_t next = int64_t{offset} + pageSize;
    // Never a short oldest page: the page next to the oldest lands on a full one.
    if (next + pageSize > total) next = int64_t{total} - pageSize;
    return notNegative(next);
}

int newerPageOffset(int offset, int pageSize) { return notNegative(int64_t{offset} - pageSize); }

int offsetAfterDelete(int offset) { return clampToInt(int64_t{offset} - 1); }

int offsetForLoad(int offset) { return std::max(offset, 0); }

int queryLimit(int pageSize) { return std::max(pageSize, 0); }

std::string rangeLabel(int offset, int pageSize, int total, int itemsShown) {
    int64_t base = std::max<int64_t>(int64_t{total} - offset - pageSize, 0);
    char text[64];
    snprintf(text, sizeof text, "Items %i-%i of %i", clampToInt(base + 1), clampToInt(base + itemsShown), total);
    return text;
}

ButtonStates buttonStates(int offset, int pageSize, int total) {
    bool older = offset < int64_t{total} - pageSize;
    bool newer = offset > 0;
    return {older, older, newer, newer};
}

}  // namespace paging

#pragma once
#include <string>

// The paging rules of the selection list. Items are numbered from the oldest record (1) to the
// newest (the row count); the page offset counts the newest records skipped before the page,
// so 0 is the newest page. The commands compare against the total as last counted, not a
// fresh count. Everything is computed in 64 bits, so a hand-edited page size near the int
// limits cannot overflow.
namespace paging {

struct ButtonStates {
    bool oldest = false;  // "<<"
    bool older = false;   // "<"
    bool newer = false;   // ">"
    bool newest = false;  // ">>"
};

// New page offsets of the four paging buttons.
int oldestPageOffset(int total, int pageSize);
int olderPageOffset(int offset, int pageSize, int total);
int newerPageOffset(int offset, int pageSize);
constexpr int newestPageOffset() { return 0; }

// Delete lowers the offset by one for every record removed from the shown page, so that the
// label stays right for the shortened page; it may go below 0 on the newest page.
int offsetAfterDelete(int offset);
// The offset a reload starts from: a negative one (only left by Delete on the newest page)
// means the newest page, and is brought back to 0 so the label matches what the query shows.
int offsetForLoad(int offset);
// The LIMIT count of the page query: SQLite reads a negative count as "no limit", which would
// list the whole history; a page size of 0 or below gives an empty page instead.
int queryLimit(int pageSize);

// "Items first-last of total" for a page holding itemsShown items.
std::string rangeLabel(int offset, int pageSize, int total, int itemsShown);
ButtonStates buttonStates(int offset, int pageSize, int total);

}  // namespace paging

// Page arithmetic, range label and paging buttons of the selection list.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>

#include "ui/selection/PageArithmetic.h"

namespace {
// What the page query returns: LIMIT offset,count over `total` rows.
int rowsOnPage(int offset, int pageSize, int total) {
    long long start = paging::offsetForLoad(offset);
    return static_cast<int>(std::clamp<long long>(total - start, 0, paging::queryLimit(pageSize)));
}

std::string labelOfLoadedPage(int offset, int pageSize, int total) {
    return paging::rangeLabel(offset, pageSize, total, rowsOnPage(offset, pageSize, total));
}

enum class Button { None, Oldest, Older, Newer, Newest };

int press(Button button, int offset, int pageSize, int total) {
    switch (button) {
    case Button::Oldest: return paging::oldestPageOffset(total, pageSize);
    case Button::Older: return paging::olderPageOffset(offset, pageSize, total);
    case Button::Newer: return paging::newerPageOffset(offset, pageSize);
    case Button::Newest: return paging::newestPageOffset();
    case Button::None: break;
    }
    return offset;
}
}  // namespace

TEST(PagingTable, WorkedValuesWithPageSize50) {
    struct Row {
        int total, offsetBefore;
        Button button;
        int offset;
        const char* label;
        bool oldest, older, newer, newest;
    } rows[] = {
        {200, 0, Button::None, 0, "Items 151-200 of 200", true, true, false, false},
        {200, 0, Button::Older, 50, "Items 101-150 of 200", true, true, true, true},
        {200, 0, Button::Oldest, 150, "Items 1-50 of 200", false, false, true, true},
        {120, 0, Button::Oldest, 70, "Items 1-50 of 120", false, false, true, true},
        {120, 70, Button::Newer, 20, "Items 51-100 of 120", true, true, true, true},
        {30, 0, Button::None, 0, "Items 1-30 of 30", false, false, false, false},
        {0, 0, Button::None, 0, "Items 1-0 of 0", false, false, false, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        int offset = press(r.button, r.offsetBefore, 50, r.total);
        EXPECT_EQ(offset, r.offset);
        EXPECT_EQ(labelOfLoadedPage(offset, 50, r.total), r.label);
        paging::ButtonStates states = paging::buttonStates(offset, 50, r.total);
        EXPECT_EQ(states.oldest, r.oldest);
        EXPECT_EQ(states.older, r.older);
        EXPECT_EQ(states.newer, r.newer);
        EXPECT_EQ(states.newest, r.newest);
    }
}

TEST(PagingCommands, OlderFromThePageNextToTheOldestLandsOnAFullPage) {
    EXPECT_EQ(paging::olderPageOffset(50, 50, 120), 70);
    EXPECT_EQ(labelOfLoadedPage(70, 50, 120), "Items 1-50 of 120");
    EXPECT_EQ(paging::olderPageOffset(100, 50, 200), 150);
    EXPECT_EQ(paging::olderPageOffset(150, 50, 200), 150) << "the oldest page stays where it is";
}

TEST(PagingCommands, NeverNegative) {
    struct Case { int offset, pageSize, total; } cases[] = {
        {0, 50, 30}, {0, 50, 0}, {-1, 50, 10}, {10, 50, 200}, {-50, 50, 0}, {0, INT_MAX, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.offset << "/" << c.pageSize << "/" << c.total);
        EXPECT_GE(paging::oldestPageOffset(c.total, c.pageSize), 0);
        EXPECT_GE(paging::olderPageOffset(c.offset, c.pageSize, c.total), 0);
        EXPECT_GE(paging::newerPageOffset(c.offset, c.pageSize), 0);
    }
    EXPECT_EQ(paging::newerPageOffset(20, 50), 0);
    EXPECT_EQ(paging::newestPageOffset(), 0);
}

TEST(PagingCommands, HandEditedPageSizesDoNotOverflow) {
    EXPECT_EQ(paging::olderPageOffset(INT_MAX, INT_MAX, INT_MAX), 0);
    EXPECT_EQ(paging::olderPageOffset(10, INT_MAX, 100), 0);
    EXPECT_EQ(paging::newerPageOffset(INT_MIN + 1, INT_MAX), 0);
    EXPECT_EQ(paging::newerPageOffset(10, INT_MIN), INT_MAX) << "clamped, not wrapped";
    EXPECT_EQ(paging::oldestPageOffset(100, INT_MIN), INT_MAX);
    EXPECT_EQ(paging::offsetAfterDelete(INT_MIN), INT_MIN);
    EXPECT_EQ(paging::rangeLabel(0, INT_MIN, INT_MAX, 0), "Items 2147483647-2147483647 of 2147483647");
    EXPECT_EQ(paging::rangeLabel(INT_MIN, 0, 5, 0), "Items 2147483647-2147483647 of 5");
    EXPECT_EQ(paging::rangeLabel(INT_MIN, INT_MAX, 5, 0), "Items 7-6 of 5") << "exact where 32 bits would wrap";
    paging::ButtonStates states = paging::buttonStates(0, INT_MIN, INT_MAX);
    EXPECT_TRUE(states.older);
}

TEST(PagingCommands, PageSizeOfZeroOrBelowGivesAnEmptyPage) {
    EXPECT_EQ(paging::queryLimit(0), 0);
    EXPECT_EQ(paging::queryLimit(-5), 0) << "SQLite would read a negative LIMIT as no limit";
    EXPECT_EQ(paging::queryLimit(50), 50);
    EXPECT_EQ(rowsOnPage(0, -5, 100), 0);
}

// Delete on the newest page lowers the offset below 0; the label stays right for the shortened
// page, and a reload brings the offset back to 0 so that it is right for the reloaded page too.
TEST(PagingAfterDelete, NegativeOffsetKeepsTheLabelRight) {
    int total = 200, offset = 0, shown = 50;
    for (int deleted = 1; deleted <= 3; ++deleted) {
        offset = paging::offsetAfterDelete(offset);
        --total;
        --shown;
        EXPECT_EQ(offset, -deleted);
        EXPECT_EQ(paging::rangeLabel(offset, 50, total, shown),
                  "Items 151-" + std::to_string(200 - deleted) + " of " + std::to_string(total));
        EXPECT_FALSE(paging::buttonStates(offset, 50, total).newer);
    }
    // A capture reloads the page: 198 records now, the newest page again.
    ++total;
    offset = paging::offsetForLoad(offset);
    EXPECT_EQ(offset, 0);
    EXPECT_EQ(labelOfLoadedPage(offset, 50, total), "Items 149-198 of 198");
}

TEST(PagingAfterDelete, OlderFromANegativeOffsetSkipsExactlyTheShownItems) {
    // 200 records, newest page, one deleted: 49 shown (151-199 of 199). "<" must skip those 49.
    int offset = paging::offsetAfterDelete(0);
    int next = paging::olderPageOffset(offset, 50, 200);  // the stored total is still 200
    EXPECT_EQ(next, 49);
    EXPECT_EQ(labelOfLoadedPage(next, 50, 199), "Items 101-150 of 199");
}

TEST(PagingAfterDelete, DeletingOnAnOlderPageKeepsItsNumbers) {
    int offset = paging::offsetAfterDelete(50);  // page 101-150 of 200, one item deleted
    EXPECT_EQ(paging::rangeLabel(offset, 50, 199, 49), "Items 101-149 of 199");
    EXPECT_EQ(labelOfLoadedPage(offset, 50, 199), "Items 101-150 of 199") << "a reload fills the page again";
}

TEST(PagingAfterDelete, EmptiedPageRunsOlder) {
    // The only record deleted: "<" (against the stored total 1) lands on 0 and shows nothing.
    int offset = paging::offsetAfterDelete(0);
    offset = paging::olderPageOffset(offset, 50, 1);
    EXPECT_EQ(offset, 0);
    EXPECT_EQ(labelOfLoadedPage(offset, 50, 0), "Items 1-0 of 0");
    // All 50 items of the newest page of 200 deleted one by one (stored total follows each delete).
    offset = 0;
    for (int i = 0; i < 50; ++i) offset = paging::offsetAfterDelete(offset);
    offset = paging::olderPageOffset(offset, 50, 151);
    EXPECT_EQ(offset, 0);
    EXPECT_EQ(labelOfLoadedPage(offset, 50, 150), "Items 101-150 of 150");
}

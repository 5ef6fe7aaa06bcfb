#pragma once

#include "store/ClipRecord.h"
#include "store/ItemText.h"
#include "store/StoreHost.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

// The side table LogText on historyDb, kept in step with Log by the store's own changes. A file
// whose side table cannot be read or written keeps working through Log alone: the readers
// then get nothing and show Log's ANSI texts.
namespace history::text {

using Clock = std::chrono::steady_clock;
// How long open may spend making side rows, and one step of the rest while the program runs.
// A large file of an older build is made in the background after its newest pages.
inline constexpr Clock::duration kOpenBudget = std::chrono::seconds(2);
inline constexpr Clock::duration kStepBudget = std::chrono::milliseconds(40);

// Creates the table when missing and brings it in step with Log by id: rows of ids that Log no
// longer has, or has anew, go; rows Log has and the table lacks are made, the newest pages first,
// for at most `budget`. Rows left for later are handed to host.makeTextsLater. Never throws.
void bringInStep(StoreHost& host, Clock::duration budget = kOpenBudget);
// One step of the rest (history::makeMissingTexts). Throws.
bool makeMissing(std::int64_t& after, StoreHost& host, Clock::duration budget = kStepBudget);

// The side row of a record just inserted into Log, in the same transaction. Throws.
void add(int id, std::uint32_t dtime, const ItemText& item);
// The side row's texts of a record (its ANSI texts read as Latin-1 when it lacks the capture's).
ItemText textsOf(const ClipRecord& record);
void remove(int id);
void removeAll();
// After the exit trim: the rows older than Log's oldest go (`mostRowsGo`: more of them than stay).
// Never throws.
void trimToLog(bool mostRowsGo);
// After Log was dropped at exit. Never throws.
void drop();

// Captions by id, in the order asked; none for an id without a readable side row.
std::vector<std::optional<std::string>> captions(const std::vector<int>& ids);
std::optional<ItemText> item(int id);

}  // namespace history::text

#pragma once

#include "store/ClipRecord.h"
#include "store/ItemText.h"
#include "store/StoreHost.h"

#include <optional>
#include <string>
#include <vector>

// The side table LogText on historyDb, kept in step with Log by the store's own changes. A file
// whose side table cannot be read or written keeps working through Log alone: the readers
// then get nothing and show Log's ANSI texts.
namespace history::text {

// Creates the table when missing and brings it in step with Log by id (rows of ids that Log no
// longer has, or has anew, go; rows Log has and the table lacks are made). Never throws.
void bringInStep(StoreHost& host);

// The side row of a record just inserted into Log, in the same transaction. Throws.
void add(const ClipRecord& record);
void remove(int id);
void removeAll();
// After the exit trim: the rows older than Log's oldest go. Never throws.
void trimToLog();
// After Log was dropped at exit. Never throws.
void drop();

// Captions by id, in the order asked; none for an id without a readable side row.
std::vector<std::optional<std::string>> captions(const std::vector<int>& ids);
std::optional<ItemText> item(int id);

}  // namespace history::text

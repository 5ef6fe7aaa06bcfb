// The history's changes and its file: open, add, remove.
#include "store/History.h"

#include "store/HistoryDatabase.h"
#include "store/HistorySql.h"

namespace history {

int open(const std::string& dbPath, const std::string& configFolder, StoreHost& host) {
    historyDb.close();
    openHistoryDatabase(dbPath, configFolder, host);
    return nextId - 1;
}

void close() { historyDb.close(); }

void add(ClipRecord record) {
    const std::string statement = insertStatement(record);
    // The blocks are in the statement now; a large clip is not held twice while it runs.
    record = ClipRecord();
    historyDb.execute(statement.c_str());
}

void remove(int id) { historyDb.execute(sql::deleteItem(id).c_str()); }

void removeAll() { historyDb.execute(sql::kDeleteAll); }

void compact() { historyDb.execute(sql::kVacuum); }

}  // namespace history

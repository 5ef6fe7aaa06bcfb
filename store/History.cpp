// The history's changes and its file: open, add, remove.
#include "store/History.h"

#include "store/HistoryDatabase.h"
#include "store/HistorySql.h"

#include <sqlite3.h>

namespace history {

int open(const std::string& dbPath, const std::string& configFolder, StoreHost& host) {
    historyDb.close();
    setLockWait(kShortLockWaitMs);
    openHistoryDatabase(dbPath, configFolder, host);
    return nextId - 1;
}

void close() { historyDb.close(); }

void add(const ClipRecord& record) { historyDb.execute(insertStatement(record).c_str()); }

void setLockWait(int milliseconds) { historyDb.setBusyTimeout(milliseconds); }

bool isBusy(const SqlException& failure) {
    const int primary = failure.code() & 0xFF;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

void remove(int id) { historyDb.execute(sql::deleteItem(id).c_str()); }

void removeAll() { historyDb.execute(sql::kDeleteAll); }

void compact() { historyDb.execute(sql::kVacuum); }

}  // namespace history

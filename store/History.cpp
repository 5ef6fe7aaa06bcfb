// The history's changes and its file: open, add, remove.
#include "store/History.h"

#include "store/HistoryDatabase.h"
#include "store/HistorySql.h"
#include "store/StoredValue.h"

#include <sqlite3.h>

namespace history {

int open(const std::string& dbPath, const std::string& configFolder, StoreHost& host) {
    historyDb.close();
    setLockWait(kShortLockWaitMs);
    openHistoryDatabase(dbPath, configFolder, host);
    return nextId - 1;
}

void close() { historyDb.close(); }

void add(const ClipRecord& record) {
    // Each block is encoded once, into the memory SQLite reads it from.
    const std::string texts[] = {storedCaption(record.Name), storedText(record.SourceName), storedText(record.SourceTitle),
                                 storedBlock(record.Locale), storedBlock(record.Text)};
    const std::string data = storedBlock(record.Data);
    SqlStatement insert = historyDb.statement(sql::kInsertBoundRow);
    insert.bindInt(1, record.Id);
    insert.bindInt(2, record.DTime);
    for (int i = 0; i < 5; ++i) insert.bindText(3 + i, texts[i].data(), texts[i].size());
    insert.bindInt(8, record.Type);
    insert.bindText(9, data.data(), data.size());
    insert.run();
}

void setLockWait(int milliseconds) { historyDb.setBusyTimeout(milliseconds); }

bool isBusy(const SqlException& failure) {
    const int primary = failure.code() & 0xFF;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

void remove(int id) { historyDb.execute(sql::deleteItem(id).c_str()); }

void removeAll() { historyDb.execute(sql::kDeleteAll); }

void compact() { historyDb.execute(sql::kVacuum); }

}  // namespace history

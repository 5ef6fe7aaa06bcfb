// The history's changes and its file: open, add, remove.
#include "store/History.h"

#include "store/HistoryDatabase.h"
#include "store/HistorySql.h"
#include "store/HistoryText.h"
#include "store/SqlStatement.h"
#include "store/StoredValue.h"

#include <sqlite3.h>

namespace history {

namespace {
// A side row that cannot be written costs the user no capture and no delete: the side table
// is brought in step at the next open. Only a busy file fails the change, as Log's would.
template <typename Change>
void keepSideInStep(Change change) {
    try {
        change();
    } catch (const SqlException& failure) {
        if (isBusy(failure)) throw;
    }
}

void addSideRow(const ClipRecord& record) {
    keepSideInStep([&record] { text::add(record); });
}
}  // namespace

int open(const std::string& dbPath, const std::string& configFolder, StoreHost& host) {
    historyDb.close();
    setLockWait(kShortLockWaitMs);
    openHistoryDatabase(dbPath, configFolder, host);
    try {
        releaseMemory();  // bringing the side table in step may have read the whole file
    } catch (const SqlException&) {
        // Not open: the open failure has been shown.
    }
    return nextId - 1;
}

void close() { historyDb.close(); }

bool makeMissingTexts(int& below, StoreHost& host) {
    const bool more = text::makeMissing(below, host);
    releaseMemory();
    return more;
}

void releaseMemory() { historyDb.execute(sql::kReleaseMemory); }

void add(const ClipRecord& record) {
    // Each block is encoded once, into the memory SQLite reads it from.
    const std::string texts[] = {storedCaption(record.Name), storedText(record.SourceName), storedText(record.SourceTitle),
                                 storedBlock(record.Locale), storedBlock(record.Text)};
    const std::string data = storedBlock(record.Data);
    SqlTransaction transaction(historyDb);
    SqlStatement insert = historyDb.prepareStatement(sql::kInsertBoundRow);
    insert.bind(1, record.Id).bind(2, record.DTime);
    for (int i = 0; i < 5; ++i) insert.bindKept(3 + i, texts[i]);
    insert.bind(8, record.Type).bindKept(9, data);
    insert.run();
    addSideRow(record);
    transaction.commit();
    releaseMemory();
}

void setLockWait(int milliseconds) { historyDb.setBusyTimeout(milliseconds); }

bool isBusy(const SqlException& failure) {
    const int primary = failure.code() & 0xFF;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

void remove(int id) {
    SqlTransaction transaction(historyDb);
    historyDb.execute(sql::deleteItem(id).c_str());
    keepSideInStep([id] { text::remove(id); });
    transaction.commit();
}

void removeAll() {
    SqlTransaction transaction(historyDb);
    historyDb.execute(sql::kDeleteAll);
    keepSideInStep(text::removeAll);
    transaction.commit();
}

void compact() { historyDb.execute(sql::kVacuum); }

}  // namespace history

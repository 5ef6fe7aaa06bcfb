#include "store/HistoryMaintenance.h"

#include "store/HistoryDatabase.h"
#include "store/HistorySql.h"
#include "store/HistoryText.h"
#include "store/SqlException.h"

namespace {

// Throws, as the DROP or DELETE itself would on a missing table, when Log is not a history table.
void requireHistoryTable() { historyDb.query(sql::kCheckLogColumns).release(); }

// The oldest rows of Log and their side rows go, through a larger page cache that is given back
// after: the exit step may be followed by more of the run (a log-off that is cancelled).
void trimOldest(int removed, int kept) {
    historyDb.execute(sql::kTrimPageCache);
    try {
        historyDb.query(sql::trimOldest(removed).c_str()).release();
        history::text::trimToLog(removed > kept);
    } catch (const SqlException&) {
        historyDb.execute(sql::kLimitPageCache);
        throw;
    }
    historyDb.execute(sql::kLimitPageCache);
    historyDb.execute(sql::kReleaseMemory);
}

void dropOrTrim(const HistoryLimits& limits, bool& historyChanged, int& cachedItemCount) {
    if (!limits.saveItemsInDataBase) {
        requireHistoryTable();
        historyDb.query(sql::kDropLogTable).release();
        history::text::drop();
        historyChanged = true;
        return;
    }
    if (limits.limitRecordsInDB < 1) return;
    const int count = historyDb.queryInt(sql::kCountRows);
    cachedItemCount = count;
    if (count > limits.limitRecordsInDB) {
        requireHistoryTable();
        trimOldest(count - limits.limitRecordsInDB, limits.limitRecordsInDB);
        historyChanged = true;
    }
}

void countRunThatRemovedRows(StoreHost& host) {
    // Wide enough that a hand-edited maximum cannot overflow.
    const long long runs = host.readConfigInt(kVacuumCountKey, 0);
    host.writeConfigString(kVacuumCountKey, std::to_string(runs + 1));
}

}  // namespace

void vacuumIfDue(const std::string& configFolder, StoreHost& host) {
    if (host.readConfigInt(kVacuumCountKey, 0) <= 9) return;
    historyDb.execute(sql::kVacuum);
    host.writeConfigString(kVacuumCountKey, "0");
    deleteLeftoverFiles(configFolder, kLeftoverFilePattern, host);
}

void deleteLeftoverFiles(const std::string& folder, const std::string& pattern, StoreHost& host) {
    if (folder.empty() || !host.pathExists(folder)) {
        host.showMessage(host.applicationTitle(), kInvalidPathText + folder, StoreHost::MessageKind::Plain);
        return;
    }
    for (const std::string& name : host.listFiles(folder + pattern)) host.deleteFile(folder + name);
}

void trimHistory(const HistoryLimits& limits, bool& historyChanged, int& cachedItemCount, StoreHost& host) {
    try {
        dropOrTrim(limits, historyChanged, cachedItemCount);
        if (historyChanged) countRunThatRemovedRows(host);
    } catch (const SqlException& failure) {
        host.showMessage(host.applicationTitle(), failure.message(), StoreHost::MessageKind::Plain);
    }
}

#include "store/HistoryDatabase.h"

#include "store/History.h"
#include "store/HistoryMaintenance.h"
#include "store/HistorySql.h"
#include "store/HistoryText.h"
#include "store/SqlException.h"

#include <cstdio>
#include <optional>

SqlDatabase historyDb;
int nextId = 0;
bool historyChanged = false;

namespace {

// Ids wrap instead of overflowing when a hand-edited row holds the largest int.
int idAfter(int id) { return static_cast<int>(static_cast<unsigned>(id) + 1u); }

void reportOpenFailure(const SqlException& failure, const std::string& dbPath, StoreHost& host) {
    host.showMessage(kOpenErrorCaption, openErrorText(failure.message(), dbPath), StoreHost::MessageKind::Error);
}

void createListIndex() {
    try {
        historyDb.execute(sql::kCreateListIndex);
    } catch (const SqlException&) {
        // A read-only or foreign file: the queries work without it, only slower.
    }
}

}  // namespace

std::string openErrorText(const char* message, const std::string& dbPath) {
    static const char kFormat[] = "Can't open database or create main table\n Error #1 - %s\n\nIs this path correct?\n%s";
    const int length = std::snprintf(nullptr, 0, kFormat, message, dbPath.c_str());
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    std::snprintf(text.data(), text.size() + 1, kFormat, message, dbPath.c_str());
    return text;
}

void openHistoryDatabase(const std::string& dbPath, const std::string& configFolder, StoreHost& host) {
    try {
        historyDb.open(dbPath.c_str());
    } catch (const SqlException& failure) {
        reportOpenFailure(failure, dbPath, host);
        return;
    }
    try {
        historyDb.execute(sql::kLimitPageCache);
    } catch (const SqlException&) {
        // Only memory: the file works with the default cache.
    }
    try {
        historyDb.execute(sql::kCreateLogTable);
        nextId = 0;
        createListIndex();
        history::text::bringInStep(host);
        return;
    } catch (const SqlException&) {
        // The table exists already (or the file is unusable, which the next steps find out).
    }
    std::optional<SqlException> vacuumFailure;
    try {
        vacuumIfDue(configFolder, host);
    } catch (const SqlException& failure) {
        vacuumFailure = failure;
    }
    // Even when the compaction failed the table is there: without its ids, new items would
    // take ids of old ones and be listed, and trimmed, as the oldest.
    loadNextId();
    createListIndex();
    history::text::bringInStep(host);
    if (vacuumFailure) reportOpenFailure(*vacuumFailure, dbPath, host);
}

void loadNextId() {
    try {
        nextId = idAfter(historyDb.queryInt(sql::kSelectMaxId));
    } catch (const SqlException&) {
        nextId = 0;
    }
}

int history::claimNextId() {
    const int id = nextId;
    nextId = idAfter(nextId);
    return id;
}

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

void addSideRow(const StoredRow& row) {
    keepSideInStep([&row] { text::add(row.id, row.dtime, row.side); });
}

// Rows of more than this go in through a small page cache.
constexpr std::size_t kLargeRowBytes = 1 << 20;

class SmallCacheWhileLarge {
public:
    explicit SmallCacheWhileLarge(const StoredRow& row) : large_(row.text.size() + row.data.size() > kLargeRowBytes) {
        if (large_) historyDb.execute(sql::kWriteThroughCache);
    }
    ~SmallCacheWhileLarge() {
        try {
            if (large_) historyDb.execute(sql::kLimitPageCache);
        } catch (const SqlException&) {
            // Only memory: the next open sets the cache again.
        }
    }
    SmallCacheWhileLarge(const SmallCacheWhileLarge&) = delete;
    SmallCacheWhileLarge& operator=(const SmallCacheWhileLarge&) = delete;

private:
    bool large_;
};

// The block's stored form; the captured bytes go at once.
std::string encodedAndReleased(std::optional<std::string>& block) {
    std::string stored = storedBlock(block);
    block.reset();
    return stored;
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
    // The id before nextId, which wraps like nextId itself when a row holds the largest int.
    return static_cast<int>(static_cast<unsigned>(nextId) - 1u);
}

void close() { historyDb.close(); }

bool makeMissingTexts(std::int64_t& after, StoreHost& host) {
    const bool more = text::makeMissing(after, host);
    releaseMemory();
    return more;
}

void releaseMemory() { historyDb.execute(sql::kReleaseMemory); }

StoredRow storedRow(ClipRecord record) {
    StoredRow row{record.Id, record.DTime, record.Type, storedCaption(record.Name), storedText(record.SourceName),
                  storedText(record.SourceTitle), storedBlock(record.Locale), {}, {}, text::textsOf(record)};
    row.text = encodedAndReleased(record.Text);
    row.data = encodedAndReleased(record.Data);
    return row;
}

void add(const StoredRow& row) {
    const SmallCacheWhileLarge cache(row);
    SqlTransaction transaction(historyDb);
    SqlStatement insert = historyDb.prepareStatement(sql::kInsertBoundRow);
    insert.bind(1, row.id).bind(2, row.dtime).bindKept(3, row.name).bindKept(4, row.sourceName);
    insert.bindKept(5, row.sourceTitle).bindKept(6, row.locale).bindKept(7, row.text);
    insert.bind(8, row.type).bindKept(9, row.data);
    insert.run();
    addSideRow(row);
    transaction.commit();
    releaseMemory();
}

void add(const ClipRecord& record) { add(storedRow(record)); }

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

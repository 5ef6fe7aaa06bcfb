// The side table LogText: made and kept in step with Log, and read for display.
#include "store/HistoryText.h"

#include "store/HistoryDatabase.h"
#include "store/HistorySql.h"
#include "store/SqlException.h"
#include "store/SqlStatement.h"
#include "store/StoredValue.h"
#include "store/Utf8Text.h"

#include <algorithm>
#include <cstdint>
#include <map>

namespace history::text {
namespace {
namespace q = sql::text;

// Rows made between looks at the deadline while bringing the table in step; progress is told
// after each such chunk.
constexpr std::size_t kRowsPerChunk = 100;
// Made first at open, so that the list's first pages show as written at once.
constexpr std::size_t kNewestFirst = 1000;

// What a record without the capture's Unicode texts shows when no platform conversion is at
// hand (a record added by a test or a tool): its ANSI bytes as Latin-1.
std::string latin1(std::string_view ansi, const std::optional<std::string>&) { return utf8::fromLatin1(ansi); }

struct Signature {
    std::int64_t rows = 0;
    std::int64_t largestId = -1;
    std::int64_t newestTime = -1;
    bool operator==(const Signature& other) const {
        return rows == other.rows && largestId == other.largestId && newestTime == other.newestTime;
    }
};

Signature signatureOf(const char* statementText) {
    SqlStatement statement = historyDb.prepareStatement(statementText);
    Signature signature;
    if (statement.step()) {
        signature.rows = statement.intColumn(0);
        if (!statement.isNull(1)) signature.largestId = statement.intColumn(1);
        if (!statement.isNull(2)) signature.newestTime = statement.intColumn(2);
    }
    return signature;
}

// Capture time by id.
std::map<std::int64_t, std::int64_t> captureTimes(const char* statementText) {
    SqlStatement statement = historyDb.prepareStatement(statementText);
    std::map<std::int64_t, std::int64_t> times;
    while (statement.step()) times.emplace(statement.intColumn(0), statement.intColumn(1));
    return times;
}

using IdAndTime = std::pair<std::int64_t, std::int64_t>;

// The entries of `from` whose time `other` lacks or holds differently.
std::vector<IdAndTime> notIn(const std::map<std::int64_t, std::int64_t>& from,
                             const std::map<std::int64_t, std::int64_t>& other) {
    std::vector<IdAndTime> entries;
    for (const auto& entry : from) {
        const auto found = other.find(entry.first);
        if (found == other.end() || found->second != entry.second) entries.push_back(entry);
    }
    return entries;
}

void insertRow(SqlStatement& insert, std::int64_t id, const ItemText& item, std::int64_t dtime) {
    insert.bind(1, id).bind(2, item.caption).bind(3, item.text).bind(4, item.sourceName).bind(5, item.sourceTitle);
    insert.bind(6, dtime).run();
}

// The Log row of an id, decoded as the capture filled it; none when it has gone.
std::optional<ClipRecord> logRecord(SqlStatement& select, std::int64_t id) {
    select.bind(1, id);
    if (!select.step()) {
        select.reset();
        return std::nullopt;
    }
    ClipRecord record;
    record.Id = static_cast<int>(id);
    record.SourceName = readStoredText(select.textColumn(0).c_str());
    record.SourceTitle = readStoredText(select.textColumn(1).c_str());
    record.Locale = readStoredBlock(select.textColumn(2).c_str());
    record.Text = readStoredBlock(select.textColumn(3).c_str());
    record.Type = static_cast<int>(select.intColumn(4));
    record.Data = readStoredBlock(select.textColumn(5).c_str());
    select.reset();
    return record;
}

// Makes side rows from Log rows, in chunks of kRowsPerChunk, until a deadline, within the caller's
// transaction. FTS5 writes its pending terms out as a new segment, to be merged later, whenever
// a row's id is below the one before it in a transaction: callers give ids in ascending order.
class RowMaker {
public:
    explicit RowMaker(StoreHost& host)
        : host_(host),
          select_(historyDb.prepareStatement(q::kSelectLogRow)),
          insert_(historyDb.prepareStatement(q::kInsertRow)),
          fromAnsi_([&host](std::string_view ansi, const std::optional<std::string>& locale) {
              return host.utf8FromAnsi(ansi, locale);
          }) {}

    // In the order given; returns how many of `ids` were made before the deadline.
    std::size_t make(const std::vector<IdAndTime>& ids, Clock::time_point deadline, int progressBase, int total) {
        std::size_t done = 0;
        while (done < ids.size() && Clock::now() < deadline) {
            for (const std::size_t end = std::min(ids.size(), done + kRowsPerChunk); done < end; ++done)
                makeRow(ids[done].first, ids[done].second);
            if (total > 0) host_.showBuildProgress(progressBase + static_cast<int>(done), total);
        }
        return done;
    }

private:
    void makeRow(std::int64_t id, std::int64_t time) {
        if (std::optional<ClipRecord> record = logRecord(select_, id))
            insertRow(insert_, id, itemTextOf(*record, fromAnsi_), time);
    }

    StoreHost& host_;
    SqlStatement select_;
    SqlStatement insert_;
    AnsiToUtf8 fromAnsi_;
};

void removeRows(const std::vector<IdAndTime>& ids) {
    SqlStatement remove = historyDb.prepareStatement(q::kDeleteRow);
    SqlTransaction transaction(historyDb);
    for (const IdAndTime& entry : ids) remove.bind(1, entry.first).run();
    transaction.commit();
}

// The newest kNewestFirst ids, then the rest from the oldest up: each run ascending.
std::vector<IdAndTime> newestPagesFirst(const std::vector<IdAndTime>& ascending) {
    const auto newest = ascending.end() - static_cast<std::ptrdiff_t>(std::min(ascending.size(), kNewestFirst));
    std::vector<IdAndTime> order(newest, ascending.end());
    order.insert(order.end(), ascending.begin(), newest);
    return order;
}

// Rows that are not Log's go at once; missing rows are made, the newest pages first, for as long
// as the budget allows. What is left is made in steps while the program runs (makeMissingTexts).
void reconcile(StoreHost& host, Clock::duration budget) {
    const auto inLog = captureTimes(q::kLogIds);
    const auto inTable = captureTimes(q::kTextIds);
    const std::vector<IdAndTime> stale = notIn(inTable, inLog);
    const std::vector<IdAndTime> missing = newestPagesFirst(notIn(inLog, inTable));
    const int total = static_cast<int>(stale.size() + missing.size());
    host.showBuildProgress(0, total);
    removeRows(stale);
    SqlTransaction transaction(historyDb);
    if (!missing.empty()) {
        historyDb.execute(q::kMergeLessOften);
        historyDb.execute(q::kSmallPendingTerms);
    }
    const std::size_t made = RowMaker(host).make(missing, Clock::now() + budget, static_cast<int>(stale.size()), total);
    transaction.commit();
    host.showBuildProgress(total, total);
    if (made < missing.size()) {
        const auto left = missing.begin() + static_cast<std::ptrdiff_t>(made);
        host.makeTextsLater(std::min_element(left, missing.end())->first - 1);
    }
}

void createTable() { historyDb.execute(q::kCreateTable); }

}  // namespace

void bringInStep(StoreHost& host, Clock::duration budget) {
    host.makeTextsLater(std::nullopt);
    try {
        // A table Log of another program (without a history's columns) leaves its file untouched.
        historyDb.query(sql::kCheckLogColumns).release();
        createTable();
        if (signatureOf(q::kLogSignature) == signatureOf(q::kTextSignature)) return;
        reconcile(host, budget);
    } catch (const SqlException&) {
        // A read-only or foreign file, or an older SQLite without FTS5 support: Log alone serves.
    }
}

bool makeMissing(std::int64_t& after, StoreHost& host, Clock::duration budget) {
    const Clock::time_point deadline = Clock::now() + budget;
    SqlStatement next = historyDb.prepareStatement(q::kSelectMissingAfter);
    RowMaker maker(host);
    // One transaction a step, ids ascending throughout: one new index segment a step.
    SqlTransaction transaction(historyDb);
    std::int64_t madeUpTo = after;
    bool more = true;
    while (more && Clock::now() < deadline) {
        std::vector<IdAndTime> ids;
        next.bind(1, madeUpTo).bind(2, static_cast<std::int64_t>(kRowsPerChunk));
        while (next.step()) ids.emplace_back(next.intColumn(0), next.intColumn(1));
        next.reset();
        more = !ids.empty();
        if (!more) break;
        maker.make(ids, Clock::time_point::max(), 0, 0);
        madeUpTo = ids.back().first;
    }
    transaction.commit();
    after = madeUpTo;
    return more;
}

void add(int id, std::uint32_t dtime, const ItemText& item) {
    SqlStatement insert = historyDb.prepareStatement(q::kInsertRow);
    insertRow(insert, id, item, dtime);
}

ItemText textsOf(const ClipRecord& record) { return itemTextOf(record, latin1); }

void remove(int id) { historyDb.prepareStatement(q::kDeleteRow).bind(1, id).run(); }

void removeAll() {
    historyDb.execute(q::kDropTable);
    createTable();
}

void trimToLog(bool mostRowsGo) {
    try {
        if (!mostRowsGo) {
            historyDb.execute(q::kDeleteOlderThanLog);
            return;
        }
        SqlTransaction transaction(historyDb);
        historyDb.execute(q::kSetAsideNewerRows);
        historyDb.execute(q::kDropTable);
        createTable();
        historyDb.execute(q::kPutBackNewerRows);
        historyDb.execute(q::kDropSetAside);
        transaction.commit();
    } catch (const SqlException&) {
        // Brought in step at the next open.
    }
}

void drop() {
    try {
        historyDb.execute(q::kDropTable);
    } catch (const SqlException&) {
    }
}

std::vector<std::optional<std::string>> captions(const std::vector<int>& ids) {
    std::vector<std::optional<std::string>> found(ids.size());
    try {
        SqlStatement select = historyDb.prepareStatement(q::kSelectCaption);
        for (std::size_t i = 0; i < ids.size(); ++i) {
            if (select.bind(1, ids[i]).step()) found[i] = select.textColumn(0);
            select.reset();
        }
    } catch (const SqlException&) {
        // The list then shows Log's captions.
    }
    return found;
}

std::optional<ItemText> item(int id) {
    try {
        SqlStatement select = historyDb.prepareStatement(q::kSelectItem);
        if (!select.bind(1, id).step()) return std::nullopt;
        return ItemText{select.textColumn(0), select.textColumn(1), select.textColumn(2), select.textColumn(3)};
    } catch (const SqlException&) {
        return std::nullopt;
    }
}

}  // namespace history::text

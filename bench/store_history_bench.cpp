// The history database at scale: the list's page query (statement 9) and the tray menu's
// recent-items query (statement 11) on 100,000 rows against 100 rows, and trimHistory from
// 100,000 rows to the default limit of 3,000.
#include "bench/BenchRecords.h"
#include "bench/BenchTiming.h"
#include "bench/QuietHost.h"
#include "store/ClipRecord.h"
#include "store/History.h"
#include "store/HistoryDatabase.h"
#include "store/HistoryMaintenance.h"
#include "store/StoreHost.h"
#include "store/Utf8Text.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <unistd.h>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr int kBigRows = 100000;
constexpr int kSmallRows = 100;
constexpr int kPageSize = 50;
constexpr int kRecentItems = 15;
constexpr int kLimit = 3000;

using bench::QuietHost;

// Texts of a few hundred bytes; most items also carry their Unicode form, as copies from
// modern applications do.
ClipRecord realisticRecord(int id, std::mt19937& random) {
    static const char* const words[] = {"report", "meeting", "it's", "budget", "https://example.org/a?b=c",
                                        "Hello,", "world", "O'Neil", "SELECT", "*", "FROM", "table;",
                                        "\r\n", "2024", "invoice", "#4711", "please", "review", "the", "draft."};
    std::uniform_int_distribution<int> length(150, 450);
    std::uniform_int_distribution<std::size_t> pick(0, sizeof words / sizeof words[0] - 1);
    std::string text;
    const int target = length(random);
    while (static_cast<int>(text.size()) < target) text += std::string(words[pick(random)]) + " ";

    ClipRecord record = bench::notepadText(id, text);
    if (id % 3 == 0) record.SourceName = "winword.exe";
    record.Locale = std::string("\x09\x04\0\0", 4);
    if (id % 4) {
        record.Type = UnicodeText;
        record.Data = bench::utf16Block(text);
    }
    return record;
}

void createHistory(const std::string& path, int rows) {
    std::mt19937 random(3);
    bench::fillHistory(path, rows, [&](int id) { return realisticRecord(id, random); });
    historyDb.close();
}

// One page as the list reads it: the rows, their ids, captions and types.
int readPage(int offset, int size) {
    int captionBytes = 0;
    for (const history::ListEntry& entry : history::page(offset, size))
        captionBytes += (entry.id & 1) + static_cast<int>(entry.caption.size()) + (entry.type & 1);
    return captionBytes;
}

int readRecent() {
    int captionBytes = 0;
    for (const history::ListEntry& entry : history::recent(kRecentItems))
        captionBytes += static_cast<int>(entry.caption.size());
    return captionBytes;
}

struct QueryTimes {
    double newestPage;
    double oldestPage;
    double recent;
};

QueryTimes measureQueries(const std::string& path, int rows) {
    QuietHost host;
    openHistoryDatabase(path, "", host);
    volatile int sink = 0;
    readPage(0, kPageSize);  // warm the page cache
    QueryTimes times{};
    times.newestPage = bench::medianOf(201, [&] { sink = sink + readPage(0, kPageSize); });
    times.oldestPage = bench::medianOf(21, [&] { sink = sink + readPage(rows - kPageSize, kPageSize); });
    times.recent = bench::medianOf(201, [&] { sink = sink + readRecent(); });
    historyDb.close();
    return times;
}

}  // namespace

int main() {
    const fs::path folder = fs::temp_directory_path() / ("yk-history-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::string big = (folder / "big.sql").string();
    const std::string small = (folder / "small.sql").string();
    const std::string trimmed = (folder / "trim.sql").string();

    const double createTime = bench::secondsOf([&] { createHistory(big, kBigRows); });
    createHistory(small, kSmallRows);
    std::printf("history of %d rows: %.1f MB, built in %.2f s\n", kBigRows, double(fs::file_size(big)) / 1e6, createTime);

    const QueryTimes smallTimes = measureQueries(small, kSmallRows);
    const QueryTimes bigTimes = measureQueries(big, kBigRows);
    const double pageRatio = bigTimes.newestPage / smallTimes.newestPage;
    const double recentRatio = bigTimes.recent / smallTimes.recent;
    std::printf("page query (9), newest page of %d: %7.1f us on %d rows, %7.1f us on %d rows = %.2fx (target <= 1.5x: %s)\n",
                kPageSize, bigTimes.newestPage * 1e6, kBigRows, smallTimes.newestPage * 1e6, kSmallRows, pageRatio,
                bench::verdict(pageRatio <= 1.5));
    std::printf("page query (9), oldest page of %d: %7.1f us on %d rows, %7.1f us on %d rows = %.1fx\n", kPageSize,
                bigTimes.oldestPage * 1e6, kBigRows, smallTimes.oldestPage * 1e6, kSmallRows,
                bigTimes.oldestPage / smallTimes.oldestPage);
    std::printf("recent items (11), %d items:      %7.1f us on %d rows, %7.1f us on %d rows = %.2fx (target <= 1.5x: %s)\n",
                kRecentItems, bigTimes.recent * 1e6, kBigRows, smallTimes.recent * 1e6, kSmallRows, recentRatio,
                bench::verdict(recentRatio <= 1.5));

    fs::copy_file(big, trimmed);
    QuietHost host;
    openHistoryDatabase(trimmed, "", host);
    bool historyChanged = false;
    int itemCount = 0;
    const double trimTime =
        bench::secondsOf([&] { trimHistory({true, kLimit}, historyChanged, itemCount, host); });
    const int left = history::count();
    historyDb.close();
    std::printf("trimHistory %d -> %d rows (%d left): %.3f s (target <= 0.5 s: %s)\n", itemCount, kLimit, left, trimTime,
                bench::verdict(trimTime <= 0.5 && left == kLimit));

    fs::remove_all(folder);
    return 0;
}

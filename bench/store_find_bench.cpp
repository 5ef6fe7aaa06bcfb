// The Find box's search: what one keystroke's search costs (the count for the label and the
// newest page of 50 matches) over 1,000 and 100,000 items of ~1 KiB.
#include "bench/BenchRecords.h"
#include "bench/BenchTiming.h"
#include "bench/QuietHost.h"
#include "store/ClipRecord.h"
#include "store/History.h"
#include "store/HistoryDatabase.h"
#include "store/StoreHost.h"
#include "store/Utf8Text.h"

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kPlanted = 20;  // items holding the rare words
constexpr int kPageSize = 50;

using bench::QuietHost;

// About 1 KiB of words; every (rows / kPlanted)-th item also holds "zqx" and "kilimanjar" midway.
ClipRecord item(int id, int rows, std::mt19937& random) {
    static const char* const words[] = {"report", "meeting", "budget", "invoice", "please", "review", "the",
                                        "draft.", "Hello,", "world", "2024", "#4711", "O'Neil", "Привет"};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof words / sizeof words[0] - 1);
    std::string text;
    bool planted = id % (rows / kPlanted) != 0;
    while (text.size() < 1024) {
        text += std::string(words[pick(random)]) + " ";
        if (!planted && text.size() > 500) {
            text += "zqx kilimanjaro ";
            planted = true;
        }
    }
    ClipRecord record = bench::notepadText(id, text);
    record.Utf8 = ClipRecord::Utf8Texts{text, record.SourceName, record.SourceTitle};
    return record;
}

void fill(const std::string& path, int rows) {
    std::mt19937 random(5);
    bench::fillHistory(path, rows, [&](int id) { return item(id, rows, random); });
}

void measure(const char* what, const char* typed, bool judged) {
    int found = 0;
    std::size_t shown = 0;
    const double seconds = bench::medianOf(7, [&] {
        found = history::findCount(typed);
        shown = history::findPage(typed, 0, kPageSize).size();
    });
    std::printf("  %-34s %-22s %6d matches, %2zu shown: %7.2f ms%s%s\n", what, (std::string("\"") + typed + "\"").c_str(),
                found, shown, seconds * 1e3, judged ? " (target <= 20 ms: " : "",
                judged ? (std::string(bench::verdict(seconds <= 0.020)) + ")").c_str() : "");
}

}  // namespace

int main() {
    const fs::path folder = fs::temp_directory_path() / ("yk-find-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    for (int rows : {1000, 100000}) {
        const std::string path = (folder / ("find-" + std::to_string(rows) + ".sql")).string();
        const double filling = bench::secondsOf([&] { fill(path, rows); });
        std::printf("%d items of ~1 KiB (made in %.1f s); one keystroke's search = count + newest page of %d:\n", rows,
                    filling, kPageSize);
        measure("three letters, in 20 items", "zqx", true);
        measure("ten letters, in 20 items", "kilimanjar", true);
        measure("three letters, in most items", "rev", false);
        measure("two common words", "review budget", false);
        measure("two letters (caption/title scan)", "ra", false);
        historyDb.close();
    }
    fs::remove_all(folder);
    return 0;
}

#pragma once
// Items and history files the store benchmarks seed themselves with.
#include <string>

#include "bench/QuietHost.h"
#include "store/ClipRecord.h"
#include "store/History.h"
#include "store/HistoryDatabase.h"

namespace bench {

// A text copied in Notepad: its caption, source and capture time follow from the id.
inline ClipRecord notepadText(int id, const std::string& text) {
    ClipRecord record;
    record.Id = id;
    record.DTime = 1700000000u + static_cast<unsigned>(id);
    record.Name = text.substr(0, 50) + "...";
    record.SourceName = "notepad.exe";
    record.SourceTitle = "Untitled - Notepad";
    record.Text = text + '\0';
    return record;
}

// The Unicode block of an ASCII text, terminator included.
inline std::string utf16Block(const std::string& text) {
    std::string utf16;
    for (char c : text) utf16 += std::string{c, '\0'};
    return utf16 + std::string(2, '\0');
}

// Opens (creating) the file and adds `rows` items made by make(id) in one transaction.
template <typename Make>
void fillHistory(const std::string& path, int rows, Make make) {
    QuietHost host;
    openHistoryDatabase(path, "", host);
    historyDb.execute("BEGIN;");
    for (int i = 0; i < rows; ++i) history::add(make(history::claimNextId()));
    historyDb.execute("COMMIT;");
}

}  // namespace bench

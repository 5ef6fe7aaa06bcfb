#pragma once
// The store tests' shared setup: a fake platform, and historyDb on a fresh file in its own folder per test.
#include "store/History.h"
#include "store/HistoryDatabase.h"
#include "store/HistoryMaintenance.h"
#include "store/Utf8Text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

using namespace std::string_literals;

namespace store_test {

struct FakeStoreHost : StoreHost {
    std::map<std::string, std::string> config;
    std::set<std::string> busy;  // held open, cannot be deleted
    std::map<std::string, std::vector<std::string>> listings;  // folder + pattern -> names
    std::vector<std::string> deleted, messages;                 // messages as "caption|text"
    std::vector<std::pair<int, int>> progress;
    std::optional<std::int64_t> textsLater;

    int readConfigInt(const char* key, int fallback) override {
        return config.count(key) ? std::atoi(config[key].c_str()) : fallback;
    }
    void writeConfigString(const char* key, const std::string& value) override { config[key] = value; }
    bool pathExists(const std::string& path) override { return std::filesystem::exists(path); }
    std::vector<std::string> listFiles(const std::string& pattern) override { return listings[pattern]; }
    bool deleteFile(const std::string& path) override { return !busy.count(path) && (deleted.push_back(path), true); }
    void showMessage(const std::string& caption, const std::string& text, MessageKind) override {
        messages.push_back(caption + "|" + text);
    }
    std::string applicationTitle() const override { return "yarrowkit"; }
    // Windows-1252 agrees with Latin-1 on every character the tests use.
    std::string utf8FromAnsi(std::string_view ansi, const std::optional<std::string>&) override {
        return utf8::fromLatin1(ansi);
    }
    void showBuildProgress(int done, int total) override { progress.emplace_back(done, total); }
    void makeTextsLater(std::optional<std::int64_t> after) override { textsLater = after; }
};

class HistoryDbTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "yk-store-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern + "/";
        nextId = 0;
        open();
    }
    void TearDown() override {
        historyDb.close();
        std::filesystem::remove_all(folder);
    }
    std::string dbPath() const { return folder + "vorla.sql"; }
    // As the program opens its file: returns the id the newest item is taken to have.
    int open() { return history::open(dbPath(), folder, host); }
    int rowCount() { return historyDb.queryInt("SELECT COUNT(*) FROM Log;"); }
    void trim(bool save, int limit = 3000) { trimHistory({save, limit}, changed, cachedCount, host); }
    std::string& vacuumCount() { return host.config["VacuumCount"]; }  // "" when never written
    // Plain texts "<prefix><id>" under the next ids, in one transaction: with their side rows as the
    // capture writes them, or in Log only (and at other times) as an older build or another program does.
    void addClips(int count, const std::string& prefix = "clip ", bool logOnly = false) {
        SqlTransaction transaction(historyDb);
        for (ClipRecord record; count-- > 0;) {
            record.Id = history::claimNextId();
            record.DTime = logOnly ? 100u + static_cast<unsigned>(record.Id) : 0;
            record.Name = prefix + std::to_string(record.Id);
            record.Text = *record.Name + '\0';
            if (logOnly) historyDb.execute(insertStatement(record).c_str());
            else history::add(record);
        }
        transaction.commit();
    }
    static std::vector<int> idsOf(const std::vector<history::ListEntry>& entries) {
        std::vector<int> ids;
        for (const auto& entry : entries) ids.push_back(entry.id);
        return ids;
    }

    std::string folder;
    FakeStoreHost host;
    bool changed = false;
    int cachedCount = -1;
};

}  // namespace store_test

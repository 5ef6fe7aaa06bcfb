#pragma once
// Shared by the store tests: a scratch folder, a fake platform and a clean historyDb per test.

#include "store/HistoryDatabase.h"
#include "store/SqlException.h"
#include "store/StoreHost.h"
#include "store/Utf8Text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace store_test {

struct ShownMessage {
    std::string caption;
    std::string text;
    StoreHost::MessageKind kind;
};

// Config values in memory, a set of existing paths, canned directory listings and a record of
// what was deleted and shown.
class FakeStoreHost : public StoreHost {
public:
    std::map<std::string, std::string> config;
    std::set<std::string> existingPaths;
    std::map<std::string, std::vector<std::string>> listings;  // folder + pattern -> names
    std::set<std::string> undeletable;
    std::vector<std::string> searched;
    std::vector<std::string> deleted;
    std::vector<ShownMessage> messages;
    std::vector<std::pair<int, int>> progress;  // done, total as reported

    int readConfigInt(const char* key, int defaultValue) override {
        auto found = config.find(key);
        return found == config.end() ? defaultValue : std::atoi(found->second.c_str());
    }
    void writeConfigString(const char* key, const std::string& value) override { config[key] = value; }
    bool pathExists(const std::string& path) override { return existingPaths.count(path) != 0; }
    std::vector<std::string> listFiles(const std::string& folderAndPattern) override {
        searched.push_back(folderAndPattern);
        auto found = listings.find(folderAndPattern);
        return found == listings.end() ? std::vector<std::string>{} : found->second;
    }
    bool deleteFile(const std::string& path) override {
        if (undeletable.count(path)) return false;
        deleted.push_back(path);
        return true;
    }
    void showMessage(const std::string& caption, const std::string& text, MessageKind kind) override {
        messages.push_back({caption, text, kind});
    }
    std::string applicationTitle() const override { return "yarrowkit"; }
    // Windows-1252 agrees with Latin-1 on every character the tests use.
    std::string utf8FromAnsi(std::string_view ansi, const std::optional<std::string>&) override {
        return utf8::fromLatin1(ansi);
    }
    void showBuildProgress(int done, int total) override { progress.emplace_back(done, total); }
    void makeTextsLater(std::optional<int> below) override { textsLater = below; }
    std::optional<int> textsLater;
};

// A fresh folder under the system temp folder, removed with everything in it afterwards.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "yk-store-XXXXXX").string();
        path_ = mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // With the trailing separator, as the program's folders are held.
    std::string folder() const { return path_ + "/"; }
    std::string file(const std::string& name) const { return folder() + name; }

private:
    std::string path_;
};

// Every test starts and ends with historyDb closed, its lock wait and nextId at their
// process-start values (the tests also run in one process, not only one per ctest test).
class HistoryDbTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(scratch.folder().empty() || scratch.folder() == "/");
        historyDb.close();
        historyDb.setBusyTimeout(SqlDatabase::kDefaultBusyTimeoutMs);
        nextId = 0;
    }
    void TearDown() override {
        historyDb.close();
        nextId = 0;
    }

    void openFresh() {
        openHistoryDatabase(dbPath(), scratch.folder(), host);
        ASSERT_TRUE(host.messages.empty());
    }
    std::string dbPath() const { return scratch.file("vorla.sql"); }
    int rowCount() { return historyDb.queryInt("SELECT COUNT(*) FROM Log;"); }

    ScratchFolder scratch;
    FakeStoreHost host;
};

// Expects the operation to throw the layer's own error (code 1000) with this text.
inline void expectLayerFailure(const std::function<void()>& operation, const std::string& text) {
    try {
        operation();
        ADD_FAILURE() << "no SqlException, expected " << text;
    } catch (const SqlException& failure) {
        EXPECT_EQ(failure.code(), 1000);
        EXPECT_EQ(std::string(failure.message()), "SQLLAYER_ERROR[1000]: " + text);
    }
}

}  // namespace store_test

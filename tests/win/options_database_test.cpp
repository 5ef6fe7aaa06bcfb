// The database page's Move and Empty against real files, a real selection list and real
// message boxes, above all when they fail: the history must never be lost. The journeys through
// the real options window (Switch, Move with No, Move onto the file in use, Empty with No) are
// end-to-end tests in test_options.py.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/ConfigFile.h"
#include "app/Paths.h"
#include "res/resource.h"
#include "store/ClipRecord.h"
#include "store/History.h"
#include "store/HistoryDatabase.h"
#include "app/WinStoreHost.h"
#include "ui/options/DatabasePage.h"

namespace {

std::string tempFolder() {
    char path[MAX_PATH];
    GetTempPathA(sizeof path, path);
    return path;
}

bool fileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string windowText(HWND window) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

struct SeenBox {
    std::string caption;
    std::string text;
};

// Answers the message boxes of this process in turn with the given buttons, and keeps what they
// said. Boxes beyond the answers are closed with their first button and recorded as well.
class MessageBoxAnswerer {
public:
    MessageBoxAnswerer(std::vector<int> answers, HWND ignored) : answers_(std::move(answers)), ignored_(ignored) {
        thread_ = std::thread([this] { run(); });
    }
    ~MessageBoxAnswerer() {
        stop_ = true;
        thread_.join();
    }
    std::vector<SeenBox> seen() {
        std::lock_guard<std::mutex> lock(mutex_);
        return seen_;
    }

private:
    struct Search {
        HWND ignored;
        HWND found = nullptr;
    };
    static BOOL CALLBACK findBox(HWND window, LPARAM param) {
        auto* search = reinterpret_cast<Search*>(param);
        char name[32] = {};
        GetClassNameA(window, name, sizeof name);
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        if (window != search->ignored && std::string(name) == "#32770" && IsWindowVisible(window) &&
            processId == GetCurrentProcessId()) {
            search->found = window;
            return FALSE;
        }
        return TRUE;
    }
    void run() {
        size_t answered = 0;
        while (!stop_) {
            Search search{ignored_};
            EnumWindows(findBox, reinterpret_cast<LPARAM>(&search));
            if (!search.found) {
                Sleep(20);
                continue;
            }
            {
                std::lock_guard<std::mutex> lock(mutex_);
                seen_.push_back({windowText(search.found), windowText(GetDlgItem(search.found, 0xFFFF))});
            }
            int button = answered < answers_.size() ? answers_[answered] : IDOK;
            ++answered;
            PostMessageA(search.found, WM_COMMAND, button, 0);
            while (!stop_ && IsWindow(search.found) && IsWindowVisible(search.found)) Sleep(10);
        }
    }

    std::vector<int> answers_;
    HWND ignored_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<SeenBox> seen_;
    std::thread thread_;
};

// The page's actions under test touch neither the tray icon, the hot keys nor the Run value.
class NoOptionsHost : public OptionsHost {
public:
    void showTrayIcon(bool) override {}
    void rebindHotKey(int, HotKeyCombination, HWND) override {}
    bool runsAtStartup() override { return false; }
    void setRunAtStartup(bool) override {}
};

// The selection window's controls, for the list the page reloads.
class ListHost : public Dialog {
public:
    ListHost() : Dialog(IDD_SELECTION) {}
};

int countRows() { return historyDb.queryInt("SELECT count(*) FROM Log;"); }

class DatabasePageTest : public testing::Test {
protected:
    void SetUp() override {
        folder_ = tempFolder() + "yk-options-db\\";
        CreateDirectoryA(folder_.c_str(), nullptr);
        configFolder = folder_;
        dbPath = oldPath_ = folder_ + "history.sql";
        DeleteFileA(oldPath_.c_str());
        DeleteFileA(config_.path().c_str());
        host_.Create(nullptr);
        list_.attach(host_.hwnd());
        openHistoryDatabase(dbPath, configFolder, storeHost_);
        for (int id = 0; id < 3; ++id) {
            ClipRecord record;
            record.Id = history::claimNextId();
            record.Name = "clip " + std::to_string(id);
            record.Text = record.Name;
            historyDb.execute(insertStatement(record).c_str());
        }
        list_.LoadPage();
        page_.Create(host_.hwnd());
    }
    void TearDown() override {
        historyDb.close();
        for (const char* name : {"history.sql", "moved.sql", "config.cfg"})
            DeleteFileA((folder_ + name).c_str());
        RemoveDirectoryA(folder_.c_str());
    }
    int treeCount() const { return TreeView_GetCount(host_.item(IDC_ITEM_TREE)); }
    std::string storedDbPath() const {
        char text[MAX_PATH] = "";
        GetPrivateProfileStringA("Main", configkey::DBPath.name, "", text, sizeof text, config_.path().c_str());
        return text;
    }

    std::string folder_;
    std::string oldPath_;
    ConfigFile config_{tempFolder() + "yk-options-db\\config.cfg"};
    Settings settings_;
    int lastId_ = -1;
    WinStoreHost storeHost_{config_.path(), "yarrowkit"};
    ListHost host_;
    ItemList list_{settings_.CountItemsInRange, settings_.MoveSelection};
    NoOptionsHost optionsHost_;
    OptionsContext context_{optionsHost_, settings_, config_, dbPath, configFolder, list_, lastId_, storeHost_};
    DatabasePage page_{context_};
};

}  // namespace

TEST_F(DatabasePageTest, MoveWhoseCopyFailsKeepsWorkingOnTheOldFile) {
    const std::string locked = folder_ + "moved.sql";
    HANDLE holder = CreateFileA(locked.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    for (const std::string& target : std::vector<std::string>{locked, folder_ + "no such folder\\moved.sql"}) {
        std::vector<SeenBox> seen;
        {
            MessageBoxAnswerer answerer({IDOK}, host_.hwnd());
            page_.moveTo(target);
            Sleep(200);
            seen = answerer.seen();
        }
        ASSERT_EQ(seen.size(), 1u) << target;
        EXPECT_NE(seen[0].text.find("could not be copied"), std::string::npos) << seen[0].text;
        EXPECT_NE(seen[0].text.find(oldPath_), std::string::npos) << "names the file still in use";
        EXPECT_TRUE(fileExists(oldPath_));
        EXPECT_EQ(countRows(), 3);
        EXPECT_EQ(dbPath, oldPath_);
        EXPECT_EQ(storedDbPath(), "");
    }
    CloseHandle(holder);
}

TEST_F(DatabasePageTest, MoveWithYesDeletesTheOldFileAndOpensTheCopy) {
    const std::string target = folder_ + "moved.sql";
    std::vector<SeenBox> seen;
    {
        MessageBoxAnswerer answerer({IDYES}, host_.hwnd());
        page_.moveTo(target);
        seen = answerer.seen();
    }
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "Do you want to delete the old database file: " + oldPath_ + " ?");
    EXPECT_FALSE(fileExists(oldPath_));
    EXPECT_EQ(dbPath, target);
    EXPECT_EQ(storedDbPath(), target);
    EXPECT_EQ(countRows(), 3);
    EXPECT_EQ(lastId_, 2) << "stepping starts at the newest record of the copy";
    EXPECT_EQ(treeCount(), 3);
}

TEST_F(DatabasePageTest, EmptyClearsTheListAndIdsGoOn) {
    {
        MessageBoxAnswerer answerer({IDYES}, host_.hwnd());
        page_.emptyDatabase();
        EXPECT_EQ(answerer.seen().size(), 1u);
    }
    EXPECT_EQ(countRows(), 0);
    EXPECT_EQ(treeCount(), 0);
    EXPECT_EQ(history::claimNextId(), 3) << "new records continue the old numbering";
}

TEST_F(DatabasePageTest, EmptyThatTheDatabaseRefusesIsReportedAndChangesNothing) {
    SqlDatabase other;
    other.open(oldPath_.c_str());
    other.execute("BEGIN EXCLUSIVE;");
    historyDb.setBusyTimeout(100);
    std::vector<SeenBox> seen;
    {
        MessageBoxAnswerer answerer({IDYES, IDOK}, host_.hwnd());
        page_.emptyDatabase();
        Sleep(200);
        seen = answerer.seen();
    }
    ASSERT_EQ(seen.size(), 2u) << "the question, then the failure";
    EXPECT_EQ(treeCount(), 3) << "the list keeps the records that are still there";
    EXPECT_NE(seen[1].text.find("locked"), std::string::npos) << seen[1].text;
    other.execute("ROLLBACK;");
    other.close();
    EXPECT_EQ(countRows(), 3);
    historyDb.setBusyTimeout(SqlDatabase::kDefaultBusyTimeoutMs);
}

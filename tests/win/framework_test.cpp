// The dialog-framework layer and the settings file against the real platform.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "app/ConfigFile.h"
#include "app/Paths.h"
#include "ui/framework/DataExchange.h"
#include "ui/framework/FileFilter.h"

namespace {

std::string tempFolder() {
    char path[MAX_PATH];
    GetTempPathA(sizeof path, path);
    return path;
}

// Presses the first button of the next message box that appears, and remembers its text.
class MessageBoxAnswerer {
public:
    MessageBoxAnswerer() : thread_([this] { run(); }) {}
    ~MessageBoxAnswerer() {
        stop_ = true;
        thread_.join();
    }
    std::string text() const { return text_; }

private:
    void run() {
        while (!stop_) {
            HWND box = FindWindowA("#32770", nullptr);
            if (box && IsWindowVisible(box) && GetDlgItem(box, 0xFFFF)) {
                char text[512] = {};
                GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
                text_ = text;
                PostMessageA(box, WM_COMMAND, IDOK, 0);
                return;
            }
            Sleep(20);
        }
    }
    std::atomic<bool> stop_{false};
    std::string text_;
    std::thread thread_;
};

}  // namespace

TEST(ConfigFile, WritesGoStraightToTheFileAndReadBack) {
    std::string path = tempFolder() + "yk-config-test.cfg";
    DeleteFileA(path.c_str());
    ConfigFile config(path);
    EXPECT_EQ(config.readInt("Missing", 42), 42);
    config.writeInt("Number", -17);
    config.writeFlag("Flag", true);
    config.writeString("Text", "C:\\some where\\file.sql");
    ConfigFile again(path);
    EXPECT_EQ(again.readInt("Number", 0), -17);
    EXPECT_EQ(again.readInt("Flag", 0), 1);
    EXPECT_EQ(again.readString("main", "Text", ""), "C:\\some where\\file.sql");
    DeleteFileA(path.c_str());
}

TEST(ConfigFile, LongValuesAreReadWhole) {
    std::string path = tempFolder() + "yk-config-long.cfg";
    DeleteFileA(path.c_str());
    std::string longPath = "C:\\" + std::string(3000, 'a') + "\\history.sql";
    ConfigFile(path).writeString("DBPath", longPath);
    EXPECT_EQ(ConfigFile(path).readString("main", "DBPath", ""), longPath);
    DeleteFileA(path.c_str());
}

TEST(Paths, ConfigFolderIsUnderApplicationData) {
    std::string folder = findConfigFolder("fallback\\");
    ASSERT_GE(folder.size(), 12u);
    EXPECT_EQ(folder.substr(folder.size() - 11), "\\YarrowKit\\");
    EXPECT_NE(folder.find("AppData"), std::string::npos);
}

TEST(Paths, ExeFolderEndsWithBackslash) {
    std::string folder = findExeFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_NE(GetFileAttributesA(folder.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Paths, EnsureFolderMakesMissingParents) {
    std::string root = tempFolder() + "yk-paths-test\\";
    std::string nested = root + "a\\b\\";
    EXPECT_TRUE(ensureFolder(nested));
    EXPECT_TRUE(ensureFolder(nested)) << "an existing folder is fine";
    RemoveDirectoryA((root + "a\\b").c_str());
    RemoveDirectoryA((root + "a").c_str());
    RemoveDirectoryA(root.c_str());
    std::string blocked = tempFolder() + "yk-paths-file";
    HANDLE file = CreateFileA(blocked.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);
    EXPECT_FALSE(ensureFolder(blocked + "\\inner\\")) << "a file in the way cannot become a folder";
    DeleteFileA(blocked.c_str());
}

TEST(DataExchange, CheckBoxAndIntegerRoundTrip) {
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    CreateWindowExA(0, "BUTTON", "", WS_CHILD | BS_AUTOCHECKBOX, 0, 0, 50, 20, window, reinterpret_cast<HMENU>(10),
                    nullptr, nullptr);
    CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 30, 50, 20, window, reinterpret_cast<HMENU>(11), nullptr, nullptr);
    int checked = 1, number = -1234;
    DataExchange load(window, false);
    load.checkBox(10, checked);
    load.integer(11, number);
    checked = 0;
    number = 0;
    DataExchange save(window, true);
    save.checkBox(10, checked);
    save.integer(11, number);
    EXPECT_FALSE(save.failed());
    EXPECT_EQ(checked, 1);
    EXPECT_EQ(number, -1234);
    DestroyWindow(window);
}

TEST(DataExchange, NonNumberIsRefusedWithTheStandardMessage) {
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    CreateWindowExA(0, "EDIT", "", WS_CHILD, 0, 30, 50, 20, window, reinterpret_cast<HMENU>(11), nullptr, nullptr);
    CreateWindowExA(0, "BUTTON", "", WS_CHILD | BS_AUTOCHECKBOX, 0, 0, 50, 20, window, reinterpret_cast<HMENU>(10),
                    nullptr, nullptr);
    CheckDlgButton(window, 10, BST_CHECKED);
    int number = 70, checked = 0;
    std::string shown;
    {
        MessageBoxAnswerer answerer;
        DataExchange save(window, true);
        save.integer(11, number);
        save.checkBox(10, checked);
        EXPECT_TRUE(save.failed());
        Sleep(100);
        shown = answerer.text();
    }
    EXPECT_EQ(shown, "Please enter an integer.");
    EXPECT_EQ(number, 70) << "a refused value is not taken";
    EXPECT_EQ(checked, 0) << "the exchange stops at the refused field";
    DestroyWindow(window);
}

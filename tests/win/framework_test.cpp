// The dialog-framework layer and the settings file against the real platform.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <optional>
#include <climits>
#include <string>
#include <thread>
#include <vector>

#include "app/ConfigFile.h"
#include "app/Paths.h"
#include "res/resource.h"
#include "ui/framework/DataExchange.h"
#include "ui/framework/Dialog.h"
#include "ui/framework/FileFilter.h"
#include "ui/framework/MessageBoxes.h"

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

// Waits for the message box with `caption`, notes what it shows and presses `button`.
class BoxPresser {
public:
    struct Seen {
        std::string text;
        HWND owner = nullptr;
    };

    BoxPresser(std::string caption, int button)
        : caption_(std::move(caption)), button_(button), thread_([this] { run(); }) {}
    ~BoxPresser() {
        if (thread_.joinable()) thread_.join();
    }
    // What the box showed; empty text when none appeared in time.
    Seen seen() {
        thread_.join();
        return seen_;
    }

private:
    void run() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < deadline) {
            HWND box = FindWindowA("#32770", caption_.c_str());
            if (box && IsWindowVisible(box) && GetDlgItem(box, 0xFFFF)) {
                char text[512] = {};
                GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
                seen_ = {text, GetWindow(box, GW_OWNER)};
                PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(button_), 0);
                return;
            }
            Sleep(20);
        }
    }
    std::string caption_;
    int button_;
    Seen seen_;
    std::thread thread_;
};

// A dialog that notes what the base decoded and answers as each case tells it.
class RecordingDialog : public Dialog {
public:
    RecordingDialog() : Dialog(IDD_ABOUT) {}
    using Dialog::HandleMessage;

    std::vector<std::string> calls;
    bool handled = false;
    std::optional<LRESULT> notifyAnswer;

protected:
    bool onCommand(int id, int code) override {
        note("command " + std::to_string(id) + " " + std::to_string(code));
        return handled || Dialog::onCommand(id, code);
    }
    std::optional<LRESULT> onNotify(int id, NMHDR* header) override {
        note("notify " + std::to_string(id) + " " + std::to_string(static_cast<int>(header->code)));
        return notifyAnswer;
    }
    bool onTimer(UINT_PTR id) override {
        note("timer " + std::to_string(id));
        return handled;
    }
    void onDestroy() override { note("destroy"); }
    void onInitMenuPopup(HMENU menu) override { note("popup " + std::to_string(reinterpret_cast<UINT_PTR>(menu))); }
    void OnOK() override { note("ok"); }
    void OnCancel() override { note("cancel"); }

private:
    void note(std::string call) { calls.push_back(std::move(call)); }
};

// Notes the targets of the key presses its pre-translation was asked about, and keeps them.
class KeyWatchingDialog : public Dialog {
public:
    KeyWatchingDialog() : Dialog(IDD_ABOUT) {}
    std::vector<HWND> keysSeen;
    // When set, a modal run posts a key to each of these windows and to its own OK button, then
    // ends itself.
    std::vector<HWND> postKeysTo;
    HWND ownButton = nullptr;

protected:
    BOOL OnInitDialog() override {
        if (postKeysTo.empty()) return TRUE;
        ownButton = item(IDOK);
        postKeysTo.push_back(ownButton);
        for (HWND target : postKeysTo) PostMessageA(target, WM_KEYDOWN, 'C', 0x002E0001);
        PostMessageA(hwnd(), WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    }
    bool PreTranslateMessage(MSG* message) override {
        if (message->message != WM_KEYDOWN) return false;
        keysSeen.push_back(message->hwnd);
        return true;
    }
};

}  // namespace

TEST(DialogModalLoop, KeysGoToThePreTranslationOfTheDialogTheyAreFor) {
    // A window without owner stays usable beside a modal box; its keys stay its own.
    KeyWatchingDialog beside;
    ASSERT_TRUE(beside.Create(nullptr));
    const HWND besideButton = beside.item(IDOK);
    KeyWatchingDialog box;
    box.postKeysTo = {besideButton, beside.hwnd()};
    EXPECT_EQ(box.DoModal(), IDCANCEL);
    EXPECT_EQ(beside.keysSeen, (std::vector<HWND>{besideButton, beside.hwnd()}));
    EXPECT_EQ(box.keysSeen, std::vector<HWND>{box.ownButton});
}

TEST(DialogDispatch, EachMessageReachesItsTypedHookWithItsResult) {
    RecordingDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    NMHDR header = {nullptr, 1006, static_cast<UINT>(NM_DBLCLK)};
    const auto notify = reinterpret_cast<LPARAM>(&header);
    struct Case {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool handled;
        std::optional<LRESULT> notifyAnswer;
        std::vector<std::string> calls;
        INT_PTR result;
    } cases[] = {
        {WM_COMMAND, MAKEWPARAM(1234, 5), 0, false, {}, {"command 1234 5"}, FALSE},
        {WM_COMMAND, MAKEWPARAM(1234, 5), 0, true, {}, {"command 1234 5"}, TRUE},
        {WM_COMMAND, MAKEWPARAM(IDOK, 0), 0, false, {}, {"command 1 0", "ok"}, TRUE},
        {WM_COMMAND, MAKEWPARAM(IDCANCEL, 1), 0, false, {}, {"command 2 1", "cancel"}, TRUE},
        {WM_NOTIFY, 1006, notify, false, {}, {"notify 1006 -3"}, FALSE},
        {WM_NOTIFY, 1006, notify, false, 7, {"notify 1006 -3"}, TRUE},
        {WM_TIMER, 42, 0, false, {}, {"timer 42"}, FALSE},
        {WM_TIMER, 42, 0, true, {}, {"timer 42"}, TRUE},
        {WM_INITMENUPOPUP, 0x5678, 0, true, {}, {"popup 22136"}, FALSE},
        {WM_DESTROY, 0, 0, true, {}, {"destroy"}, FALSE},
        {WM_MOUSEWHEEL, 0, 0, true, {}, {}, FALSE},
    };
    for (const Case& c : cases) {
        const std::string what = std::to_string(c.message) + " " + std::to_string(c.wParam);
        dialog.calls.clear();
        dialog.handled = c.handled;
        dialog.notifyAnswer = c.notifyAnswer;
        SetWindowLongPtrA(dialog.hwnd(), DWLP_MSGRESULT, 99);
        EXPECT_EQ(dialog.HandleMessage(c.message, c.wParam, c.lParam), c.result) << what;
        EXPECT_EQ(dialog.calls, c.calls) << what;
        // A notification's answer travels in the message result; nothing else touches it.
        EXPECT_EQ(GetWindowLongPtrA(dialog.hwnd(), DWLP_MSGRESULT), c.notifyAnswer.value_or(99)) << what;
    }
}

TEST(MessageBoxes, CaptionOwnerAndAnswerAreTheCallersOrTheStandardOnes) {
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr,
                                 nullptr, nullptr);
    {
        BoxPresser presser("YarrowKit Error #9", IDOK);
        reportError("YarrowKit Error #9", "it failed", BoxIcon::error, owner);
        const BoxPresser::Seen seen = presser.seen();
        EXPECT_EQ(seen.text, "it failed");
        EXPECT_EQ(seen.owner, owner);
    }
    {
        // Without an application the standard caption is empty and no window owns the box.
        EXPECT_EQ(applicationCaption(), "");
        BoxPresser presser("", IDOK);
        reportError("plain");
        const BoxPresser::Seen seen = presser.seen();
        EXPECT_EQ(seen.text, "plain");
        EXPECT_EQ(seen.owner, nullptr);
    }
    struct Answer {
        int button;
        bool yes;
    } answers[] = {{IDYES, true}, {IDNO, false}};
    for (const Answer& answer : answers) {
        BoxPresser presser("Question", answer.button);
        EXPECT_EQ(askYesNo("Question", "Go on?", BoxIcon::question, owner), answer.yes) << answer.button;
        EXPECT_EQ(presser.seen().text, "Go on?");
    }
    DestroyWindow(owner);
}

std::string rawValue(const std::string& path, const char* key) {
    char text[256] = "";
    GetPrivateProfileStringA("Main", key, "(missing)", text, sizeof text, path.c_str());
    return text;
}

TEST(ConfigFile, WritesGoStraightToTheFileAndReadBack) {
    std::string path = tempFolder() + "yk-config-test.cfg";
    DeleteFileA(path.c_str());
    ConfigFile config(path);
    EXPECT_EQ(config.read(configkey::LimitRecordsInDB), 3000) << "a missing key gives the table's default";
    config.write(configkey::LimitRecordsInDB, -17);
    config.write(configkey::ShowToolTip, false);
    config.write(configkey::IconInTray, true);
    config.write(configkey::DBPath, "C:\\some where\\file.sql");
    ConfigFile again(path);
    EXPECT_EQ(again.read(configkey::LimitRecordsInDB), -17);
    EXPECT_FALSE(again.read(configkey::ShowToolTip));
    EXPECT_EQ(rawValue(path, "IconInTray"), "1");
    EXPECT_EQ(rawValue(path, "ShowToolTip"), "0");
    EXPECT_EQ(again.read(configkey::DBPath, "C:\\folder\\"), "C:\\some where\\file.sql");
    DeleteFileA(path.c_str());
}

TEST(ConfigFile, LongValuesAreReadWhole) {
    std::string path = tempFolder() + "yk-config-long.cfg";
    DeleteFileA(path.c_str());
    std::string longList = "," + std::string(3000, 'A') + ".EXE,";
    ConfigFile(path).write(configkey::ExceptApp, longList);
    EXPECT_EQ(ConfigFile(path).read(configkey::ExceptApp), longList);
    DeleteFileA(path.c_str());
}

// What a hand-edited file gives: each key's rule from the table, through the profile reader.
TEST(ConfigFile, ValuesReadAreTakenByTheirKeysRules) {
    std::string path = tempFolder() + "yk-config-rules.cfg";
    struct Case {
        const configkey::IntKey& key;
        const char* text;
        int expected;
    } cases[] = {
        {configkey::CountItemsInRange, "0", 50},
        {configkey::Sleep, "5000", 1000},
        {configkey::HotKey, "65601", 65},
        {configkey::SelDlgX, "x12", 210},  // no number: missing
        {configkey::LimitRecordsInDB, "99999999999", INT_MAX},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key.name) + " = " + c.text);
        DeleteFileA(path.c_str());
        WritePrivateProfileStringA("Main", c.key.name, c.text, path.c_str());
        EXPECT_EQ(ConfigFile(path).read(c.key), c.expected);
    }
    DeleteFileA(path.c_str());
}

TEST(ConfigFile, TextKeysInALowerCaseSection) {
    std::string path = tempFolder() + "yk-config-text.cfg";
    DeleteFileA(path.c_str());
    WritePrivateProfileStringA("main", "ExceptApp", ",Notepad.exe,", path.c_str());
    WritePrivateProfileStringA("main", "DBPath", "", path.c_str());
    ConfigFile config(path);
    EXPECT_EQ(config.read(configkey::ExceptApp), ",NOTEPAD.EXE,");
    EXPECT_EQ(config.read(configkey::DBPath, "C:\\folder\\"), "C:\\folder\\vorla.sql") << "empty is refused";
    config.write(configkey::DBPath, "C:\\" + std::string(600, 'a'));
    EXPECT_EQ(config.read(configkey::DBPath, "C:\\folder\\"), "C:\\folder\\vorla.sql") << "too long is refused";
    DeleteFileA(path.c_str());
    EXPECT_EQ(config.read(configkey::ExceptApp), ",YARROWKIT.EXE,BRINDLEPOD.EXE,") << "the default, upper case";
}

TEST(ConfigFile, HideWindowAfterIsWrittenAsAFlag) {
    std::string path = tempFolder() + "yk-config-hide.cfg";
    DeleteFileA(path.c_str());
    ConfigFile config(path);
    const struct {
        int value;
        const char* text;
    } cases[] = {{1, "1"}, {0, "0"}, {2, "0"}};
    for (const auto& c : cases) {
        config.write(configkey::HideWindowAfter, c.value);
        EXPECT_EQ(rawValue(path, "HideWindowAfter"), c.text) << c.value;
    }
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

#include "app/WinStoreHost.h"

#include <cstring>
#include <utility>

#include "clipboard/AnsiText.h"
#include "store/History.h"
#include "store/SqlException.h"
#include "ui/framework/MessageBoxes.h"

namespace {

constexpr char kSection[] = "Main";
constexpr DWORD kProgressAfterMs = 500;
constexpr int kProgressWidth = 420, kProgressHeight = 60;
constexpr UINT kTextsStepMs = 100;  // a 40 ms step every 100 ms: the window keeps answering

bool isPlainFile(const WIN32_FIND_DATAA& found) {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
    return std::strcmp(found.cFileName, ".") != 0 && std::strcmp(found.cFileName, "..") != 0;
}

}  // namespace

WinStoreHost::WinStoreHost(std::string configFilePath, std::string applicationTitle, HWND owner)
    : configFilePath_(std::move(configFilePath)), applicationTitle_(std::move(applicationTitle)), owner_(owner) {}

int WinStoreHost::readConfigInt(const char* key, int defaultValue) {
    return static_cast<int>(GetPrivateProfileIntA(kSection, key, defaultValue, configFilePath_.c_str()));
}

void WinStoreHost::writeConfigString(const char* key, const std::string& value) {
    WritePrivateProfileStringA(kSection, key, value.c_str(), configFilePath_.c_str());
}

bool WinStoreHost::pathExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> WinStoreHost::listFiles(const std::string& folderAndPattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(folderAndPattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (isPlainFile(found)) names.emplace_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

bool WinStoreHost::deleteFile(const std::string& path) { return DeleteFileA(path.c_str()) != FALSE; }

void WinStoreHost::showMessage(const std::string& caption, const std::string& text, MessageKind kind) {
    reportError(caption, text, kind == MessageKind::Error ? BoxIcon::error : BoxIcon::none, owner_);
}

std::string WinStoreHost::utf8FromAnsi(std::string_view ansi, const std::optional<std::string>& localeBlock) {
    return ::utf8FromAnsi(ansi, codePageOfLocale(localeBlock));
}

void WinStoreHost::showBuildProgress(int done, int total) {
    if (done >= total) {
        closeProgress();
        return;
    }
    if (done == 0 || !progressStart_) progressStart_ = GetTickCount();
    if (GetTickCount() - progressStart_ < kProgressAfterMs) return;
    if (!progress_) {
        // The main window may not exist yet at start-up: a window of its own, in front.
        const int x = (GetSystemMetrics(SM_CXSCREEN) - kProgressWidth) / 2;
        const int y = (GetSystemMetrics(SM_CYSCREEN) - kProgressHeight) / 2;
        progress_ = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "STATIC", "",
                                    WS_POPUP | WS_BORDER | WS_VISIBLE | SS_CENTER | SS_CENTERIMAGE, x, y,
                                    kProgressWidth, kProgressHeight, owner_, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    if (!progress_) return;
    const std::string text = "Yarrowkit is preparing the history for display: " + std::to_string(done) + " of " +
                             std::to_string(total) + " items";
    SetWindowTextA(progress_, text.c_str());
    UpdateWindow(progress_);
}

void WinStoreHost::closeProgress() {
    if (progress_) DestroyWindow(progress_);
    progress_ = nullptr;
    progressStart_ = 0;
}

void WinStoreHost::makeTextsLater(std::optional<std::int64_t> after) {
    textsAfter_ = after;
    if (!owner_) return;
    if (after)
        SetTimer(owner_, kTextsTimer, kTextsStepMs, nullptr);
    else
        KillTimer(owner_, kTextsTimer);
}

bool WinStoreHost::OnTimer(UINT_PTR id) {
    if (id != kTextsTimer) return false;
    bool more = false;
    try {
        more = textsAfter_ && history::makeMissingTexts(*textsAfter_, *this);
    } catch (const SqlException&) {
        // Locked or failing: the next open brings the side table in step.
    }
    if (!more) makeTextsLater(std::nullopt);
    return true;
}

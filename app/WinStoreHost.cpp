#include "app/WinStoreHost.h"

#include <cstring>
#include <utility>

#include "ui/framework/MessageBoxes.h"

namespace {

constexpr char kSection[] = "Main";

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

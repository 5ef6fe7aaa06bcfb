#include "app/Paths.h"

#include <windows.h>

#include <vector>

std::string exeFolder;
std::string configFolder;
std::string dbPath;

std::string findExeFolder() {
    std::vector<char> path(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            std::string full(path.data(), length);
            return full.substr(0, full.find_last_of('\\') + 1);
        }
        path.resize(path.size() * 2);  // never truncate into another path
    }
}

std::string findConfigFolder(const std::string& fallback) {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version) || version.dwPlatformId != VER_PLATFORM_WIN32_NT) return fallback;
    HMODULE shell = LoadLibraryA("shell32.dll");
    if (!shell) return fallback;
    using GetFolderPath = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
    auto getFolderPath = reinterpret_cast<GetFolderPath>(
        reinterpret_cast<void*>(GetProcAddress(shell, "SHGetFolderPathA")));
    char folder[MAX_PATH] = {};
    const int kAppData = 26;
    bool found = getFolderPath && SUCCEEDED(getFolderPath(nullptr, kAppData, nullptr, 0, folder));
    FreeLibrary(shell);
    return found ? std::string(folder) + "\\YarrowKit\\" : fallback;
}

bool ensureFolder(const std::string& folder) {
    if (folder.empty()) return false;
    for (size_t slash = folder.find('\\', 3); slash != std::string::npos; slash = folder.find('\\', slash + 1)) {
        CreateDirectoryA(folder.substr(0, slash).c_str(), nullptr);
    }
    DWORD attributes = GetFileAttributesA(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string configFilePath() { return configFolder + "config.cfg"; }

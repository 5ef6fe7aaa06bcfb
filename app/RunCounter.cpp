#include "app/RunCounter.h"

DWORD countRun() {
    HKEY software = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_ALL_ACCESS, &software) != ERROR_SUCCESS) return 1;
    HKEY key = nullptr;
    DWORD runs = 0;
    if (RegCreateKeyExA(software, "Tamberlyn\\YarrowKit", 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) == ERROR_SUCCESS) {
        DWORD type = 0, size = sizeof runs;
        if (RegQueryValueExA(key, "runs", nullptr, &type, reinterpret_cast<BYTE*>(&runs), &size) != ERROR_SUCCESS ||
            type != REG_DWORD || size != sizeof runs) {
            runs = 0;
        }
        ++runs;
        RegSetValueExA(key, "runs", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&runs), sizeof runs);
        RegCloseKey(key);
    } else {
        runs = 1;
    }
    RegCloseKey(software);
    return runs;
}

#include "app/RunAtStartup.h"

#include <windows.h>

#include <cstring>

namespace runatstartup {
namespace {
const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kRunKeyBelowSoftware[] = "Microsoft\\Windows\\CurrentVersion\\Run";
const char kValueName[] = "yarrowkit";
const DWORD kBufferSize = 1000;

// Closes the key when it goes out of scope.
class OpenKey {
public:
    OpenKey() = default;
    ~OpenKey() {
        if (key_) RegCloseKey(key_);
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    HKEY* out() { return &key_; }
    HKEY get() const { return key_; }

private:
    HKEY key_ = nullptr;
};
}  // namespace

bool isRegistered() {
    OpenKey run;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_READ, run.out()) != ERROR_SUCCESS) return false;
    BYTE data[kBufferSize];
    DWORD size = sizeof data;
    return RegQueryValueExA(run.get(), kValueName, nullptr, nullptr, data, &size) == ERROR_SUCCESS;
}

void registerExecutable() {
    OpenKey software;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_ALL_ACCESS, software.out()) != ERROR_SUCCESS) return;
    char path[kBufferSize] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, kBufferSize);
    // A cut-off path would start something else, or nothing, at logon.
    if (length == 0 || length >= kBufferSize) return;
    OpenKey run;
    if (RegCreateKeyExA(software.get(), kRunKeyBelowSoftware, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, run.out(), nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(run.get(), kValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(path), length + 1);
}

void unregister() {
    OpenKey run;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_ALL_ACCESS, run.out()) != ERROR_SUCCESS) return;
    RegDeleteValueA(run.get(), kValueName);
}

}  // namespace runatstartup

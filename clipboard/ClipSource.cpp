#include "clipboard/ClipSource.h"

#include <tlhelp32.h>

namespace {
constexpr int kTitleBufferBytes = 100;

HWND sourceWindow(HWND owner) {
    HWND foreground = GetForegroundWindow();
    if (foreground && (foreground == owner || IsChild(foreground, owner))) return foreground;
    HWND window = owner;
    for (HWND parent = GetParent(window); parent; parent = GetParent(window)) window = parent;
    return window;
}

// The first module of the window's process is its executable; false when the process
// cannot be inspected (another user's, or gone).
bool executableName(HWND window, std::string& name) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, process);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    MODULEENTRY32 module = {};
    module.dwSize = sizeof module;
    const bool found = Module32First(snapshot, &module);
    CloseHandle(snapshot);
    if (found) name = module.szModule;
    return found;
}

void describeWindow(HWND window, ClipSource& source) {
    char title[kTitleBufferBytes] = "";
    GetWindowTextA(window, title, sizeof title);
    source.title = title;
}
}  // namespace

ClipSource findClipSource(HWND owner) {
    ClipSource source;
    if (!owner) return source;
    HWND window = sourceWindow(owner);
    describeWindow(window, source);
    if (executableName(window, source.name)) return source;
    // Name and title then both come from the window in front.
    HWND foreground = GetForegroundWindow();
    describeWindow(foreground, source);
    executableName(foreground, source.name);
    return source;
}

bool isExcludedSource(const std::string& exceptApp, const std::string& name) {
    std::string probe = "," + name + ",";
    CharUpperA(probe.data());
    return exceptApp.find(probe) != std::string::npos;
}

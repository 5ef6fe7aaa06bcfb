#include "clipboard/ClipSource.h"

#include <tlhelp32.h>

#include <cwchar>

#include "clipboard/AnsiText.h"

namespace {
constexpr int kTitleBufferBytes = 100;

struct ProcessWindowSearch {
    DWORD process;
    HWND found;
};

// Top-level windows are listed front to back: the first visible one of the process is the one
// the user worked in.
HWND frontWindowOfProcess(DWORD process) {
    ProcessWindowSearch search = {process, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<ProcessWindowSearch*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != s->process || !IsWindowVisible(window)) return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND sourceWindow(HWND owner) {
    HWND foreground = GetForegroundWindow();
    if (foreground && (foreground == owner || IsChild(foreground, owner))) return foreground;
    HWND window = owner;
    for (HWND parent = GetParent(window); parent; parent = GetParent(window)) window = parent;
    // Programs that copy through OLE own the clipboard with a hidden window of their own; the
    // copy came from the document window the user sees.
    if (!IsWindowVisible(window)) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (HWND visible = frontWindowOfProcess(process)) return visible;
    }
    return window;
}

// The first module of the window's process is its executable; false when the process
// cannot be inspected (another user's, or gone).
bool executableName(HWND window, std::string& name) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (!process) return false;  // no window: a snapshot of process 0 would name this program
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
    wchar_t wide[kTitleBufferBytes] = L"";
    GetWindowTextW(window, wide, kTitleBufferBytes);
    source.unicodeTitle = utf8FromWide(wide, wcsnlen(wide, kTitleBufferBytes));
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

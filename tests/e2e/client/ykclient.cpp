// Test client for the end-to-end tests: a Windows program that plays "another application".
// It reads one command per line on stdin and answers one line on stdout: "ok [value]" or
// "err message". Byte strings travel as hex. It owns a window titled "Yarrowkit Test Client"
// (the clipboard owner of its copies) and, on request, an editor that can receive pastes.
#include <windows.h>
#include <commctrl.h>
#include <winternl.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

const char kClientTitle[] = "Yarrowkit Test Client";
const char kEditorTitle[] = "Yarrowkit Test Editor";
const UINT WM_CLIENT_COMMAND = WM_APP + 1;

HWND clientWindow = nullptr;
HWND editorWindow = nullptr;
HWND editorEdit = nullptr;

struct Failure {
    std::string message;
};

std::string toHex(const void* data, size_t size) {
    static const char digits[] = "0123456789abcdef";
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::string hex(size * 2, '0');
    for (size_t i = 0; i < size; ++i) {
        hex[2 * i] = digits[bytes[i] >> 4];
        hex[2 * i + 1] = digits[bytes[i] & 15];
    }
    return hex;
}

std::string toHex(const std::string& text) { return toHex(text.data(), text.size()); }

std::string fromHex(const std::string& hex) {
    if (hex == "-") return {};
    if (hex.size() % 2) throw Failure{"odd hex"};
    std::string bytes(hex.size() / 2, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(std::stoi(hex.substr(2 * i, 2), nullptr, 16));
    return bytes;
}

std::string windowHex(HWND window) {
    char text[32];
    snprintf(text, sizeof text, "%llx", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)));
    return text;
}

HWND parseWindow(const std::string& text) {
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(std::stoull(text, nullptr, 16)));
}

long long parseNumber(const std::string& text) { return std::stoll(text, nullptr, 0); }

std::string windowText(HWND window) {
    char text[4096] = {};
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 3000,
                        nullptr);
    return text;
}

std::string className(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// ----- finding windows and message boxes

struct DialogSearch {
    std::string caption;
    HWND found = nullptr;
};

BOOL CALLBACK findDialog(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<DialogSearch*>(param);
    if (className(window) == "#32770" && IsWindowVisible(window) && windowText(window) == search->caption) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND findMessageBox(const std::string& caption) {
    DialogSearch search{caption};
    EnumWindows(findDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string withoutAmpersands(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
    return text;
}

struct ChildSearch {
    std::string text;
    std::string className;
    HWND found = nullptr;
};

BOOL CALLBACK findChild(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<ChildSearch*>(param);
    if ((search->className.empty() || className(window) == search->className) &&
        withoutAmpersands(windowText(window)) == search->text) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The message text of a message box: its static controls other than the icon.
BOOL CALLBACK collectStatic(HWND window, LPARAM param) {
    auto* texts = reinterpret_cast<std::string*>(param);
    if (className(window) == "Static") {
        std::string text = windowText(window);
        if (!text.empty()) *texts += text;
    }
    return TRUE;
}

// ----- clipboard

// Waits as a real program does: its window keeps answering, since the program that holds the
// clipboard may be asking the owner of the data for something.
void pumpFor(DWORD ms) {
    const DWORD until = GetTickCount() + ms;
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(1);
    } while (static_cast<int>(until - GetTickCount()) > 0);
}

bool openClipboard(HWND owner) {
    for (int attempt = 0; attempt < 200; ++attempt) {
        if (OpenClipboard(owner)) return true;
        pumpFor(10);
    }
    return false;
}

UINT formatNumber(const std::string& name) {
    // "@HEX" names a registered format; anything else is a format number.
    if (!name.empty() && name[0] == '@') return RegisterClipboardFormatA(fromHex(name.substr(1)).c_str());
    return static_cast<UINT>(std::stoul(name));
}

// clip_wait_busy TIMEOUT: returns once another program holds the clipboard open, so that
// what the test does next happens while that program reads it.
std::string clipWaitBusy(const std::vector<std::string>& args) {
    const DWORD until = GetTickCount() + static_cast<DWORD>(parseNumber(args.at(1)));
    while (static_cast<int>(until - GetTickCount()) > 0) {
        if (!OpenClipboard(clientWindow)) return {};
        CloseClipboard();
        pumpFor(1);
    }
    throw Failure{"the clipboard was never busy"};
}

// clip_set FORMAT=HEX ...: empties the clipboard and places the blocks in the order given.
std::string clipSet(const std::vector<std::string>& args) {
    if (!openClipboard(clientWindow)) throw Failure{"clipboard busy"};
    EmptyClipboard();
    for (size_t i = 1; i < args.size(); ++i) {
        size_t equals = args[i].find('=');
        UINT format = formatNumber(args[i].substr(0, equals));
        std::string bytes = fromHex(args[i].substr(equals + 1));
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        memcpy(GlobalLock(block), bytes.data(), bytes.size());
        GlobalUnlock(block);
        SetClipboardData(format, block);
    }
    CloseClipboard();
    return {};
}

// clip_get: every format with its block, "format:hex" separated by blanks, in enumeration order.
std::string clipGet() {
    if (!openClipboard(clientWindow)) throw Failure{"clipboard busy"};
    std::string result;
    for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
        if (!result.empty()) result += ' ';
        result += std::to_string(format) + ":";
        if (format == CF_BITMAP || format == CF_ENHMETAFILE || format == CF_METAFILEPICT || format == CF_PALETTE)
            continue;
        HANDLE data = GetClipboardData(format);
        if (!data) continue;
        const void* bytes = GlobalLock(data);
        if (bytes) result += toHex(bytes, GlobalSize(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return result;
}

// clip_read FORMAT ...: reads each listed format that is on the clipboard, as a capture would,
// keeping nothing; answers the sizes read. A reader to compare the program's memory against.
std::string clipRead(const std::vector<std::string>& args) {
    if (!openClipboard(clientWindow)) throw Failure{"clipboard busy"};
    std::string sizes;
    for (size_t i = 1; i < args.size(); ++i) {
        const UINT format = formatNumber(args[i]);
        if (!IsClipboardFormatAvailable(format)) continue;
        HANDLE data = GetClipboardData(format);
        if (!data || !GlobalLock(data)) continue;
        if (!sizes.empty()) sizes += ' ';
        sizes += std::to_string(GlobalSize(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return sizes;
}

// One block of SIZE bytes, a repeating text ending in a zero byte whose first byte is
// 'A' + SEED, made here so that huge clips need not cross the pipe. A CF_DIB block starts with a
// real 32-bit header.
void placeFilledBlock(UINT format, size_t size, long long seed) {
    const char first = static_cast<char>('A' + seed % 26);
    if (!openClipboard(clientWindow)) throw Failure{"clipboard busy"};
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block) { CloseClipboard(); throw Failure{"out of memory"}; }
    char* bytes = static_cast<char*>(GlobalLock(block));
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>('a' + i % 23);
    if (size) bytes[size - 1] = 0;
    if (size) bytes[0] = first;
    if (format == CF_DIB && size >= sizeof(BITMAPINFOHEADER) + 4096) {
        BITMAPINFOHEADER header = {};
        header.biSize = sizeof header;
        header.biWidth = 1024;
        header.biHeight = static_cast<LONG>((size - sizeof header) / 4096);
        header.biPlanes = 1;
        header.biBitCount = 32;
        memcpy(bytes, &header, sizeof header);
        bytes[sizeof header] = first;
    }
    GlobalUnlock(block);
    SetClipboardData(format, block);
    CloseClipboard();
}

// clip_fill FORMAT SIZE [SEED]: places one filled block.
std::string clipFill(const std::vector<std::string>& args) {
    placeFilledBlock(formatNumber(args.at(1)), static_cast<size_t>(parseNumber(args.at(2))),
                     args.size() > 3 ? parseNumber(args.at(3)) : 0);
    return {};
}

double millisecondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string milliseconds(double ms) {
    char text[32];
    snprintf(text, sizeof text, "%.1f", ms);
    return text;
}

// clip_fill_hold_time FORMAT SIZE SEED: places a filled block, then tries the clipboard about
// every millisecond, pumping meanwhile; answers "BUSY FREE", the milliseconds after placing at
// which another program first held the clipboard open and at which it was free again, or "- -"
// when nobody opened it within 10 s.
std::string clipFillHoldTime(const std::vector<std::string>& args) {
    placeFilledBlock(formatNumber(args.at(1)), static_cast<size_t>(parseNumber(args.at(2))), parseNumber(args.at(3)));
    LARGE_INTEGER placed;
    QueryPerformanceCounter(&placed);
    double busy = -1;
    while (busy < 0 && millisecondsSince(placed) < 10000) {
        if (OpenClipboard(clientWindow)) {
            CloseClipboard();
            pumpFor(1);
        } else {
            busy = millisecondsSince(placed);
        }
    }
    if (busy < 0) return "- -";
    while (!OpenClipboard(clientWindow)) {
        if (millisecondsSince(placed) > 300000) throw Failure{"the clipboard stayed busy"};
        pumpFor(1);
    }
    const double free = millisecondsSince(placed);
    CloseClipboard();
    return milliseconds(busy) + " " + milliseconds(free);
}

// clip_read_time FORMAT: milliseconds that GetClipboardData alone takes for the format.
std::string clipReadTime(const std::vector<std::string>& args) {
    const UINT format = formatNumber(args.at(1));
    if (!openClipboard(clientWindow)) throw Failure{"clipboard busy"};
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    HANDLE data = GetClipboardData(format);
    const double ms = millisecondsSince(start);
    CloseClipboard();
    if (!data) throw Failure{"no such format"};
    return milliseconds(ms);
}

// clip_burst COUNT INTERVAL TAG: COUNT texts "TAG i", one every INTERVAL ms, as a busy program
// copies.
std::string clipBurst(const std::vector<std::string>& args) {
    const long long count = parseNumber(args.at(1));
    const DWORD interval = static_cast<DWORD>(parseNumber(args.at(2)));
    for (long long i = 0; i < count; ++i) {
        if (i) pumpFor(interval);
        std::string text = args.at(3) + " " + std::to_string(i);
        if (!openClipboard(clientWindow)) throw Failure{"clipboard busy"};
        EmptyClipboard();
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
        memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
        GlobalUnlock(block);
        SetClipboardData(CF_TEXT, block);
        CloseClipboard();
    }
    return {};
}

std::string clipHold(const std::vector<std::string>& args) {
    // Keeps the clipboard open for the given time, as a busy program would.
    if (!openClipboard(clientWindow)) throw Failure{"clipboard busy"};
    pumpFor(static_cast<DWORD>(parseNumber(args.at(1))));
    CloseClipboard();
    return {};
}

// ----- editor

LRESULT CALLBACK editorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SIZE && editorEdit) MoveWindow(editorEdit, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
    if (message == WM_SETFOCUS && editorEdit) SetFocus(editorEdit);
    return DefWindowProcA(window, message, wParam, lParam);
}

std::string editorCreate() {
    if (!editorWindow) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = editorProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "YarrowkitTestEditor";
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        RegisterClassA(&windowClass);
        editorWindow = CreateWindowExA(0, windowClass.lpszClassName, kEditorTitle, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                       700, 100, 420, 300, nullptr, nullptr, windowClass.hInstance, nullptr);
        editorEdit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                                     WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, 0, 0, 400,
                                     260, editorWindow, nullptr, windowClass.hInstance, nullptr);
    }
    SetForegroundWindow(editorWindow);
    SetFocus(editorEdit);
    return windowHex(editorEdit);
}

// ----- a window of another program that happens to carry a given title

std::vector<std::string> receivedMessages;

LRESULT CALLBACK recorderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_USER) {
        receivedMessages.push_back(std::to_string(message) + "," + std::to_string(wParam) + "," +
                                   std::to_string(lParam));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

std::string makeWindow(const std::string& title) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = recorderProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "YarrowkitTestRecorder";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW, 100, 100, 200,
                                  100, nullptr, nullptr, windowClass.hInstance, nullptr);
    return windowHex(window);
}

std::string received() {
    std::string all;
    for (const std::string& entry : receivedMessages) all += (all.empty() ? "" : " ") + entry;
    return all;
}

// ----- keyboard

// keys VK[:up][:ext] ...: one keybd_event per word, in order.
std::string keys(const std::vector<std::string>& args) {
    for (size_t i = 1; i < args.size(); ++i) {
        std::string word = args[i];
        DWORD flags = 0;
        if (word.find(":up") != std::string::npos) flags |= KEYEVENTF_KEYUP;
        if (word.find(":ext") != std::string::npos) flags |= KEYEVENTF_EXTENDEDKEY;
        BYTE vk = static_cast<BYTE>(parseNumber(word.substr(0, word.find(':'))));
        keybd_event(vk, static_cast<BYTE>(MapVirtualKeyA(vk, 0)), flags, 0);
        Sleep(20);
    }
    return {};
}

// ----- processes

// answer_time WINDOW MS: milliseconds until the window's thread answers a message, or -1 when it
// does not within MS; a hung window is waited for, not given up on.
std::string answerTime(HWND window, UINT timeout) {
    const ULONGLONG start = GetTickCount64();
    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeout, &ignored)) return "-1";
    return std::to_string(GetTickCount64() - start);
}

// Waits until the thread that owns the window waits for input: a window is found by its title
// while its dialog is still initialising, and tests must not race that.
std::string waitIdle(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId);
    if (!process) return "0";
    DWORD result = WaitForInputIdle(process, 20000);
    CloseHandle(process);
    DWORD_PTR ignored = 0;
    bool answered = SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 20000, &ignored) != 0;
    return result == 0 && answered ? "1" : "0";
}

std::string topWindowOfProcess(DWORD processId) {
    struct Search { DWORD pid; HWND found; } search{processId, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            if (pid == s->pid && IsWindowVisible(window)) { s->found = window; return FALSE; }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return windowHex(search.found);
}

// ----- the process behind a window: its resources, a hard kill

class WindowProcess {
public:
    WindowProcess(HWND window, DWORD access) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        handle_ = pid ? OpenProcess(access, FALSE, pid) : nullptr;
        if (!handle_) throw Failure{"cannot open the process"};
    }
    ~WindowProcess() { CloseHandle(handle_); }
    WindowProcess(const WindowProcess&) = delete;
    WindowProcess& operator=(const WindowProcess&) = delete;
    HANDLE handle() const { return handle_; }

private:
    HANDLE handle_;
};

// The used entries of the process's GDI handle table, which its PEB points to as on Windows
// (24-byte entries, the type byte at offset 14); stock objects included.
size_t gdiTableEntries(HANDLE process) {
    using QueryProcess = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<QueryProcess>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    struct { void* reserved1; void* peb; void* reserved2[4]; } basic = {};
    if (!query || query(process, 0, &basic, sizeof basic, nullptr) != 0) throw Failure{"no process information"};
    const size_t kTableOffsetInPeb = 0xF8, kEntrySize = 24, kTypeOffset = 14, kEntries = 0x10000;
    const char* table = nullptr;
    if (!ReadProcessMemory(process, static_cast<char*>(basic.peb) + kTableOffsetInPeb, &table, sizeof table,
                           nullptr) || !table)
        throw Failure{"no GDI handle table"};
    std::vector<unsigned char> entries(kEntries * kEntrySize);
    if (!ReadProcessMemory(process, table, entries.data(), entries.size(), nullptr))
        throw Failure{"cannot read the GDI handle table"};
    size_t used = 0;
    for (size_t i = 0; i < kEntries; ++i) used += entries[i * kEntrySize + kTypeOffset] != 0;
    return used;
}

// Every window of the process, hidden ones and children included.
size_t windowsOfProcess(DWORD processId) {
    struct Count { DWORD pid; size_t windows; } count{processId, 0};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* c = reinterpret_cast<Count*>(param);
            DWORD pid = 0;
            GetWindowThreadProcessId(window, &pid);
            if (pid != c->pid) return TRUE;
            ++c->windows;
            EnumChildWindows(
                window, [](HWND, LPARAM counter) -> BOOL { return ++*reinterpret_cast<size_t*>(counter), TRUE; },
                reinterpret_cast<LPARAM>(&c->windows));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count.windows;
}

// The kernel handles of the process, from the system's process list.
size_t kernelHandles(DWORD processId) {
    using QuerySystem = LONG(WINAPI*)(int, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<QuerySystem>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    std::vector<unsigned char> list(1 << 20);
    ULONG size = 0;
    if (!query || query(SystemProcessInformation, list.data(), static_cast<ULONG>(list.size()), &size) != 0)
        throw Failure{"no process list"};
    for (size_t offset = 0;;) {
        const auto* entry = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(list.data() + offset);
        if (reinterpret_cast<uintptr_t>(entry->UniqueProcessId) == processId) return entry->HandleCount;
        if (!entry->NextEntryOffset) throw Failure{"process not listed"};
        offset += entry->NextEntryOffset;
    }
}

// resources WINDOW: "GDI USER HANDLES" of the window's process. Wine's GetGuiResources is a
// stub that answers 0, so there the GDI handle table and the process's windows are counted.
std::string resources(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    WindowProcess process(window, PROCESS_QUERY_INFORMATION | PROCESS_VM_READ);
    size_t gdi = GetGuiResources(process.handle(), GR_GDIOBJECTS);
    size_t user = GetGuiResources(process.handle(), GR_USEROBJECTS);
    if (!gdi) gdi = gdiTableEntries(process.handle());
    if (!user) user = windowsOfProcess(pid);
    return std::to_string(gdi) + " " + std::to_string(user) + " " + std::to_string(kernelHandles(pid));
}

// terminate WINDOW: TerminateProcess on the window's process, as Task Manager's End task does;
// answers once the process is gone.
std::string terminate(HWND window) {
    WindowProcess process(window, PROCESS_TERMINATE | SYNCHRONIZE);
    if (!TerminateProcess(process.handle(), 1)) throw Failure{"terminate failed"};
    return WaitForSingleObject(process.handle(), 10000) == WAIT_OBJECT_0 ? "1" : "0";
}

// ----- resources of an executable file (paths travel as hex)

std::string versionBlock(const std::string& path) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (!size) throw Failure{"no version resource"};
    std::string block(size, '\0');
    if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data())) throw Failure{"cannot read the version resource"};
    return block;
}

// file_version PATH: the fixed file and product versions, "a.b.c.d a.b.c.d".
std::string fileVersion(const std::string& path) {
    std::string block = versionBlock(path);
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&info), &length) || !info)
        throw Failure{"no fixed file info"};
    auto dotted = [](DWORD high, DWORD low) {
        return std::to_string(HIWORD(high)) + "." + std::to_string(LOWORD(high)) + "." + std::to_string(HIWORD(low)) +
               "." + std::to_string(LOWORD(low));
    };
    return dotted(info->dwFileVersionMS, info->dwFileVersionLS) + " " +
           dotted(info->dwProductVersionMS, info->dwProductVersionLS);
}

// version_string PATH NAME: one value of the U.S. English block, hex, or "-".
std::string versionString(const std::string& path, const std::string& name) {
    std::string block = versionBlock(path);
    char* value = nullptr;
    UINT length = 0;
    std::string query = "\\StringFileInfo\\040904B0\\" + name;
    if (!VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length) || !value) return "-";
    return toHex(std::string(value));
}

// manifest PATH: the text of the executable's application manifest (resource 1), hex, or "-".
std::string manifestOf(const std::string& path) {
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) throw Failure{"cannot load the file"};
    std::string text;
    if (HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {
        HGLOBAL data = LoadResource(module, resource);
        if (const void* bytes = data ? LockResource(data) : nullptr)
            text.assign(static_cast<const char*>(bytes), SizeofResource(module, resource));
    }
    FreeLibrary(module);
    return text.empty() ? "-" : toHex(text);
}

// ----- controls of another process (tree view, tooltips)

// A block of memory inside another process, for messages whose arguments are pointers.
class RemoteMemory {
public:
    RemoteMemory(HWND window, size_t size) : size_(size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (!process_) throw Failure{"cannot open the process"};
        address_ = static_cast<char*>(VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE));
        if (!address_) { CloseHandle(process_); throw Failure{"cannot allocate in the process"}; }
    }
    ~RemoteMemory() {
        VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        CloseHandle(process_);
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;
    char* at(size_t offset) const { return address_ + offset; }
    void write(size_t offset, const void* data, size_t size) {
        if (!WriteProcessMemory(process_, at(offset), data, size, nullptr)) throw Failure{"write failed"};
    }
    void read(size_t offset, void* data, size_t size) const {
        if (!ReadProcessMemory(process_, at(offset), data, size, nullptr)) throw Failure{"read failed"};
    }
    size_t size() const { return size_; }

private:
    HANDLE process_ = nullptr;
    char* address_ = nullptr;
    size_t size_;
};

LRESULT sendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 10000, &result))
        throw Failure{"send timed out"};
    return static_cast<LRESULT>(result);
}

// tree_items TREE: "handle,data,image,selectedImage,selected,hextext" per root item, top to bottom.
std::string treeItems(HWND tree) {
    const size_t textOffset = sizeof(TVITEMA), textSize = 4096;
    RemoteMemory remote(tree, textOffset + textSize);
    auto caret = reinterpret_cast<HTREEITEM>(sendWithTimeout(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    std::string result;
    for (auto item = reinterpret_cast<HTREEITEM>(sendWithTimeout(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)); item;
         item = reinterpret_cast<HTREEITEM>(
             sendWithTimeout(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        TVITEMA data = {};
        data.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        data.hItem = item;
        data.pszText = remote.at(textOffset);
        data.cchTextMax = static_cast<int>(textSize);
        char zero = 0;
        remote.write(textOffset, &zero, 1);
        remote.write(0, &data, sizeof data);
        if (!sendWithTimeout(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote.at(0)))) throw Failure{"getitem"};
        remote.read(0, &data, sizeof data);
        std::string text(textSize, '\0');
        remote.read(textOffset, text.data(), textSize);
        text.resize(strnlen(text.c_str(), textSize));
        if (!result.empty()) result += ' ';
        result += windowHex(reinterpret_cast<HWND>(item)) + "," + std::to_string(static_cast<long long>(data.lParam)) +
                  "," + std::to_string(data.iImage) + "," +
                  std::to_string(data.iSelectedImage) + "," + (item == caret ? "1" : "0") + "," +
                  (text.empty() ? "-" : toHex(text));
    }
    return result;
}

// tree_items_w TREE: as tree_items, read with TVM_GETITEMW; the text is the hex of its UTF-16LE units.
std::string treeItemsW(HWND tree) {
    const size_t textOffset = sizeof(TVITEMW), textChars = 4096;
    RemoteMemory remote(tree, textOffset + textChars * sizeof(wchar_t));
    auto caret = reinterpret_cast<HTREEITEM>(sendWithTimeout(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    std::string result;
    for (auto item = reinterpret_cast<HTREEITEM>(sendWithTimeout(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)); item;
         item = reinterpret_cast<HTREEITEM>(
             sendWithTimeout(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        TVITEMW data = {};
        data.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        data.hItem = item;
        data.pszText = reinterpret_cast<wchar_t*>(remote.at(textOffset));
        data.cchTextMax = static_cast<int>(textChars);
        wchar_t zero = 0;
        remote.write(textOffset, &zero, sizeof zero);
        remote.write(0, &data, sizeof data);
        if (!sendWithTimeout(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote.at(0)))) throw Failure{"getitem"};
        remote.read(0, &data, sizeof data);
        std::wstring text(textChars, L'\0');
        remote.read(textOffset, text.data(), textChars * sizeof(wchar_t));
        text.resize(wcsnlen(text.c_str(), textChars));
        if (!result.empty()) result += ' ';
        result += windowHex(reinterpret_cast<HWND>(item)) + "," + std::to_string(static_cast<long long>(data.lParam)) +
                  "," + std::to_string(data.iImage) + "," + std::to_string(data.iSelectedImage) + "," +
                  (item == caret ? "1" : "0") + "," + (text.empty() ? "-" : toHex(text.data(), text.size() * 2));
    }
    return result;
}

// tooltips WINDOW: the tooltip windows of the window's process, "hwnd:owner:style:exstyle:visible".
std::string tooltipsOf(HWND window) {
    struct Search { DWORD pid; std::string found; } search{0, {}};
    GetWindowThreadProcessId(window, &search.pid);
    EnumWindows(
        [](HWND candidate, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD pid = 0;
            GetWindowThreadProcessId(candidate, &pid);
            if (pid != s->pid || className(candidate) != "tooltips_class32") return TRUE;
            char entry[160];
            snprintf(entry, sizeof entry, "%s:%s:%lx:%lx:%d", windowHex(candidate).c_str(),
                     windowHex(GetWindow(candidate, GW_OWNER)).c_str(),
                     static_cast<unsigned long>(GetWindowLongA(candidate, GWL_STYLE)),
                     static_cast<unsigned long>(GetWindowLongA(candidate, GWL_EXSTYLE)),
                     IsWindowVisible(candidate) ? 1 : 0);
            s->found += (s->found.empty() ? "" : " ") + std::string(entry);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// tool_text TOOLTIP: the whole text of the tooltip's first tool in the ANSI code page. The
// wide message, because the ANSI one copies at most 80 bytes on some systems. With `wide`
// (tool_text_w) the hex of the UTF-16LE units as the tooltip holds them.
std::string toolText(HWND tooltip, bool asWide = false) {
    const size_t textOffset = sizeof(TTTOOLINFOW), textChars = 16384;
    RemoteMemory remote(tooltip, textOffset + textChars * sizeof(wchar_t));
    TTTOOLINFOW tool = {};
    tool.cbSize = sizeof tool;
    remote.write(0, &tool, sizeof tool);
    if (!sendWithTimeout(tooltip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(remote.at(0)))) return "-";
    remote.read(0, &tool, sizeof tool);
    tool.lpszText = reinterpret_cast<wchar_t*>(remote.at(textOffset));
    wchar_t zero = 0;
    remote.write(textOffset, &zero, sizeof zero);
    remote.write(0, &tool, sizeof tool);
    sendWithTimeout(tooltip, TTM_GETTEXTW, textChars, reinterpret_cast<LPARAM>(remote.at(0)));
    std::wstring wide(textChars, L'\0');
    remote.read(textOffset, wide.data(), textChars * sizeof(wchar_t));
    wide.resize(wcsnlen(wide.c_str(), textChars));
    if (wide.empty()) return "-";
    if (asWide) return toHex(wide.data(), wide.size() * sizeof(wchar_t));
    std::string text(wide.size() * 2 + 1, '\0');
    int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                                   static_cast<int>(text.size()), nullptr, nullptr);
    text.resize(size > 0 ? static_cast<size_t>(size) : 0);
    return toHex(text);
}

// ----- dispatch

std::vector<std::string> split(const std::string& line) {
    std::istringstream stream(line);
    std::vector<std::string> words;
    for (std::string word; stream >> word;) words.push_back(word);
    return words;
}

std::string run(const std::vector<std::string>& a) {
    const std::string& command = a.at(0);
    if (command == "ping") return "pong";
    if (command == "find") return windowHex(FindWindowA(nullptr, fromHex(a.at(1)).c_str()));
    if (command == "find_class") return windowHex(FindWindowA(fromHex(a.at(1)).c_str(), nullptr));
    if (command == "visible") return IsWindowVisible(parseWindow(a.at(1))) ? "1" : "0";
    if (command == "exists") return IsWindow(parseWindow(a.at(1))) ? "1" : "0";
    if (command == "foreground") return windowHex(GetForegroundWindow());
    if (command == "focus_of") {  // the focus window of the thread that owns the window
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(parseWindow(a.at(1)), nullptr), &info);
        return windowHex(info.hwndFocus);
    }
    if (command == "rect") {
        RECT r = {};
        GetWindowRect(parseWindow(a.at(1)), &r);
        return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
               std::to_string(r.bottom);
    }
    if (command == "send") {
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(parseWindow(a.at(1)), static_cast<UINT>(parseNumber(a.at(2))),
                                 static_cast<WPARAM>(parseNumber(a.at(3))), static_cast<LPARAM>(parseNumber(a.at(4))),
                                 SMTO_ABORTIFHUNG, 10000, &result))
            throw Failure{"send timed out"};
        return std::to_string(static_cast<long long>(result));
    }
    if (command == "post") {
        PostMessageA(parseWindow(a.at(1)), static_cast<UINT>(parseNumber(a.at(2))),
                     static_cast<WPARAM>(parseNumber(a.at(3))), static_cast<LPARAM>(parseNumber(a.at(4))));
        return {};
    }
    if (command == "item") return windowHex(GetDlgItem(parseWindow(a.at(1)), static_cast<int>(parseNumber(a.at(2)))));
    if (command == "text") return toHex(windowText(parseWindow(a.at(1))));
    if (command == "item_text")
        return toHex(windowText(GetDlgItem(parseWindow(a.at(1)), static_cast<int>(parseNumber(a.at(2))))));
    if (command == "enabled") return IsWindowEnabled(parseWindow(a.at(1))) ? "1" : "0";
    if (command == "set_text") {  // set_text WINDOW HEX: WM_SETTEXT, as typing into a field would end
        std::string text = fromHex(a.at(2));
        sendWithTimeout(parseWindow(a.at(1)), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        return {};
    }
    if (command == "set_text_w") {  // set_text_w WINDOW HEX: WM_SETTEXT of UTF-16LE text, in any script
        std::string bytes = fromHex(a.at(2));
        std::wstring text(bytes.size() / 2, L'\0');
        memcpy(text.data(), bytes.data(), text.size() * 2);
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutW(parseWindow(a.at(1)), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                                 SMTO_ABORTIFHUNG, 10000, &result))
            throw Failure{"send timed out"};
        return {};
    }
    if (command == "hotkey_hold")  // hotkey_hold ID MODIFIERS VK: another program holding a combination
        return RegisterHotKey(clientWindow, static_cast<int>(parseNumber(a.at(1))),
                              static_cast<UINT>(parseNumber(a.at(2))), static_cast<UINT>(parseNumber(a.at(3))))
                   ? "1"
                   : "0";
    if (command == "tray_has") {  // tray_has WINDOW ID: whether the tray holds that icon (a no-op change)
        using NotifyIcon = BOOL(WINAPI*)(DWORD, NOTIFYICONDATAA*);
        auto notify = reinterpret_cast<NotifyIcon>(
            reinterpret_cast<void*>(GetProcAddress(LoadLibraryA("shell32.dll"), "Shell_NotifyIconA")));
        NOTIFYICONDATAA data = {};
        data.cbSize = NOTIFYICONDATAA_V2_SIZE;
        data.hWnd = parseWindow(a.at(1));
        data.uID = static_cast<UINT>(parseNumber(a.at(2)));
        return notify && notify(NIM_MODIFY, &data) ? "1" : "0";
    }
    if (command == "hotkey_release")
        return UnregisterHotKey(clientWindow, static_cast<int>(parseNumber(a.at(1)))) ? "1" : "0";
    if (command == "msgbox") {  // the text of the visible message box with this caption, or "-"
        HWND box = findMessageBox(fromHex(a.at(1)));
        if (!box) return "-";
        std::string text;
        EnumChildWindows(box, collectStatic, reinterpret_cast<LPARAM>(&text));
        return toHex(text);
    }
    if (command == "press") {  // press BUTTON-TEXT in the message box with this caption
        HWND box = findMessageBox(fromHex(a.at(1)));
        if (!box) throw Failure{"no such message box"};
        ChildSearch search{fromHex(a.at(2)), "Button"};
        EnumChildWindows(box, findChild, reinterpret_cast<LPARAM>(&search));
        if (!search.found) throw Failure{"no such button"};
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(search.found), BN_CLICKED),
                     reinterpret_cast<LPARAM>(search.found));
        return {};
    }
    if (command == "idle") return waitIdle(parseWindow(a.at(1)));
    if (command == "answer_time") return answerTime(parseWindow(a.at(1)), static_cast<UINT>(parseNumber(a.at(2))));
    if (command == "dialog_with") {  // dialog_with HEX: a visible dialog with a child of this text, or 0
        struct Search { std::string text; HWND found; } search{fromHex(a.at(1)), nullptr};
        EnumWindows(
            [](HWND window, LPARAM param) -> BOOL {
                auto* s = reinterpret_cast<Search*>(param);
                ChildSearch child{s->text, ""};
                if (className(window) == "#32770" && IsWindowVisible(window))
                    EnumChildWindows(window, findChild, reinterpret_cast<LPARAM>(&child));
                s->found = child.found ? window : nullptr;
                return !child.found;
            },
            reinterpret_cast<LPARAM>(&search));
        return windowHex(search.found);
    }
    if (command == "find_class") return windowHex(FindWindowA(fromHex(a.at(1)).c_str(), nullptr));
    if (command == "file_version") return fileVersion(fromHex(a.at(1)));
    if (command == "version_string") return versionString(fromHex(a.at(1)), a.at(2));
    if (command == "manifest") return manifestOf(fromHex(a.at(1)));
    if (command == "process_window") return topWindowOfProcess(static_cast<DWORD>(parseNumber(a.at(1))));
    if (command == "resources") return resources(parseWindow(a.at(1)));
    if (command == "terminate") return terminate(parseWindow(a.at(1)));
    if (command == "clip_set") return clipSet(a);
    if (command == "clip_wait_busy") return clipWaitBusy(a);
    if (command == "clip_get") return clipGet();
    if (command == "clip_read") return clipRead(a);
    if (command == "clip_hold") return clipHold(a);
    if (command == "clip_burst") return clipBurst(a);
    if (command == "clip_fill") return clipFill(a);
    if (command == "clip_fill_hold_time") return clipFillHoldTime(a);
    if (command == "clip_read_time") return clipReadTime(a);
    if (command == "clip_owner") return windowHex(GetClipboardOwner());
    if (command == "client_window") return windowHex(clientWindow);
    if (command == "editor") return editorCreate();
    if (command == "editor_text") return toHex(windowText(editorEdit));
    if (command == "activate") {
        HWND window = parseWindow(a.at(1));
        SetForegroundWindow(window);
        return windowHex(GetForegroundWindow());
    }
    if (command == "keys") return keys(a);
    if (command == "make_window") return makeWindow(fromHex(a.at(1)));
    if (command == "received") return received();
    if (command == "move") {  // move WINDOW X Y: another program moving the window, size kept
        SetWindowPos(parseWindow(a.at(1)), nullptr, static_cast<int>(parseNumber(a.at(2))),
                     static_cast<int>(parseNumber(a.at(3))), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return {};
    }
    if (command == "client_origin") {  // screen position of the window's client area
        POINT origin = {0, 0};
        ClientToScreen(parseWindow(a.at(1)), &origin);
        return std::to_string(origin.x) + " " + std::to_string(origin.y);
    }
    if (command == "tree_count") return std::to_string(sendWithTimeout(parseWindow(a.at(1)), TVM_GETCOUNT, 0, 0));
    if (command == "tree_items") return treeItems(parseWindow(a.at(1)));
    if (command == "tree_items_w") return treeItemsW(parseWindow(a.at(1)));
    if (command == "tooltips") return tooltipsOf(parseWindow(a.at(1)));
    if (command == "tool_text") return toolText(parseWindow(a.at(1)));
    if (command == "tool_text_w") return toolText(parseWindow(a.at(1)), true);
    throw Failure{"unknown command " + command};
}

void answer(const std::string& line) {
    std::vector<std::string> words = split(line);
    std::string reply;
    try {
        reply = words.empty() ? "err empty" : "ok " + run(words);
    } catch (const Failure& failure) {
        reply = "err " + failure.message;
    } catch (const std::exception& error) {
        reply = std::string("err ") + error.what();
    }
    fwrite(reply.data(), 1, reply.size(), stdout);
    fputc('\n', stdout);
    fflush(stdout);
}

LRESULT CALLBACK clientProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int main() {
    InitCommonControls();
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = clientProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "YarrowkitTestClient";
    RegisterClassA(&windowClass);
    clientWindow = CreateWindowExA(0, windowClass.lpszClassName, kClientTitle, WS_OVERLAPPEDWINDOW, 40, 500, 300, 120,
                                   nullptr, nullptr, windowClass.hInstance, nullptr);
    DWORD mainThread = GetCurrentThreadId();
    // stdin is read on a thread of its own so that the main thread keeps pumping messages.
    std::thread reader([mainThread] {
        for (std::string line; std::getline(std::cin, line);) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            auto* copy = new std::string(line);
            while (!PostThreadMessageA(mainThread, WM_CLIENT_COMMAND, 0, reinterpret_cast<LPARAM>(copy))) Sleep(5);
        }
        PostThreadMessageA(mainThread, WM_QUIT, 0, 0);
    });
    reader.detach();
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!message.hwnd && message.message == WM_CLIENT_COMMAND) {
            std::unique_ptr<std::string> line(reinterpret_cast<std::string*>(message.lParam));
            answer(*line);
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

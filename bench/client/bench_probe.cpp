// The benches' probe: a second "other application" beside the test client, for what only the
// benches measure. It speaks the test client's protocol: one command per line on stdin, one answer
// line "ok [value]" or "err message"; windows travel as hex handles, formats as numbers.
#include <windows.h>
#include <winternl.h>

#include "LineProtocol.h"

#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using Handle = std::unique_ptr<void, decltype(&CloseHandle)>;
using Clock = std::chrono::steady_clock;

HWND probeWindow = nullptr;

long long number(const std::string& text) {
    return std::stoll(text, nullptr, 0);
}
UINT format(const Args& args, size_t index) {
    return static_cast<UINT>(number(args.at(index)));
}
HWND window(const std::string& text) {
    return reinterpret_cast<HWND>(static_cast<uintptr_t>(std::stoull(text, nullptr, 16)));
}
DWORD processOf(HWND target) {
    DWORD pid = 0;
    GetWindowThreadProcessId(target, &pid);
    return pid;
}
double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// ----- clipboard

// Waits as a real program does: its window keeps answering, since the program that holds the
// clipboard may be asking the owner of the data for something.
void pumpFor(double ms) {
    for (const auto start = Clock::now(); msSince(start) < ms; Sleep(1)) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    }
}
bool heldByAnother() {  // a look that leaves the clipboard as it was
    if (!OpenClipboard(probeWindow))
        return true;
    CloseClipboard();
    return false;
}
void openClipboard() {
    for (int attempt = 0; attempt < 200; ++attempt, pumpFor(10))
        if (OpenClipboard(probeWindow))
            return;
    throw Failure{"clipboard busy"};
}
// The same repeating text, ending in zero, that the test client's clip_fill places: its first byte
// is 'A' + SEED, so that every seed is a new content.
void placeFilled(UINT clipFormat, size_t size, long long seed) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block)
        throw Failure{"out of memory"};
    auto* bytes = static_cast<char*>(GlobalLock(block));
    for (size_t i = 0; i + 1 < size; ++i)
        bytes[i] = static_cast<char>('a' + i % 23);
    bytes[0] = static_cast<char>('A' + seed % 26);
    bytes[size - 1] = '\0';
    GlobalUnlock(block);
    openClipboard();
    EmptyClipboard();
    SetClipboardData(clipFormat, block);
    CloseClipboard();
}
// FORMAT SIZE SEED: places a filled block, then answers "BUSY FREE": the milliseconds at which
// another program first held the clipboard open and at which it was free again ("- -": nobody
// opened it in 10 s).
std::string fillHoldTime(const Args& args) {
    placeFilled(format(args, 1), number(args.at(2)), number(args.at(3)));
    const auto placed = Clock::now();
    double busy = -1;
    for (; busy < 0 && msSince(placed) < 10000; pumpFor(1))
        if (heldByAnother())
            busy = msSince(placed);
    if (busy < 0)
        return "- -";
    for (; heldByAnother(); pumpFor(1))
        if (msSince(placed) > 300000)
            throw Failure{"the clipboard stayed busy"};
    return std::to_string(busy) + " " + std::to_string(msSince(placed));
}
std::string readTime(const Args& args) {  // FORMAT: the milliseconds that GetClipboardData alone takes
    openClipboard();
    const auto start = Clock::now();
    HANDLE data = GetClipboardData(format(args, 1));
    const double took = msSince(start);
    CloseClipboard();
    if (!data)
        throw Failure{"no such format"};
    return std::to_string(took);
}
std::string read(const Args& args) {  // FORMAT ...: each one's size; a reader that keeps nothing
    openClipboard();
    std::string sizes;
    for (size_t i = 1; i < args.size(); ++i) {
        HANDLE data = IsClipboardFormatAvailable(format(args, i)) ? GetClipboardData(format(args, i)) : nullptr;
        if (data && GlobalLock(data)) {
            sizes += std::to_string(GlobalSize(data)) + " ";
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return sizes;
}

// ----- the resources of the process behind a window

// The used entries of the process's GDI handle table, which its PEB points to as on Windows
// (24-byte entries, the type byte at offset 14); stock objects included.
size_t gdiTableEntries(HANDLE process) {
    PROCESS_BASIC_INFORMATION basic = {};
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, nullptr))
        throw Failure{"no process information"};
    const char* table = nullptr;
    std::vector<unsigned char> entries(0x10000 * 24);
    const char* tablePointer = reinterpret_cast<const char*>(basic.PebBaseAddress) + 0xF8;
    if (!ReadProcessMemory(process, tablePointer, &table, sizeof table, nullptr) || !table ||
        !ReadProcessMemory(process, table, entries.data(), entries.size(), nullptr))
        throw Failure{"cannot read the GDI handle table"};
    size_t used = 0;
    for (size_t i = 14; i < entries.size(); i += 24)
        used += entries[i] != 0;
    return used;
}
BOOL CALLBACK countWindow(HWND, LPARAM counter) {
    ++*reinterpret_cast<size_t*>(counter);
    return TRUE;
}
size_t windowsOf(DWORD pid) {  // hidden ones and children included
    std::pair<DWORD, size_t> search = {pid, 0};
    auto visit = [](HWND each, LPARAM found) -> BOOL {
        auto* search = reinterpret_cast<std::pair<DWORD, size_t>*>(found);
        if (processOf(each) == search->first) {  // its children are listed at every depth
            ++search->second;
            EnumChildWindows(each, countWindow, reinterpret_cast<LPARAM>(&search->second));
        }
        return TRUE;
    };
    EnumWindows(visit, reinterpret_cast<LPARAM>(&search));
    return search.second;
}
size_t kernelHandles(DWORD pid) {
    std::vector<unsigned char> list(1 << 20);
    if (NtQuerySystemInformation(SystemProcessInformation, list.data(), list.size(), nullptr))
        throw Failure{"no process list"};
    for (const unsigned char* at = list.data();;) {
        auto* entry = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(at);
        if (reinterpret_cast<uintptr_t>(entry->UniqueProcessId) == pid)
            return entry->HandleCount;
        if (!entry->NextEntryOffset)
            throw Failure{"process not listed"};
        at += entry->NextEntryOffset;
    }
}
// WINDOW: "GDI USER HANDLES". Wine's GetGuiResources answers 0, so there the GDI handle table and
// the process's windows are counted.
std::string resources(const Args& args) {
    const DWORD pid = processOf(window(args.at(1)));
    Handle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid), CloseHandle);
    if (!process)
        throw Failure{"cannot open the process"};
    size_t gdi = GetGuiResources(process.get(), GR_GDIOBJECTS);
    size_t user = GetGuiResources(process.get(), GR_USEROBJECTS);
    return std::to_string(gdi ? gdi : gdiTableEntries(process.get())) + " " +
           std::to_string(user ? user : windowsOf(pid)) + " " + std::to_string(kernelHandles(pid));
}

const Commands kCommands = {
    {"ping", [](const Args&) { return std::string("pong"); }},
    {"clip_fill_hold_time", fillHoldTime},
    {"clip_read_time", readTime},
    {"clip_read", read},
    {"resources", resources},
};

}  // namespace

int main() {
    probeWindow = CreateWindowExA(0, "STATIC", "Yarrowkit Bench Probe", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    return serveLines(kCommands);
}

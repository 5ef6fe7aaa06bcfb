// Test client for the end-to-end tests: a Windows program that plays "another application".
// It reads one command per line on stdin and answers one line: "ok [value]" or "err message".
// Byte strings and paths travel as hex, windows as hex handles. Its window "Yarrowkit Test
// Client" owns its copies; on request it also shows an editor that can receive pastes.
#include <windows.h>
#include <commctrl.h>
#include <winternl.h>
#include <shellapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Args = std::vector<std::string>;
using Handle = std::unique_ptr<void, decltype(&CloseHandle)>;
struct Failure { std::string message; };

HWND clientWindow = nullptr, editorWindow = nullptr, editorEdit = nullptr;
std::string receivedMessages;

// ----- words of the protocol

std::string hex(const void* data, size_t size) {
    std::string text;
    for (auto* byte = static_cast<const unsigned char*>(data); size--; ++byte)
        text += {"0123456789abcdef"[*byte >> 4], "0123456789abcdef"[*byte & 15]};
    return text;
}
std::string hex(const std::string& bytes) { return hex(bytes.data(), bytes.size()); }
template <class Char> std::string textHex(const std::basic_string<Char>& text) {
    return text.empty() ? "-" : hex(text.data(), text.size() * sizeof(Char));
}
std::string unhex(const std::string& text) {
    std::string bytes;
    for (size_t i = 0; text != "-" && i + 1 < text.size(); i += 2)
        bytes += static_cast<char>(std::stoi(text.substr(i, 2), nullptr, 16));
    return bytes;
}
long long number(const std::string& text) { return std::stoll(text, nullptr, 0); }
void append(std::string& list, const std::string& word, char separator = ' ') {
    list += (list.empty() ? "" : std::string(1, separator)) + word;
}
std::string words(std::initializer_list<long long> values, char separator = ' ') {
    std::string text;
    for (long long value : values) append(text, std::to_string(value), separator);
    return text;
}
std::string handle(const void* w) {
    char text[32];
    snprintf(text, sizeof text, "%llx", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(w)));
    return text;
}
HWND window(const std::string& text) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(std::stoull(text, nullptr, 16))); }
std::string flag(bool on) { return on ? "1" : "0"; }

// ----- windows of any process

LRESULT sendWithTimeout(HWND target, UINT message, WPARAM wParam, LPARAM lParam, bool wide = false) {
    DWORD_PTR result = 0;
    if (!(wide ? SendMessageTimeoutW : SendMessageTimeoutA)(target, message, wParam, lParam, SMTO_ABORTIFHUNG, 10000, &result))
        throw Failure{"send timed out"};
    return static_cast<LRESULT>(result);
}
std::string windowText(HWND target) {
    char text[4096] = {};
    SendMessageTimeoutA(target, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 3000, nullptr);
    return text;
}
std::string className(HWND target) {
    char name[256] = {};
    GetClassNameA(target, name, sizeof name);
    return name;
}
DWORD processOf(HWND target) {
    DWORD pid = 0;
    GetWindowThreadProcessId(target, &pid);
    return pid;
}
// Visits the top-level windows (or a parent's children) until `visit` answers false.
void eachWindow(HWND parent, const std::function<bool(HWND)>& visit) {
    auto callback = [](HWND w, LPARAM p) -> BOOL { return (*reinterpret_cast<const std::function<bool(HWND)>*>(p))(w); };
    parent ? EnumChildWindows(parent, callback, reinterpret_cast<LPARAM>(&visit)) : EnumWindows(callback, reinterpret_cast<LPARAM>(&visit));
}
HWND firstWindow(HWND parent, const std::function<bool(HWND)>& matches) {
    HWND found = nullptr;
    eachWindow(parent, [&](HWND w) { return matches(w) ? (found = w, false) : true; });
    return found;
}
bool isDialog(HWND w) { return className(w) == "#32770" && IsWindowVisible(w); }
HWND messageBox(const std::string& caption) {
    return firstWindow(nullptr, [&](HWND w) { return isDialog(w) && windowText(w) == caption; });
}
HWND childWithText(HWND parent, const std::string& text, const std::string& ofClass = "") {
    return firstWindow(parent, [&](HWND w) {
        std::string shown = windowText(w);
        shown.erase(std::remove(shown.begin(), shown.end(), '&'), shown.end());
        return (ofClass.empty() || className(w) == ofClass) && shown == text;
    });
}
std::string messageBoxText(HWND box) {  // its static texts; the icon has none
    std::string text;
    eachWindow(box, [&](HWND w) { return text += className(w) == "Static" ? windowText(w) : "", true; });
    return text;
}
// Clicks a button of the message box; answers the box, so that the caller can see it go.
std::string pressButton(const std::string& caption, const std::string& button) {
    HWND box = messageBox(caption), found = box ? childWithText(box, button, "Button") : nullptr;
    if (!found) throw Failure{box ? "no such button" : "no such message box"};
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(found), BN_CLICKED), reinterpret_cast<LPARAM>(found));
    return handle(box);
}
std::string rect(HWND target) {
    RECT r = {};
    GetWindowRect(target, &r);
    return words({r.left, r.top, r.right, r.bottom});
}

// ----- clipboard

using Clock = std::chrono::steady_clock;
double msSince(Clock::time_point start) { return std::chrono::duration<double, std::milli>(Clock::now() - start).count(); }

// Waits as a real program does: its window keeps answering, since the program that holds the
// clipboard may be asking the owner of the data for something.
void pumpFor(double ms) {
    for (const auto start = Clock::now(); msSince(start) < ms; Sleep(1))
        for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);) DispatchMessageA(&message);
}
bool heldByAnother() {  // a look that leaves the clipboard as it was
    if (!OpenClipboard(clientWindow)) return true;
    CloseClipboard();
    return false;
}
void openClipboard() {
    for (int attempt = 0; attempt < 200; ++attempt, pumpFor(10))
        if (OpenClipboard(clientWindow)) return;
    throw Failure{"clipboard busy"};
}
UINT formatOf(const std::string& name) {  // "@HEX" names a registered format
    return name[0] == '@' ? RegisterClipboardFormatA(unhex(name.substr(1)).c_str()) : static_cast<UINT>(std::stoul(name));
}
void place(const std::vector<std::pair<UINT, std::string>>& blocks) {
    openClipboard();
    EmptyClipboard();
    for (const auto& [format, bytes] : blocks) {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        if (!block) CloseClipboard(), throw Failure{"out of memory"};
        memcpy(GlobalLock(block), bytes.data(), bytes.size());
        GlobalUnlock(block);
        SetClipboardData(format, block);
    }
    CloseClipboard();
}
// A repeating text of SIZE bytes ending in zero, its first byte 'A' + SEED, made here since huge
// clips need not cross the pipe. A CF_DIB block starts with a real 32-bit header.
std::string filled(UINT format, size_t size, long long seed) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i + 1 < size; ++i) bytes[i] = static_cast<char>('a' + i % 23);
    BITMAPINFOHEADER header = {sizeof header, 1024, static_cast<LONG>((size - sizeof header) / 4096), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const bool dib = format == CF_DIB && size >= sizeof header + 4096;
    if (dib) memcpy(bytes.data(), &header, sizeof header);
    if (size) bytes[dib ? sizeof header : 0] = static_cast<char>('A' + seed % 26);
    return bytes;
}
// The listed formats' sizes (a reader that keeps nothing), or every format as "format:hex".
std::string readClipboard(const Args& a, bool sizesOnly) {
    openClipboard();
    std::vector<UINT> formats;
    for (size_t i = 1; i < a.size(); ++i) formats.push_back(formatOf(a[i]));
    for (UINT f = sizesOnly ? 0 : EnumClipboardFormats(0); f; f = EnumClipboardFormats(f)) formats.push_back(f);
    std::string result;
    for (UINT format : formats) {
        bool byHandle = format == CF_BITMAP || format == CF_ENHMETAFILE || format == CF_METAFILEPICT || format == CF_PALETTE;
        HANDLE data = IsClipboardFormatAvailable(format) && !byHandle ? GetClipboardData(format) : nullptr;
        const void* bytes = data ? GlobalLock(data) : nullptr;
        if (sizesOnly && bytes) append(result, std::to_string(GlobalSize(data)));
        if (!sizesOnly) append(result, std::to_string(format) + ":" + (bytes ? hex(bytes, GlobalSize(data)) : ""));
        if (bytes) GlobalUnlock(data);
    }
    CloseClipboard();
    return result;
}
// Places a filled block, then answers "BUSY FREE": the milliseconds at which another program
// first held the clipboard open and at which it was free again ("- -": nobody opened it in 10 s).
std::string fillHoldTime(const Args& a) {
    place({{formatOf(a.at(1)), filled(formatOf(a.at(1)), number(a.at(2)), number(a.at(3)))}});
    const auto placed = Clock::now();
    double busy = -1;
    for (; busy < 0 && msSince(placed) < 10000; pumpFor(1))
        if (heldByAnother()) busy = msSince(placed);
    if (busy < 0) return "- -";
    for (; heldByAnother(); pumpFor(1))
        if (msSince(placed) > 300000) throw Failure{"the clipboard stayed busy"};
    return std::to_string(busy) + " " + std::to_string(msSince(placed));
}
std::string readTime(const Args& a) {  // the milliseconds that GetClipboardData alone takes
    openClipboard();
    const auto start = Clock::now();
    HANDLE data = GetClipboardData(formatOf(a.at(1)));
    const double took = msSince(start);
    CloseClipboard();
    if (!data) throw Failure{"no such format"};
    return std::to_string(took);
}
std::string waitBusy(const Args& a) {  // returns once another program holds the clipboard open
    for (const auto start = Clock::now(); msSince(start) < number(a.at(1)); pumpFor(1))
        if (heldByAnother()) return {};
    throw Failure{"the clipboard was never busy"};
}

// ----- windows of our own: the paste editor, and a stand-in that records what it receives

HWND makeTopWindow(const char* className, WNDPROC procedure, const std::string& title, DWORD style, RECT r) {
    WNDCLASSA windowClass = {0, procedure, 0, 0, GetModuleHandleA(nullptr), nullptr, nullptr,
                             reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), nullptr, className};
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, className, title.c_str(), style, r.left, r.top, r.right, r.bottom, nullptr, nullptr, windowClass.hInstance, nullptr);
}
LRESULT CALLBACK editorProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SIZE && editorEdit) MoveWindow(editorEdit, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
    if (message == WM_SETFOCUS && editorEdit) SetFocus(editorEdit);
    return DefWindowProcA(w, message, wParam, lParam);
}
std::string editor() {
    if (!editorWindow) {
        editorWindow = makeTopWindow("YarrowkitTestEditor", editorProc, "Yarrowkit Test Editor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, {700, 100, 420, 300});
        editorEdit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL,
                                     0, 0, 400, 260, editorWindow, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    SetForegroundWindow(editorWindow);
    SetFocus(editorEdit);
    return handle(editorEdit);
}
LRESULT CALLBACK recorderProc(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message < WM_USER && message != WM_DRAWCLIPBOARD) return DefWindowProcA(w, message, wParam, lParam);
    append(receivedMessages, words({message, static_cast<long long>(wParam), static_cast<long long>(lParam)}, ','));
    return 0;
}

// ----- the process behind a window

HANDLE openProcess(HWND target, DWORD access) {
    HANDLE process = OpenProcess(access, FALSE, processOf(target));
    if (!process) throw Failure{"cannot open the process"};
    return process;
}
// The used entries of the process's GDI handle table, which its PEB points to as on Windows
// (24-byte entries, the type byte at offset 14); stock objects included.
size_t gdiTableEntries(HANDLE process) {
    PROCESS_BASIC_INFORMATION basic = {};
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, nullptr))
        throw Failure{"no process information"};
    const char* table = nullptr;
    std::vector<unsigned char> entries(0x10000 * 24);
    if (!ReadProcessMemory(process, reinterpret_cast<char*>(basic.PebBaseAddress) + 0xF8, &table, sizeof table, nullptr) || !table ||
        !ReadProcessMemory(process, table, entries.data(), entries.size(), nullptr))
        throw Failure{"cannot read the GDI handle table"};
    size_t used = 0;
    for (size_t i = 14; i < entries.size(); i += 24) used += entries[i] != 0;
    return used;
}
size_t windowsOf(DWORD pid) {  // hidden ones and children included
    size_t count = 0;
    auto counter = [&](HWND) { return ++count, true; };
    eachWindow(nullptr, [&](HWND w) {
        if (processOf(w) == pid) ++count, eachWindow(w, counter);
        return true;
    });
    return count;
}
size_t kernelHandles(DWORD pid) {
    std::vector<unsigned char> list(1 << 20);
    if (NtQuerySystemInformation(SystemProcessInformation, list.data(), list.size(), nullptr))
        throw Failure{"no process list"};
    for (auto* entry = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(list.data());;
         entry = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(reinterpret_cast<const char*>(entry) + entry->NextEntryOffset)) {
        if (reinterpret_cast<uintptr_t>(entry->UniqueProcessId) == pid) return entry->HandleCount;
        if (!entry->NextEntryOffset) throw Failure{"process not listed"};
    }
}
// "GDI USER HANDLES". Wine's GetGuiResources answers 0, so there the GDI handle table and the
// process's windows are counted.
std::string resources(HWND target) {
    Handle process(openProcess(target, PROCESS_QUERY_INFORMATION | PROCESS_VM_READ), CloseHandle);
    size_t gdi = GetGuiResources(process.get(), GR_GDIOBJECTS), user = GetGuiResources(process.get(), GR_USEROBJECTS);
    return words({static_cast<long long>(gdi ? gdi : gdiTableEntries(process.get())),
                  static_cast<long long>(user ? user : windowsOf(processOf(target))), static_cast<long long>(kernelHandles(processOf(target)))});
}
// Waits until the window's thread waits for input: a window is found by its title while its
// dialog still initialises, and tests must not race that.
std::string waitIdle(HWND target) {
    Handle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processOf(target)), CloseHandle);
    DWORD_PTR ignored = 0;
    return flag(process && WaitForInputIdle(process.get(), 20000) == 0 &&
                SendMessageTimeoutA(target, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 20000, &ignored));
}

// ----- controls of another process, whose messages take pointers into its memory

class RemoteMemory {
public:
    static constexpr size_t kChars = 16384;
    explicit RemoteMemory(HWND target)
        : process_(openProcess(target, PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE), CloseHandle),
          address_(static_cast<char*>(VirtualAllocEx(process_.get(), nullptr, 4096 + kChars * 2, MEM_COMMIT, PAGE_READWRITE))) {
        if (!address_) throw Failure{"cannot allocate in the process"};
    }
    ~RemoteMemory() { VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE); }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;
    // Sends the structure, whose text pointer aims at a buffer just after it; reads both back.
    template <class Struct, class Char>
    std::basic_string<Char> exchange(HWND target, UINT message, WPARAM wParam, Struct& data, Char*& text) {
        text = reinterpret_cast<Char*>(address_ + sizeof data);
        std::basic_string<Char> result(kChars, 0);
        copy(true, sizeof data, result.data(), sizeof(Char));
        copy(true, 0, &data, sizeof data);
        LRESULT answered = sendWithTimeout(target, message, wParam, reinterpret_cast<LPARAM>(address_));
        copy(false, 0, &data, sizeof data);
        copy(false, sizeof data, result.data(), kChars * sizeof(Char));
        result.resize(std::char_traits<Char>::length(result.c_str()));
        if (!answered && message != TTM_GETTEXTW) throw Failure{message == TTM_ENUMTOOLSW ? "no tool" : "getitem"};
        return result;
    }

private:
    void copy(bool out, size_t offset, void* data, size_t size) {
        if (!(out ? WriteProcessMemory(process_.get(), address_ + offset, data, size, nullptr)
                  : ReadProcessMemory(process_.get(), address_ + offset, data, size, nullptr)))
            throw Failure{out ? "write failed" : "read failed"};
    }
    Handle process_;
    char* address_;
};
// "handle,data,image,selectedImage,selected,hextext" per root item, top to bottom; the text as
// its UTF-16LE units.
std::string treeItems(HWND tree) {
    RemoteMemory remote(tree);
    auto next = [&](UINT how, HTREEITEM from) {
        return reinterpret_cast<HTREEITEM>(sendWithTimeout(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(from)));
    };
    const HTREEITEM caret = next(TVGN_CARET, nullptr);
    std::string result;
    for (HTREEITEM item = next(TVGN_ROOT, nullptr); item; item = next(TVGN_NEXT, item)) {
        TVITEMW data = {};
        data.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        data.hItem = item;
        data.cchTextMax = RemoteMemory::kChars;
        auto text = remote.exchange(tree, TVM_GETITEMW, 0, data, data.pszText);
        append(result, handle(item) + "," + words({static_cast<long long>(data.lParam), data.iImage, data.iSelectedImage, item == caret}, ',') +
                           "," + textHex(text));
    }
    return result;
}
// The whole text of the tooltip's first tool, in the ANSI code page or (wide) as its UTF-16LE
// units. Asked for wide, because the ANSI message copies at most 80 bytes on some systems.
std::string toolText(HWND tooltip, bool wide) {
    RemoteMemory remote(tooltip);
    TTTOOLINFOW tool = {};
    tool.cbSize = sizeof tool;
    try {
        remote.exchange(tooltip, TTM_ENUMTOOLSW, 0, tool, tool.lpszText);
    } catch (const Failure&) {
        return "-";
    }
    std::wstring text = remote.exchange(tooltip, TTM_GETTEXTW, RemoteMemory::kChars, tool, tool.lpszText);
    if (text.empty() || wide) return textHex(text);
    std::string ansi(text.size() * 2 + 1, '\0');
    ansi.resize(std::max(0, WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), ansi.data(),
                                                static_cast<int>(ansi.size()), nullptr, nullptr)));
    return hex(ansi);
}
std::string tooltipsOf(HWND owner) {  // "hwnd:owner:style:exstyle:visible" of the process's tooltips
    std::string found;
    eachWindow(nullptr, [&](HWND w) {
        if (processOf(w) != processOf(owner) || className(w) != "tooltips_class32") return true;
        char entry[160];
        snprintf(entry, sizeof entry, "%s:%s:%lx:%lx:%d", handle(w).c_str(), handle(GetWindow(w, GW_OWNER)).c_str(),
                 static_cast<unsigned long>(GetWindowLongA(w, GWL_STYLE)), static_cast<unsigned long>(GetWindowLongA(w, GWL_EXSTYLE)),
                 IsWindowVisible(w) ? 1 : 0);
        return append(found, entry), true;
    });
    return found;
}

// ----- the commands

std::string keys(const Args& a) {  // VK[:up][:ext] ...: one keybd_event per word
    for (size_t i = 1; i < a.size(); ++i, Sleep(20)) {
        BYTE vk = static_cast<BYTE>(number(a[i].substr(0, a[i].find(':'))));
        DWORD flags = (a[i].find(":up") != std::string::npos ? KEYEVENTF_KEYUP : 0) |
                      (a[i].find(":ext") != std::string::npos ? KEYEVENTF_EXTENDEDKEY : 0);
        keybd_event(vk, static_cast<BYTE>(MapVirtualKeyA(vk, 0)), flags, 0);
    }
    return {};
}
std::string trayHas(HWND owner, UINT id) {  // a no-op change succeeds only for an icon the tray holds
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V2_SIZE, data.hWnd = owner, data.uID = id;
    return flag(Shell_NotifyIconA(NIM_MODIFY, &data));
}
std::string setText(const Args& a, bool wide) {
    const std::string text = unhex(a.at(2)) + std::string(2, '\0');
    return sendWithTimeout(window(a.at(1)), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.data()), wide), std::string();
}
UINT arg(const Args& a, size_t i) { return static_cast<UINT>(number(a.at(i))); }
HWND item(const Args& a) { return GetDlgItem(window(a.at(1)), static_cast<int>(number(a.at(2)))); }
std::string none() { return {}; }

const std::map<std::string, std::function<std::string(const Args&)>> kCommands = {
    {"ping", [](const Args&) { return std::string("pong"); }},
    {"find", [](const Args& a) { return handle(FindWindowA(nullptr, unhex(a.at(1)).c_str())); }},
    {"find_class", [](const Args& a) { return handle(FindWindowA(unhex(a.at(1)).c_str(), nullptr)); }},
    {"visible", [](const Args& a) { return flag(IsWindowVisible(window(a.at(1)))); }},
    {"exists", [](const Args& a) { return flag(IsWindow(window(a.at(1)))); }},
    {"enabled", [](const Args& a) { return flag(IsWindowEnabled(window(a.at(1)))); }},
    {"foreground", [](const Args&) { return handle(GetForegroundWindow()); }},
    {"focus_of", [](const Args& a) {  // the focus window of the thread that owns the window
         GUITHREADINFO info = {};
         info.cbSize = sizeof info;
         GetGUIThreadInfo(GetWindowThreadProcessId(window(a.at(1)), nullptr), &info);
         return handle(info.hwndFocus); }},
    {"rect", [](const Args& a) { return rect(window(a.at(1))); }},
    {"client_origin", [](const Args& a) {  // the screen position of the client area
         POINT origin = {0, 0};
         ClientToScreen(window(a.at(1)), &origin);
         return words({origin.x, origin.y}); }},
    {"send", [](const Args& a) { return std::to_string(sendWithTimeout(window(a.at(1)), arg(a, 2), number(a.at(3)), number(a.at(4)))); }},
    {"post", [](const Args& a) { return PostMessageA(window(a.at(1)), arg(a, 2), number(a.at(3)), number(a.at(4))), none(); }},
    {"item", [](const Args& a) { return handle(item(a)); }},
    {"text", [](const Args& a) { return hex(windowText(window(a.at(1)))); }},
    {"item_text", [](const Args& a) { return hex(windowText(item(a))); }},
    {"set_text", [](const Args& a) { return setText(a, false); }},  // as typing into a field would end
    {"set_text_w", [](const Args& a) { return setText(a, true); }},  // UTF-16LE text, in any script
    {"move", [](const Args& a) {  // another program moving the window, its size kept
         return SetWindowPos(window(a.at(1)), nullptr, arg(a, 2), arg(a, 3), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE), none(); }},
    {"activate", [](const Args& a) { return SetForegroundWindow(window(a.at(1))), handle(GetForegroundWindow()); }},
    {"hotkey_hold", [](const Args& a) { return flag(RegisterHotKey(clientWindow, arg(a, 1), arg(a, 2), arg(a, 3))); }},
    {"hotkey_release", [](const Args& a) { return flag(UnregisterHotKey(clientWindow, arg(a, 1))); }},
    {"tray_has", [](const Args& a) { return trayHas(window(a.at(1)), arg(a, 2)); }},
    {"msgbox", [](const Args& a) {  // the text of the visible message box with this caption, or "-"
         HWND box = messageBox(unhex(a.at(1)));
         return box ? hex(messageBoxText(box)) : "-"; }},
    {"press", [](const Args& a) { return pressButton(unhex(a.at(1)), unhex(a.at(2))); }},
    {"dialog_with", [](const Args& a) {  // a visible dialog with a child of this text
         return handle(firstWindow(nullptr, [&](HWND w) { return isDialog(w) && childWithText(w, unhex(a.at(1))); })); }},
    {"idle", [](const Args& a) { return waitIdle(window(a.at(1))); }},
    {"answer_time", [](const Args& a) {  // ms until the window's thread answers, -1 past the limit
         const ULONGLONG start = GetTickCount64();
         DWORD_PTR ignored = 0;
         return SendMessageTimeoutA(window(a.at(1)), WM_NULL, 0, 0, SMTO_NORMAL, arg(a, 2), &ignored) ? std::to_string(GetTickCount64() - start) : "-1"; }},
    {"resources", [](const Args& a) { return resources(window(a.at(1))); }},
    {"terminate", [](const Args& a) {  // as End task does; "1" once the process is gone
         Handle process(openProcess(window(a.at(1)), PROCESS_TERMINATE | SYNCHRONIZE), CloseHandle);
         if (!TerminateProcess(process.get(), 1)) throw Failure{"terminate failed"};
         return flag(WaitForSingleObject(process.get(), 10000) == WAIT_OBJECT_0); }},
    {"clip_set", [](const Args& a) {  // FORMAT=HEX ...: the blocks in the order given
         std::vector<std::pair<UINT, std::string>> blocks;
         for (size_t i = 1, at; i < a.size() && (at = a[i].find('=')) != std::string::npos; ++i)
             blocks.emplace_back(formatOf(a[i].substr(0, at)), unhex(a[i].substr(at + 1)));
         return place(blocks), none(); }},
    {"clip_sequence", [](const Args&) { return std::to_string(GetClipboardSequenceNumber()); }},  // without opening it
    {"clip_get", [](const Args& a) { return readClipboard(a, false); }},
    {"clip_read", [](const Args& a) { return readClipboard(a, true); }},
    {"clip_fill", [](const Args& a) {  // FORMAT SIZE [SEED]
         return place({{formatOf(a.at(1)), filled(formatOf(a.at(1)), number(a.at(2)), a.size() > 3 ? number(a[3]) : 0)}}), none(); }},
    {"clip_fill_hold_time", fillHoldTime},
    {"clip_read_time", readTime},
    {"clip_wait_busy", waitBusy},
    {"clip_hold", [](const Args& a) {  // keeps the clipboard open for MS, as a busy program would
         openClipboard();
         return pumpFor(arg(a, 1)), CloseClipboard(), none(); }},
    {"clip_burst", [](const Args& a) {  // COUNT INTERVAL TAG: texts "TAG i", as a busy program copies
         for (long long i = 0; i < number(a.at(1)); ++i)
             pumpFor(i ? arg(a, 2) : 0), place({{CF_TEXT, a.at(3) + " " + std::to_string(i) + std::string(1, '\0')}});
         return none(); }},
    {"editor", [](const Args&) { return editor(); }},
    {"make_window", [](const Args& a) {  // another program's window that happens to carry the title
         return handle(makeTopWindow("YarrowkitTestRecorder", recorderProc, unhex(a.at(1)), WS_OVERLAPPEDWINDOW, {100, 100, 200, 100})); }},
    {"viewer", [](const Args&) {  // joins the clipboard-viewer chain now; its notices are recorded
         HWND viewer = makeTopWindow("YarrowkitTestRecorder", recorderProc, "viewer", WS_OVERLAPPEDWINDOW, {100, 100, 200, 100});
         SetClipboardViewer(viewer);
         return handle(viewer); }},
    {"received", [](const Args&) { return receivedMessages; }},  // what the recording windows were sent
    {"keys", keys},
    {"tree_items_w", [](const Args& a) { return treeItems(window(a.at(1))); }},
    {"tooltips", [](const Args& a) { return tooltipsOf(window(a.at(1))); }},
    {"tool_text", [](const Args& a) { return toolText(window(a.at(1)), false); }},
    {"tool_text_w", [](const Args& a) { return toolText(window(a.at(1)), true); }},
};

std::string answer(const std::string& line) {
    std::istringstream stream(line);
    Args a;
    for (std::string word; stream >> word;) a.push_back(word);
    try {
        auto command = a.empty() ? kCommands.end() : kCommands.find(a[0]);
        if (command == kCommands.end()) throw Failure{"unknown command " + line};
        return "ok " + command->second(a);
    } catch (const Failure& failure) {
        return "err " + failure.message;
    } catch (const std::exception& error) {
        return std::string("err ") + error.what();
    }
}

}  // namespace

int main() {
    InitCommonControls();
    clientWindow = makeTopWindow("YarrowkitTestClient", DefWindowProcA, "Yarrowkit Test Client", WS_OVERLAPPEDWINDOW, {40, 500, 300, 120});
    const UINT kLineMessage = WM_APP + 1;
    const DWORD mainThread = GetCurrentThreadId();
    // stdin is read on a thread of its own, so that the main thread keeps pumping messages.
    std::thread([mainThread] {
        for (std::string line; std::getline(std::cin, line);)
            for (auto* copy = new std::string(line); !PostThreadMessageA(mainThread, kLineMessage, 0, reinterpret_cast<LPARAM>(copy));) Sleep(5);
        PostThreadMessageA(mainThread, WM_QUIT, 0, 0);
    }).detach();
    for (MSG message; GetMessageA(&message, nullptr, 0, 0) > 0;) {
        if (message.hwnd || message.message != kLineMessage) {
            TranslateMessage(&message), DispatchMessageA(&message);
            continue;
        }
        printf("%s\n", answer(*std::unique_ptr<std::string>(reinterpret_cast<std::string*>(message.lParam))).c_str());
        fflush(stdout);
    }
    return 0;
}

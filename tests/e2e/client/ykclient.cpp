// The end-to-end tests' "another application": one command a line on stdin, one answer a line, "ok [value]" or
// "err message"; bytes travel as hex, windows as hex handles. It can show an editor that receives pastes.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "LineProtocol.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using Handle = std::unique_ptr<void, decltype(&CloseHandle)>;

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

LRESULT sendWithTimeout(HWND target, UINT message, WPARAM wParam, LPARAM lParam, bool wide = false) {  // a busy one is waited for
    DWORD_PTR result = 0;
    if (!(wide ? SendMessageTimeoutW : SendMessageTimeoutA)(target, message, wParam, lParam, SMTO_NORMAL, 20000, &result))
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

void pumpFor(double ms) {  // its window answering: the clipboard's holder may ask the data's owner for something
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
// SIZE bytes of repeating text ending in zero, its first byte 'A' + SEED; a CF_DIB starts with a 32-bit header.
std::string filled(UINT format, size_t size, long long seed) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i + 1 < size; ++i) bytes[i] = static_cast<char>('a' + i % 23);
    BITMAPINFOHEADER header = {sizeof header, 1024, static_cast<LONG>((size - sizeof header) / 4096), 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    const bool dib = format == CF_DIB && size >= sizeof header + 4096;
    if (dib) memcpy(bytes.data(), &header, sizeof header);
    if (size) bytes[dib ? sizeof header : 0] = static_cast<char>('A' + seed % 26);
    return bytes;
}
std::string readClipboard() {  // every format as "format:hex"; those only passed by handle come empty
    openClipboard();
    std::string result;
    for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
        bool byHandle = format == CF_BITMAP || format == CF_ENHMETAFILE || format == CF_METAFILEPICT || format == CF_PALETTE;
        HANDLE data = byHandle ? nullptr : GetClipboardData(format);
        const void* bytes = data ? GlobalLock(data) : nullptr;
        append(result, std::to_string(format) + ":" + (bytes ? hex(bytes, GlobalSize(data)) : ""));
        if (bytes) GlobalUnlock(data);
    }
    CloseClipboard();
    return result;
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
std::string waitIdle(HWND target) {  // its thread waiting for input: a dialog is found by title while it initialises
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
          address_(static_cast<char*>(VirtualAllocEx(process_.get(), nullptr, kSize, MEM_COMMIT, PAGE_READWRITE))) {
        if (!address_) throw Failure{"cannot allocate in the process"};
    }
    ~RemoteMemory() { VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE); }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;
    // Sends the structure, whose text pointer aims at an empty buffer just after it; reads both back.
    template <class Struct, class Char>
    std::basic_string<Char> exchange(HWND target, UINT message, WPARAM wParam, Struct& data, Char*& text) {
        text = reinterpret_cast<Char*>(address_ + sizeof data);
        std::vector<char> block(kSize);
        memcpy(block.data(), &data, sizeof data);
        if (!WriteProcessMemory(process_.get(), address_, block.data(), kSize, nullptr)) throw Failure{"write failed"};
        LRESULT answered = sendWithTimeout(target, message, wParam, reinterpret_cast<LPARAM>(address_));
        if (!ReadProcessMemory(process_.get(), address_, block.data(), kSize, nullptr)) throw Failure{"read failed"};
        memcpy(&data, block.data(), sizeof data);
        if (!answered && message != TTM_GETTEXTW) throw Failure{message == TTM_ENUMTOOLSW ? "no tool" : "getitem"};
        return reinterpret_cast<const Char*>(block.data() + sizeof data);
    }

private:
    static constexpr size_t kSize = 4096 + (kChars + 1) * sizeof(wchar_t);  // any structure, then the text
    Handle process_;
    char* address_;
};
// "handle,data,image,selectedImage,selected,hextext" per root item, top to bottom; the text in UTF-16LE.
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
// The tooltip's first tool's text in UTF-16LE, asked wide: the ANSI message may stop at 80 bytes.
std::string toolText(HWND tooltip) {
    RemoteMemory remote(tooltip);
    TTTOOLINFOW tool = {};
    tool.cbSize = sizeof tool;
    try {
        remote.exchange(tooltip, TTM_ENUMTOOLSW, 0, tool, tool.lpszText);
    } catch (const Failure&) {
        return "-";
    }
    return textHex(remote.exchange(tooltip, TTM_GETTEXTW, RemoteMemory::kChars, tool, tool.lpszText));
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

const Commands kCommands = {
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
    {"set_text", [](const Args& a) { return setText(a, false); }},  // as typing into a field would end
    {"set_text_w", [](const Args& a) { return setText(a, true); }},  // UTF-16LE text, in any script
    {"move", [](const Args& a) {  // another program moving the window, its size kept
         return SetWindowPos(window(a.at(1)), nullptr, arg(a, 2), arg(a, 3), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE), none(); }},
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
    {"clip_get", [](const Args&) { return readClipboard(); }},
    {"clip_fill", [](const Args& a) {  // FORMAT SIZE [SEED]
         return place({{formatOf(a.at(1)), filled(formatOf(a.at(1)), number(a.at(2)), a.size() > 3 ? number(a[3]) : 0)}}), none(); }},
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
    {"tree_items_w", [](const Args& a) { return treeItems(window(a.at(1))); }},
    {"tooltips", [](const Args& a) { return tooltipsOf(window(a.at(1))); }},
    {"tool_text_w", [](const Args& a) { return toolText(window(a.at(1))); }},
};

}  // namespace

int main() {
    InitCommonControls();
    clientWindow = makeTopWindow("YarrowkitTestClient", DefWindowProcA, "Yarrowkit Test Client", WS_OVERLAPPEDWINDOW, {40, 500, 300, 120});
    return serveLines(kCommands);
}

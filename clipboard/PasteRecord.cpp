#include "clipboard/PasteRecord.h"

#include "clipboard/ClipWriter.h"
#include "clipboard/ClipboardAccess.h"
#include "clipboard/ClipboardState.h"

namespace {
bool saveClipboard() {
    // Blocks left by an earlier failed restore are stale: they must not come back now.
    SavedClipboard.clear();
    if (!OpenClipboardWithRetry(kClipboardAttempts)) return false;
    for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
        if (isHandleFormat(format)) continue;
        LockedClipBlock block(format);
        if (block) SavedClipboard.push_back({format, std::string(block.view())});
    }
    CloseClipboard();
    return true;
}

bool restoreClipboard(ClipboardChanges& changes) {
    Sleep(paste::Sleep);
    if (!OpenClipboardWithRetry(kClipboardAttempts)) {
        SavedClipboard.clear();
        return false;
    }
    {
        const OwnClipboardWrite write(changes);
        EmptyClipboard();
        for (const SavedBlock& block : SavedClipboard)
            SetClipboardBlock(block.bytes.data(), block.bytes.size(), block.format);
    }
    SavedClipboard.clear();
    return true;
}

void sendKey(BYTE key, DWORD flags) {
    keybd_event(key, static_cast<BYTE>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC)), KEYEVENTF_EXTENDEDKEY | flags, 0);
}

void sendCtrlV() {
    sendKey(VK_CONTROL, 0);
    sendKey('V', 0);
    sendKey('V', KEYEVENTF_KEYUP);
    sendKey(VK_CONTROL, KEYEVENTF_KEYUP);
}

HWND topLevelOf(HWND window) {
    for (HWND parent = GetParent(window); parent; parent = GetParent(window)) window = parent;
    return window;
}

// Activation of another program's window completes in that program's thread; a keystroke sent
// before it has taken the activation would go astray (to this window, when it stays in front).
// A busy machine can take well over 100 ms for it; a hung target costs a second.
void waitUntilActive(HWND top) {
    const DWORD thread = GetWindowThreadProcessId(top, nullptr);
    for (int attempt = 0; attempt < 200; ++attempt) {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        if (!GetGUIThreadInfo(thread, &info) || info.hwndActive == top) return;
        Sleep(5);
    }
}

// The target is usually a child (the edit control with the caret). Where the platform refuses
// to make a child the foreground window, its top-level window is brought forward instead,
// which gives the keyboard focus back to the child.
void bringForward(HWND target) {
    HWND top = topLevelOf(target);
    if (!SetForegroundWindow(target)) SetForegroundWindow(top);
    waitUntilActive(top);
}

bool isSelfOrChild(HWND ancestor, HWND window) { return ancestor && (window == ancestor || IsChild(ancestor, window)); }
}  // namespace

void PasteRecord(int recordId, bool hide, HWND selectionWindow, ClipboardChanges& changes, const ReportError& report) {
    if (paste::RestoreClipboard && !saveClipboard()) return;
    PutRecordOnClipboard(recordId, changes, report);
    if (PasteTarget) bringForward(PasteTarget);
    if (hide) ShowWindow(selectionWindow, SW_HIDE);
    // The pause comes after the activation: the target settles in its focus meanwhile. Under
    // Wine it takes in the X focus then and sets its key state to the real keyboard's, which
    // would drop a Ctrl sent just before.
    Sleep(paste::Sleep);
    sendCtrlV();
    if (paste::RestoreClipboard) {
        if (!restoreClipboard(changes)) return;
    } else if (!hide) {
        // Taking the focus back at once would take the keystroke with it: keyboard input goes
        // to the window in front when the target reads it, not when it was sent.
        Sleep(paste::Sleep);
    }
    if (!hide) {
        SetForegroundWindow(selectionWindow);
    } else if (PasteTarget) {
        HWND top = topLevelOf(PasteTarget);
        if (top != PasteTarget) SetForegroundWindow(top);
    }
}

void RememberPasteTarget(HWND selectionWindow, HWND taskbarWindow) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(0, &info)) return;
    HWND candidate = info.hwndCaret ? info.hwndCaret : info.hwndFocus;
    if (isSelfOrChild(taskbarWindow, candidate) || isSelfOrChild(selectionWindow, candidate)) return;
    PasteTarget = candidate;
}

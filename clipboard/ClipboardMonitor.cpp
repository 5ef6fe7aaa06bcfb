#include "clipboard/ClipboardMonitor.h"

#include "clipboard/ClipCapture.h"
#include "clipboard/ClipboardState.h"

ClipboardMonitor::ClipboardMonitor(bool& monitorClipBoard, std::function<void(bool)> saveMonitorClipBoard,
                                   ClipCapture& capture)
    : monitorClipBoard_(monitorClipBoard), saveMonitorClipBoard_(std::move(saveMonitorClipBoard)), capture_(capture) {}

void ClipboardMonitor::join(HWND window) {
    window_ = window;
    if (monitorClipBoard_) joinChain();
}

void ClipboardMonitor::leave() {
    captureEnabled = false;
    if (monitorClipBoard_) leaveChain();
}

void ClipboardMonitor::startReconnectTimers() {
    SetTimer(window_, kReconnectOnceTimer, kReconnectOnceMs, nullptr);
    SetTimer(window_, kReconnectTimer, kReconnectMs, nullptr);
}

void ClipboardMonitor::joinChain() {
    // Joining sends a notice at once; with capture lowered it is ignored and not forwarded.
    nextViewer = SetClipboardViewer(window_);
}

void ClipboardMonitor::leaveChain() {
    ChangeClipboardChain(window_, nextViewer);
    nextViewer = nullptr;
}

void ClipboardMonitor::onDrawClipboard() {
    if (!captureEnabled) return;
    if (!debounce_.admit(GetTickCount())) return;
    captureEnabled = false;
    const DWORD readAt = capture_.captureClipboard();
    if (nextViewer && IsWindow(nextViewer)) PostMessageA(nextViewer, WM_DRAWCLIPBOARD, 0, 0);
    captureEnabled = true;
    // Measured from when the content was read, not from the end of storing it: a notice that
    // waited in the queue while a large clip was stored is a later copy, not part of a burst.
    debounce_.processed(readAt);
}

void ClipboardMonitor::onChangeCbChain(HWND removed, HWND following) {
    if (nextViewer == removed) {
        nextViewer = following;
    } else if (nextViewer && IsWindow(nextViewer)) {
        PostMessageA(nextViewer, WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(removed),
                     reinterpret_cast<LPARAM>(following));
    }
}

void ClipboardMonitor::reconnectToClipboard() {
    if (!monitorClipBoard_) return;
    captureEnabled = false;
    leaveChain();
    joinChain();
    captureEnabled = true;
}

void ClipboardMonitor::toggleMonitorClipboard() {
    monitorClipBoard_ = !monitorClipBoard_;
    saveMonitorClipBoard_(monitorClipBoard_);
    if (monitorClipBoard_) {
        captureEnabled = false;
        joinChain();
        captureEnabled = true;
    } else {
        leaveChain();
    }
}

bool ClipboardMonitor::OnTimer(UINT_PTR id) {
    if (id == kReconnectOnceTimer) {
        KillTimer(window_, kReconnectOnceTimer);
    } else if (id != kReconnectTimer) {
        return false;
    }
    reconnectToClipboard();
    return true;
}

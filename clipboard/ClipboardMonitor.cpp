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
    // Joining sends a notice at once; with capture lowered its content counts as dealt with.
    const bool wasEnabled = captureEnabled;
    captureEnabled = false;
    nextViewer = SetClipboardViewer(window_);
    changes_.dealtWith(GetClipboardSequenceNumber());
    captureEnabled = wasEnabled;
}

void ClipboardMonitor::leaveChain() {
    ChangeClipboardChain(window_, nextViewer);
    nextViewer = nullptr;
}

void ClipboardMonitor::forwardNotice() const {
    if (nextViewer && IsWindow(nextViewer)) PostMessageA(nextViewer, WM_DRAWCLIPBOARD, 0, 0);
}

void ClipboardMonitor::onDrawClipboard() {
    forwardNotice();
    if (changes_.onNotice(GetClipboardSequenceNumber(), captureEnabled) == ClipboardChanges::Notice::Capture)
        captureChanges();
}

void ClipboardMonitor::captureChanges() {
    changes_.captureStarted();
    bool changedAgain;
    do changedAgain = changes_.captureEnded(capture_.captureClipboard(changes_), GetClipboardSequenceNumber());
    while (changedAgain && captureEnabled);
    changes_.captureStopped();
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
    // What was on the clipboard before is not captured; a copy made while the window was out
    // of the chain is, since no notice will tell of it.
    const DWORD before = GetClipboardSequenceNumber();
    leaveChain();
    joinChain();
    if (GetClipboardSequenceNumber() == before || !captureEnabled) return;
    changes_.dealtWith(before);
    captureChanges();
}

void ClipboardMonitor::toggleMonitorClipboard() {
    monitorClipBoard_ = !monitorClipBoard_;
    saveMonitorClipBoard_(monitorClipBoard_);
    if (monitorClipBoard_) {
        joinChain();
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

#include "clipboard/ClipboardMonitor.h"

#include "clipboard/ClipCapture.h"
#include "clipboard/ClipboardState.h"

ClipboardMonitor::ClipboardMonitor(bool& monitorClipBoard, std::function<void(bool)> saveMonitorClipBoard,
                                   ClipCapture& capture)
    : monitorClipBoard_(monitorClipBoard), saveMonitorClipBoard_(std::move(saveMonitorClipBoard)), capture_(capture) {}

void ClipboardMonitor::join(HWND window) {
    window_ = window;
    if (monitorClipBoard_) startMonitoring();
}

void ClipboardMonitor::leave() {
    captureEnabled = false;
    if (monitorClipBoard_) stopMonitoring();
}

void ClipboardMonitor::startReconnectTimers() {
    SetTimer(window_, kReconnectOnceTimer, kReconnectOnceMs, nullptr);
    SetTimer(window_, kReconnectTimer, kReconnectMs, nullptr);
}

void ClipboardMonitor::startMonitoring() {
    changes_.dealtWith(GetClipboardSequenceNumber());
    joinChain();
    reader_.start(window_);
}

void ClipboardMonitor::stopMonitoring() {
    reader_.stop();
    leaveChain();
    onClipsRead();
}

void ClipboardMonitor::joinChain() {
    // Joining sends a notice at once. It starts nothing: the reader reads changes, and the
    // content present when monitoring starts is marked dealt with beforehand.
    nextViewer = SetClipboardViewer(window_);
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
    if (!captureEnabled) changes_.dealtWith(GetClipboardSequenceNumber());
}

void ClipboardMonitor::onClipsRead() {
    for (CapturedClip& clip : reader_.takeClips()) capture_.store(std::move(clip));
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
    // The reader keeps listening meanwhile: a copy made while the window is out of the chain
    // is read as any other.
    leaveChain();
    joinChain();
}

void ClipboardMonitor::toggleMonitorClipboard() {
    monitorClipBoard_ = !monitorClipBoard_;
    saveMonitorClipBoard_(monitorClipBoard_);
    if (monitorClipBoard_) {
        startMonitoring();
    } else {
        stopMonitoring();
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

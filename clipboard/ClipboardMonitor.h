#pragma once
#include <windows.h>

#include <functional>

#include "clipboard/ClipboardChanges.h"

class ClipCapture;

// Keeps the main window in the clipboard-viewer chain and decides which change notices start
// a capture. Every notice is passed on to the next viewer. Joining, reconnecting and the
// program's own writes lower captureEnabled, so the changes they cause are not captured.
class ClipboardMonitor {
public:
    static constexpr UINT_PTR kReconnectOnceTimer = 20;
    static constexpr UINT kReconnectOnceMs = 181000;
    static constexpr UINT_PTR kReconnectTimer = 21;
    static constexpr UINT kReconnectMs = 1201000;

    // saveMonitorClipBoard writes the setting at once each time the command toggles it.
    ClipboardMonitor(bool& monitorClipBoard, std::function<void(bool)> saveMonitorClipBoard, ClipCapture& capture);

    // Joins the chain when monitoring is on; the content present now is not captured.
    void join(HWND window);
    void leave();
    void startReconnectTimers();

    void onDrawClipboard();
    void onChangeCbChain(HWND removed, HWND following);
    void reconnectToClipboard();
    void toggleMonitorClipboard();
    // Timers 20 and 21; false for any other timer.
    bool OnTimer(UINT_PTR id);

private:
    void joinChain();
    void leaveChain();
    void forwardNotice() const;
    // Captures the current content, and again for as long as it changed during the capture.
    void captureChanges();

    bool& monitorClipBoard_;
    std::function<void(bool)> saveMonitorClipBoard_;
    ClipCapture& capture_;
    HWND window_ = nullptr;
    HWND nextViewer = nullptr;
    ClipboardChanges changes_;
};

#pragma once
#include <windows.h>

#include <functional>

#include "clipboard/ClipboardChanges.h"
#include "clipboard/ClipboardReader.h"

class ClipCapture;

// Keeps the main window in the clipboard-viewer chain, passing every notice on to the next
// viewer, and has the clipboard reader read each change while monitoring is on. The program's
// own writes mark what they leave dealt with (OwnClipboardWrite), so the reader leaves it alone;
// a notice that reaches the window while captureEnabled is lowered marks it too.
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
    // Stops capturing; clips read already are stored.
    void leave();
    void startReconnectTimers();

    void onDrawClipboard();
    void onChangeCbChain(HWND removed, HWND following);
    // The reader has clips ready: store them.
    void onClipsRead();
    void reconnectToClipboard();
    void toggleMonitorClipboard();
    // Timers 20 and 21; false for any other timer.
    bool OnTimer(UINT_PTR id);
    // Marked by the program's own writes.
    ClipboardChanges& changes() { return changes_; }

private:
    void startMonitoring();
    void stopMonitoring();
    void joinChain();
    void leaveChain();
    void forwardNotice() const;

    bool& monitorClipBoard_;
    std::function<void(bool)> saveMonitorClipBoard_;
    ClipCapture& capture_;
    HWND window_ = nullptr;
    HWND nextViewer = nullptr;
    ClipboardChanges changes_;
    ClipboardReader reader_{capture_, changes_};
};

#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "clipboard/CaptureQueue.h"
#include "store/ClipRecord.h"

class ClipboardChanges;

// The settings a capture reads, owned by the main window and read at each capture, so that
// a change on the options pages counts from the next copy on.
struct CaptureSettings {
    const bool& CaptureImage;
    const std::string& ExceptApp;  // upper case
};

// Turns the current clipboard content into one history item, unless it repeats the newest
// item or comes from an excluded application. Run by the monitor, one capture at a time.
class ClipCapture {
public:
    // recordStored runs after records went into the history (and after a failed insert), so
    // that the window can show the history as it now is.
    ClipCapture(CaptureSettings settings, std::function<void()> recordStored, ReportError report, int& lastId);
    void attach(HWND window) { queue_.attach(window); }
    // Returns the clipboard sequence number of the content it read, or of the content it
    // left alone (unwanted formats, a busy clipboard, a secret, the program's own write).
    DWORD captureClipboard(const ClipboardChanges& changes);
    // Captured items waiting for a locked history file.
    CaptureQueue& queue() { return queue_; }

private:
    struct ClipboardCopy;
    bool contentWanted() const;
    bool pngOffered() const;
    void copyClipboard(ClipboardCopy& copy) const;
    void copyText(ClipboardCopy& copy) const;
    // Absent when nothing of the content could be read.
    std::optional<ClipRecord> recordOf(ClipboardCopy& copy) const;

    const CaptureSettings settings_;
    const UINT pngFormat_;
    CaptureQueue queue_;
};

#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "clipboard/CaptureQueue.h"
#include "store/ClipRecord.h"

class ClipboardChanges;
struct Settings;
class ItemList;

// Turns the current clipboard content into one history item, unless it repeats the newest
// item or comes from an excluded application. Run by the monitor, one capture at a time.
class ClipCapture {
public:
    ClipCapture(const Settings& settings, ItemList& itemList, int& lastId);
    void attach(HWND window) { queue_.attach(window); }
    // Returns the clipboard sequence number of the content it read, or of the content it
    // left alone (unwanted formats, a busy clipboard, a secret, the program's own write).
    DWORD captureClipboard(const ClipboardChanges& changes);
    // Captured items waiting for a locked history file.
    CaptureQueue& queue() { return queue_; }

private:
    struct ClipboardCopy;
    bool contentWanted() const;
    void copyClipboard(ClipboardCopy& copy) const;
    void copyText(ClipboardCopy& copy) const;
    // Absent when nothing of the content could be read.
    std::optional<ClipRecord> recordOf(ClipboardCopy& copy) const;

    const Settings& settings_;
    CaptureQueue queue_;
};

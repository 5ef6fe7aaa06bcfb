#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
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

// One clipboard content read into a history item, on its way to the history.
struct CapturedClip {
    ClipRecord record;
    std::int64_t openedAt;  // performance-counter ticks when the clipboard was opened
};

// Turns clipboard content into history items, unless it repeats the newest item or comes from
// an excluded application. Reading runs in the clipboard reader's thread; storing runs in the
// main window's thread, which owns the settings and the history.
class ClipCapture {
public:
    // recordStored runs after records went into the history (and after a failed insert), so
    // that the window can show the history as it now is.
    ClipCapture(CaptureSettings settings, std::function<void()> recordStored, ReportError report, int& lastId);
    void attach(HWND window) { queue_.attach(window); }
    // Hands the reader's thread the settings it reads; run whenever they may have changed.
    void settingsChanged() { captureImage_ = settings_.CaptureImage; }

    // The reader's thread: after the compatibility delay, reads the current content. Its sequence
    // number is then dealt with, whether it was read or left alone (unwanted formats, a busy
    // clipboard, a secret, the program's own write, capture lowered); only a read gives a clip.
    std::optional<CapturedClip> readClipboard(ClipboardChanges& changes) const;
    // The window's thread: writes the clip into the history, or keeps it waiting for the file.
    void store(CapturedClip clip);
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
    std::atomic<bool> captureImage_;
    const UINT pngFormat_;
    CaptureQueue queue_;
};

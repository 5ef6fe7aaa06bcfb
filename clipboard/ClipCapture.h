#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "clipboard/DuplicateCheck.h"

// The settings a capture reads, owned by the main window and read at each capture, so that
// a change on the options pages counts from the next copy on.
struct CaptureSettings {
    const bool& CaptureImage;
    const std::string& ExceptApp;  // upper case
};

// Turns the current clipboard content into one history item, unless it repeats the newest
// item or comes from an excluded application. Run by the monitor with captureEnabled lowered.
class ClipCapture {
public:
    // recordStored runs after each stored record (and after a failed insert), so that the
    // window can show the history as it now is.
    ClipCapture(CaptureSettings settings, std::function<void()> recordStored, int& lastId);
    // Returns the tick at which the clipboard content had been read (or the capture gave up).
    DWORD captureClipboard();

private:
    struct ClipboardCopy;
    struct Capture;
    bool contentWanted() const;
    void copyClipboard(ClipboardCopy& copy) const;
    void copyText(ClipboardCopy& copy) const;
    void buildCapture(ClipboardCopy& copy, Capture& capture) const;
    bool isDuplicate(const Capture& capture) const;
    void insert(Capture& capture);

    const CaptureSettings settings_;
    std::function<void()> recordStored_;
    int& lastId_;
    DuplicateCheck duplicates_;
};

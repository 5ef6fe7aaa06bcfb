#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "clipboard/DuplicateCheck.h"

struct Settings;
class ItemList;

// Turns the current clipboard content into one history item, unless it repeats the newest
// item or comes from an excluded application. Run by the monitor with captureEnabled lowered.
class ClipCapture {
public:
    ClipCapture(const Settings& settings, ItemList& itemList, int& lastId);
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

    const Settings& settings_;
    ItemList& itemList_;
    int& lastId_;
    DuplicateCheck duplicates_;
};

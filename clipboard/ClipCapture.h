#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "clipboard/DuplicateCheck.h"

class ClipboardChanges;
struct Settings;
class ItemList;

// Turns the current clipboard content into one history item, unless it repeats the newest
// item or comes from an excluded application. Run by the monitor, one capture at a time.
class ClipCapture {
public:
    ClipCapture(const Settings& settings, ItemList& itemList, int& lastId);
    // Returns the clipboard sequence number of the content it read, or of the content it
    // left alone (unwanted formats, a busy clipboard, a secret, the program's own write).
    DWORD captureClipboard(const ClipboardChanges& changes);

private:
    struct ClipboardCopy;
    struct Capture;
    bool contentWanted() const;
    void copyClipboard(ClipboardCopy& copy) const;
    void copyText(ClipboardCopy& copy) const;
    // False when nothing of the content could be read.
    bool buildCapture(ClipboardCopy& copy, Capture& capture) const;
    bool isDuplicate(const Capture& capture) const;
    void insert(Capture& capture);

    const Settings& settings_;
    ItemList& itemList_;
    int& lastId_;
    DuplicateCheck duplicates_;
};

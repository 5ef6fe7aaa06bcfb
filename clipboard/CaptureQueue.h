#pragma once
#include <windows.h>

#include <deque>
#include <functional>
#include <optional>

#include "clipboard/DuplicateCheck.h"
#include "clipboard/ErrorReport.h"
#include "store/ClipRecord.h"
#include "store/History.h"

class SqlException;

// Captured items on their way into the history, in the order they were copied. While another
// program holds the history file, items wait here and a timer tries again, so a locked file
// neither loses a copy nor stops the window from answering.
class CaptureQueue {
public:
    static constexpr UINT_PTR kRetryTimer = 22;
    static constexpr UINT kRetryMs = 500;
    // The user hears of a file that stays locked this long, once; the items keep waiting.
    static constexpr DWORD kTellAfterMs = 60000;

    // `written` runs after items went into the history (or failed for good, with a message).
    CaptureQueue(int& lastId, std::function<void()> written, ReportError report);
    void attach(HWND window) { window_ = window; }

    // Writes the record unless it repeats the newest item; a busy file keeps it waiting.
    void add(ClipRecord record);
    // The retry timer; false for any other timer.
    bool OnTimer(UINT_PTR id);
    // At exit, with the long lock wait: every waiting item gets one last attempt.
    void writeBeforeExit();

private:
    // As copied until it is checked against the newest item and given its id; encoded from then on.
    struct Item {
        ClipRecord record;
        std::optional<history::StoredRow> row;
    };
    enum class Outcome {
        Inserted,  // or the insert failed for good: either way the list shows the history anew
        Dropped,   // a repeat of the newest item, or the check could not read it
        Waiting,   // the file is locked
    };
    void writeWaiting();
    Outcome write(Item& item);
    void waitForFile(const SqlException& failure);
    void fileFreed();

    int& lastId_;
    std::function<void()> written_;
    ReportError report_;
    HWND window_ = nullptr;
    std::deque<Item> waiting_;
    DuplicateCheck duplicates_;
    bool writing_ = false;
    bool exiting_ = false;
    std::optional<DWORD> busySince_;
    bool told_ = false;
};

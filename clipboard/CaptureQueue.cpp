#include "clipboard/CaptureQueue.h"

#include <utility>

#include "store/History.h"
#include "store/SqlException.h"

CaptureQueue::CaptureQueue(int& lastId, std::function<void()> written, ReportError report)
    : lastId_(lastId), written_(std::move(written)), report_(std::move(report)) {}

void CaptureQueue::add(ClipRecord record) {
    waiting_.push_back({std::move(record), std::nullopt});
    writeWaiting();
}

bool CaptureQueue::OnTimer(UINT_PTR id) {
    if (id != kRetryTimer) return false;
    writeWaiting();
    return true;
}

void CaptureQueue::writeBeforeExit() {
    if (waiting_.empty()) return;
    exiting_ = true;
    writeWaiting();
    exiting_ = false;
}

void CaptureQueue::writeWaiting() {
    // A message box shown here runs a message loop, in which the timer comes again.
    if (writing_) return;
    writing_ = true;
    bool inserted = false;
    while (!waiting_.empty()) {
        const Outcome outcome = write(waiting_.front());
        if (outcome == Outcome::Waiting) break;
        inserted = inserted || outcome == Outcome::Inserted;
        waiting_.pop_front();
    }
    if (waiting_.empty()) fileFreed();
    writing_ = false;
    if (inserted && written_) written_();
}

CaptureQueue::Outcome CaptureQueue::write(Item& item) {
    try {
        if (!item.row) {
            if (duplicates_.isDuplicate(item.record)) return Outcome::Dropped;
            // A failed insert still uses its id up; waiting for the file does not.
            item.record.Id = history::claimNextId();
            lastId_ = item.record.Id;
            duplicates_.remember(item.record);
            item.row = history::storedRow(std::move(item.record));
        }
        history::add(*item.row);
    } catch (const SqlException& failure) {
        if (history::isBusy(failure) && !exiting_) {
            waitForFile(failure);
            return Outcome::Waiting;
        }
        report_(failure.message());
        return item.row ? Outcome::Inserted : Outcome::Dropped;
    }
    return Outcome::Inserted;
}

void CaptureQueue::waitForFile(const SqlException& failure) {
    if (!busySince_) {
        busySince_ = GetTickCount();
        SetTimer(window_, kRetryTimer, kRetryMs, nullptr);
    }
    if (!told_ && GetTickCount() - *busySince_ >= kTellAfterMs) {
        told_ = true;
        report_(failure.message());
    }
}

void CaptureQueue::fileFreed() {
    if (busySince_) KillTimer(window_, kRetryTimer);
    busySince_.reset();
    told_ = false;
}

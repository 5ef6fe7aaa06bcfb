#pragma once
#include <optional>
#include <string>

// What the duplicate check compares of one capture: everything in stored form.
struct CaptureKey {
    std::string caption;                  // stored caption (the empty text when there is none)
    int type = 0;
    int dataSize = 0;                     // dataSizeFor the Data block, 0 without one
    const std::string* textBlock = nullptr;  // stored CF_TEXT block, if any
    const std::string* dataBlock = nullptr;  // stored Data block, if any
};

// The last item whose insert was attempted in this run. Before the first one, only the
// newest stored row can tell a repeat, so a copy of what was newest at the last exit is known.
class DuplicateCheck {
public:
    // True when the capture repeats the newest item. Reads the newest history row only when
    // size and caption cannot tell; throws SqlException when that read fails.
    bool isDuplicate(const CaptureKey& key) const;
    void remember(const CaptureKey& key);

private:
    std::string lastCaption_;
    int lastDataSize_ = -1;
};

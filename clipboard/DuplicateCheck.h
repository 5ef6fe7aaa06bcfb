#pragma once
#include <optional>
#include <string>

#include "store/ClipRecord.h"

// The last item whose insert was attempted in this run. Before the first one, only the
// newest stored row can tell a repeat, so a copy of what was newest at the last exit is known.
// While that item is still the newest, a fingerprint of its blocks tells a repeat without
// reading a large block back from the file.
class DuplicateCheck {
public:
    // True when the record repeats the newest item. Reads the newest history row only when
    // size, caption and fingerprint cannot tell; throws SqlException when a read fails.
    bool isDuplicate(const ClipRecord& record) const;
    // The record, with the id its insert is attempted under.
    void remember(const ClipRecord& record);

private:
    bool repeatsNewestRow(const ClipRecord& record) const;

    std::optional<std::string> lastCaption_;
    int lastDataSize_ = -1;
    std::optional<int> lastId_;
    std::size_t lastFingerprint_ = 0;
};

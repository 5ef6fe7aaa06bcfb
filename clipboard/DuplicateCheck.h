#pragma once
#include <optional>
#include <string>

#include "store/ClipRecord.h"

// The last item whose insert was attempted in this run. Before the first one, only the
// newest stored row can tell a repeat, so a copy of what was newest at the last exit is known.
class DuplicateCheck {
public:
    // True when the record repeats the newest item. Reads the newest history row only when
    // size and caption cannot tell; throws SqlException when that read fails.
    bool isDuplicate(const ClipRecord& record) const;
    void remember(const ClipRecord& record);

private:
    std::optional<std::string> lastCaption_;
    int lastDataSize_ = -1;
};

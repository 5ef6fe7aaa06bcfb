#include "clipboard/DuplicateCheck.h"

#include "store/History.h"

bool DuplicateCheck::isDuplicate(const CaptureKey& key) const {
    if (lastDataSize_ != -1 && lastDataSize_ != key.dataSize) return false;
    if (!lastCaption_.empty() && lastCaption_ != key.caption) return false;
    const std::optional<history::NewestRow> newest = history::newest();
    if (!newest) return false;
    if (newest->type != key.type) return false;
    if (key.dataBlock) return *key.dataBlock == newest->storedData;
    if (key.textBlock) return *key.textBlock == newest->storedText;
    return true;
}

void DuplicateCheck::remember(const CaptureKey& key) {
    lastCaption_ = key.caption;
    lastDataSize_ = key.dataSize;
}

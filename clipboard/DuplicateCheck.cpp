#include "clipboard/DuplicateCheck.h"

#include "clipboard/Caption.h"
#include "store/History.h"

#include <functional>
#include <string_view>

namespace {
int dataSizeOf(const ClipRecord& record) { return record.Data ? dataSizeFor(record.Data->size()) : 0; }

// What the check compares of a record besides its type, in one number.
std::size_t fingerprintOf(const ClipRecord& record) {
    const std::hash<std::string_view> hash;
    const std::size_t text = record.Text ? hash(*record.Text) : 0;
    const std::size_t data = record.Data ? hash(*record.Data) : 1;
    return text ^ (data * 0x9E3779B97F4A7C15ull) ^ static_cast<std::size_t>(record.Type);
}
}  // namespace

bool DuplicateCheck::isDuplicate(const ClipRecord& record) const {
    if (lastDataSize_ != -1 && lastDataSize_ != dataSizeOf(record)) return false;
    if (lastCaption_ && lastCaption_ != record.Name) return false;
    if (lastId_ && history::newestId() == lastId_) return fingerprintOf(record) == lastFingerprint_;
    return repeatsNewestRow(record);
}

bool DuplicateCheck::repeatsNewestRow(const ClipRecord& record) const {
    const std::optional<history::NewestRow> newest = history::newest();
    if (!newest) return false;
    if (newest->type != record.Type) return false;
    if (record.Data) return newest->data == record.Data;
    if (record.Text) return newest->text == record.Text;
    return true;
}

void DuplicateCheck::remember(const ClipRecord& record) {
    lastCaption_ = record.Name;
    lastDataSize_ = dataSizeOf(record);
    lastId_ = record.Id;
    lastFingerprint_ = fingerprintOf(record);
}

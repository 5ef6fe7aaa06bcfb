#include "clipboard/DuplicateCheck.h"

#include "clipboard/Caption.h"
#include "store/History.h"

namespace {
int dataSizeOf(const ClipRecord& record) { return record.Data ? dataSizeFor(record.Data->size()) : 0; }
}  // namespace

bool DuplicateCheck::isDuplicate(const ClipRecord& record) const {
    if (lastDataSize_ != -1 && lastDataSize_ != dataSizeOf(record)) return false;
    if (lastCaption_ && lastCaption_ != record.Name) return false;
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
}

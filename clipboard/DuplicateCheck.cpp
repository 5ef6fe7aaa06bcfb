#include "clipboard/DuplicateCheck.h"

#include "store/HistorySql.h"
#include "store/SqlDatabase.h"

namespace {
bool sameAsColumn(const std::string& block, const SqlCursor& row, const char* column) {
    return block == row.stringValue(column, "");
}
}  // namespace

bool DuplicateCheck::isDuplicate(SqlDatabase& db, const CaptureKey& key) const {
    if (lastDataSize_ != -1 && lastDataSize_ != key.dataSize) return false;
    if (!lastCaption_.empty() && lastCaption_ != key.caption) return false;
    SqlCursor newest = db.query(sql::kSelectNewest);
    if (newest.atEnd()) return false;
    if (newest.intValue(sql::column::kType, 0) != key.type) return false;
    if (key.dataBlock) return sameAsColumn(*key.dataBlock, newest, sql::column::kData);
    if (key.textBlock) return sameAsColumn(*key.textBlock, newest, sql::column::kText);
    return true;
}

void DuplicateCheck::remember(const CaptureKey& key) {
    lastCaption_ = key.caption;
    lastDataSize_ = key.dataSize;
}

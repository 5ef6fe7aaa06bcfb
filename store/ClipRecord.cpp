#include "store/ClipRecord.h"

#include "store/HistorySql.h"
#include "store/StoredValue.h"

std::string insertStatement(const ClipRecord& record) {
    return sql::insertRow(record.Id, record.DTime, storedCaption(record.Name), storedText(record.SourceName),
                          storedText(record.SourceTitle), storedBlock(record.Locale), storedBlock(record.Text),
                          record.Type, storedBlock(record.Data));
}

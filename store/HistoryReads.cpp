// The history's reads: each runs one catalogue statement and decodes what its caller needs.
#include "store/History.h"

#include "store/HistoryDatabase.h"
#include "store/HistorySql.h"
#include "store/HistoryText.h"
#include "store/StoredValue.h"

#include <cstdlib>

namespace history {

namespace {
namespace column = sql::column;

std::optional<std::string> block(const SqlCursor& row, const char* name) {
    return readStoredBlock(row.stringValue(name, nullptr));
}

// Id, Name and Type rows as the query gave them.
std::vector<ListEntry> listEntries(const std::string& statement) {
    SqlResultTable rows = historyDb.queryTable(statement.c_str());
    std::vector<ListEntry> entries;
    entries.reserve(static_cast<std::size_t>(rows.rowCount()));
    for (int index = 0; index < rows.rowCount(); ++index) {
        rows.selectRow(index);
        entries.push_back({rows.intValue(column::kId, kNoRecord), readStoredText(rows.stringValue(column::kName, "")),
                           rows.intValue(column::kType, PlainText), std::nullopt});
    }
    std::vector<int> ids;
    ids.reserve(entries.size());
    for (const ListEntry& entry : entries) ids.push_back(entry.id);
    std::vector<std::optional<std::string>> captions = text::captions(ids);
    for (std::size_t i = 0; i < entries.size(); ++i) entries[i].unicodeCaption = std::move(captions[i]);
    return entries;
}
}  // namespace

std::vector<ListEntry> page(int offset, int count) { return listEntries(sql::selectPage(offset, count)); }

std::vector<ListEntry> recent(int count) { return listEntries(sql::selectRecent(count)); }

int count() { return historyDb.queryInt(sql::kCountRows); }

std::optional<ClipBlocks> clipBlocks(int id) {
    SqlCursor row = historyDb.query(sql::selectClipBlocks(id).c_str());
    if (row.atEnd()) return std::nullopt;
    ClipBlocks blocks;
    blocks.type = row.intValue(column::kType, PlainText);
    blocks.text = block(row, column::kText);
    blocks.locale = block(row, column::kLocale);
    if (blocks.type != PlainText) blocks.data = block(row, column::kData);
    return blocks;
}

std::optional<PreviewFields> preview(int id) {
    SqlCursor row = historyDb.query(sql::selectPreview(id).c_str());
    if (row.atEnd()) return std::nullopt;
    PreviewFields fields;
    fields.sourceName = block(row, column::kSourceName);
    fields.sourceTitle = block(row, column::kSourceTitle);
    // An unsigned 32-bit count of seconds, which atoi would not read beyond 2038.
    fields.dtime = static_cast<std::uint32_t>(std::strtoull(row.stringValue(column::kDTime, "0"), nullptr, 10));
    fields.id = row.intValue(column::kId, 0);
    fields.type = row.intValue(column::kType, PlainText);
    fields.text = block(row, column::kText);
    fields.data = block(row, column::kData);
    row.release();
    fields.unicode = text::item(id);
    return fields;
}

std::optional<Neighbour> neighbour(int id, Direction direction) {
    SqlCursor row =
        historyDb.query((direction == Direction::Older ? sql::selectOlder(id) : sql::selectNewer(id)).c_str());
    if (row.atEnd()) return std::nullopt;
    Neighbour found;
    found.type = row.intValue(column::kType, PlainText);
    if (found.type == UnicodeText)
        found.data = block(row, column::kData);
    else
        found.text = readStoredText(row.stringValue(column::kText, nullptr));
    found.id = row.intValue(column::kId, 0);
    row.release();
    if (std::optional<ItemText> item = text::item(found.id)) found.unicodeText = std::move(item->text);
    return found;
}

std::optional<int> newestId() {
    SqlCursor row = historyDb.query(sql::kSelectMaxId);
    if (row.atEnd() || !row.columnText(0)) return std::nullopt;
    return std::atoi(row.columnText(0));
}

std::optional<NewestRow> newest() {
    SqlCursor row = historyDb.query(sql::kSelectNewest);
    if (row.atEnd()) return std::nullopt;
    return NewestRow{row.intValue(column::kType, 0), readStoredBlock(row.stringValue(column::kText, nullptr)),
                     readStoredBlock(row.stringValue(column::kData, nullptr))};
}

}  // namespace history

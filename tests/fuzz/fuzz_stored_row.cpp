// Any row in table Log (a damaged or hand-edited history file: NULLs, numbers, texts with zero
// bytes, blobs, broken stored forms) read back through every read of the history API: no read
// or write outside a buffer, no decoded value longer than its column, list and balloon texts
// within their limits, and stored forms that do hold a value give that value back byte for byte.
#include "clipboard/ClipLayout.h"
#include "clipboard/DuplicateCheck.h"
#include "clipboard/NeighbourBalloon.h"
#include "store/ClipRecord.h"
#include "store/History.h"
#include "store/HistoryDatabase.h"
#include "store/HistorySql.h"
#include "store/SqlException.h"
#include "store/StoredValue.h"
#include "ui/selection/PreviewText.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

// Table Log's columns, in order.
enum ColumnIndex { kId, kDTime, kName, kSourceName, kSourceTitle, kLocale, kText, kType, kData, kColumns };

// One column as the fuzzer makes it: its SQL literal and, when it is a true stored form, the
// bytes that it holds.
struct Column {
    std::string literal;
    std::optional<std::string> held;
};

std::string hexLiteral(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex = "X'";
    for (unsigned char byte : bytes) hex.append({digits[byte >> 4], digits[byte & 15]});
    return hex + "'";
}

Column makeColumn(FuzzedDataProvider& input) {
    switch (input.ConsumeIntegralInRange(0, 6)) {
    case 0: return {"NULL", std::nullopt};
    case 1: return {std::to_string(input.ConsumeIntegral<std::int64_t>()), std::nullopt};
    case 2: return {std::to_string(input.ConsumeFloatingPoint<double>()), std::nullopt};
    case 3: return {hexLiteral(input.ConsumeRandomLengthString(300)), std::nullopt};  // a blob
    case 4:  // a text, zero bytes and all
        return {"CAST(" + hexLiteral(input.ConsumeRandomLengthString(300)) + " AS TEXT)", std::nullopt};
    case 5: return {"'(null)'", std::nullopt};
    default: {
        std::string bytes = input.ConsumeRandomLengthString(3000);
        return {"CAST(" + hexLiteral(storedForm(bytes.data(), bytes.size())) + " AS TEXT)", bytes};
    }
    }
}

void require(bool condition) {
    if (!condition) std::abort();
}

const char* const kColumnNames[kColumns] = {"Id",     "DTime", "Name", "SourceName", "SourceTitle",
                                            "Locale", "Text",  "Type", "Data"};

// The column's text as it lies in the row; "" for NULL.
std::string rawColumn(ColumnIndex column) {
    SqlCursor row = historyDb.query(("SELECT " + std::string(kColumnNames[column]) + " FROM Log;").c_str());
    const char* text = row.stringValue(kColumnNames[column], "");
    return text ? text : "";
}

// A block as a reader got it: never longer than its column's text, and equal to what a true
// stored form holds.
const std::optional<std::string>& checkedBlock(const std::optional<std::string>& block, ColumnIndex column,
                                               const std::array<Column, kColumns>& columns) {
    if (block) require(block->size() <= rawColumn(column).size());
    if (columns[column].held) require(block == columns[column].held);
    return block;
}

const std::string& checkedText(const std::string& decoded, ColumnIndex column,
                               const std::array<Column, kColumns>& columns) {
    require(decoded.find('\0') == std::string::npos);
    const std::optional<std::string>& held = columns[column].held;
    if (held) require(decoded == held->substr(0, held->find('\0')));
    return decoded;
}

// Stand-in for the platform's UTF-16 to ANSI conversion: one byte per unit.
std::string toNarrow(std::u16string_view text) {
    std::string narrow;
    for (char16_t unit : text) narrow.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
    return narrow;
}

// The selection list and the tray menu: id, caption, icon by type.
int readLists(const std::array<Column, kColumns>& columns) {
    const std::vector<history::ListEntry> page = history::page(0, 50);
    require(page.size() == 1);
    require(history::recent(15).size() == 1);
    checkedText(page[0].caption, kName, columns);
    require(clipLayoutFor(page[0].type).empty() != isKnownItemType(page[0].type));
    return page[0].id;
}

// The preview tooltip of the selected item.
void readPreview(int id, const std::array<Column, kColumns>& columns) {
    std::optional<history::PreviewFields> stored = history::preview(id);
    if (!stored) return;  // an Id that atoi reads as another number
    preview::RecordFields fields;
    fields.sourceName = checkedBlock(stored->sourceName, kSourceName, columns);
    fields.sourceTitle = checkedBlock(stored->sourceTitle, kSourceTitle, columns);
    fields.captureTime = std::to_string(stored->dtime);
    fields.id = stored->id;
    fields.type = stored->type;
    fields.text = checkedBlock(stored->text, kText, columns);
    fields.data = checkedBlock(stored->data, kData, columns);
    const std::string text = preview::truncated(preview::previewText(fields, toNarrow));
    require(text.size() <= preview::kMaxLength + std::strlen(preview::kTruncatedNote));
}

// Paste: the blocks of the record as the clipboard receives them.
void readClipBlocks(int id, const std::array<Column, kColumns>& columns) {
    std::optional<history::ClipBlocks> blocks = history::clipBlocks(id);
    if (!blocks) return;
    checkedBlock(blocks->text, kText, columns);
    checkedBlock(blocks->locale, kLocale, columns);
    if (blocks->type != PlainText) checkedBlock(blocks->data, kData, columns);
}

// The next/previous step and its balloon.
void readNeighbour(int id, const std::array<Column, kColumns>& columns) {
    if (id == INT32_MAX) return;
    std::optional<history::Neighbour> found = history::neighbour(id + 1, history::Direction::Older);
    if (!found) return;
    std::string body;
    if (found->type == UnicodeText) {
        const std::optional<std::string>& data = checkedBlock(found->data, kData, columns);
        if (data) body = toNarrow(preview::utf16UntilZero(*data));
    } else {
        body = checkedText(found->text, kText, columns);
    }
    require(neighbourBalloonText(found->type, body).size() <= 1000 + std::strlen("\n ...[text is truncated]"));
}

// The duplicate check of a capture against this row as the newest one: a capture of the same
// type whose Data block is the one the row holds is a repeat.
void checkDuplicate(const std::array<Column, kColumns>& columns, FuzzedDataProvider& input) {
    const bool sameType = input.ConsumeBool();
    ClipRecord capture;
    capture.Type = sameType ? historyDb.query("SELECT Type FROM Log;").intValue("Type", 0) : input.ConsumeIntegral<int>();
    const std::optional<std::string>& held = columns[kData].held;
    capture.Data = held ? *held : input.ConsumeRandomLengthString(64);
    const bool duplicate = DuplicateCheck().isDuplicate(capture);
    if (sameType && held) require(duplicate);
}

SqlDatabase& database() {
    static const bool opened = [] {
        historyDb.open(":memory:");
        historyDb.execute(sql::kCreateLogTable);
        return true;
    }();
    (void)opened;
    return historyDb;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    std::array<Column, kColumns> columns;
    std::string values;
    for (std::size_t i = 0; i < kColumns; ++i) {
        columns[i] = makeColumn(input);
        values += (i ? "," : "") + columns[i].literal;
    }
    SqlDatabase& db = database();
    db.execute(sql::kDeleteAll);
    try {
        db.execute(("INSERT INTO Log VALUES (" + values + ");").c_str());
    } catch (const SqlException&) {
        return 0;  // a value SQLite itself refuses (a text Id that collides, say): no row to read
    }
    try {
        const int id = readLists(columns);
        readPreview(id, columns);
        readClipBlocks(id, columns);
        readNeighbour(id, columns);
        checkDuplicate(columns, input);
    } catch (const SqlException&) {
        // The readers report database failures as exceptions and the program shows them; on a
        // single in-memory row none is expected.
        std::abort();
    }
    return 0;
}

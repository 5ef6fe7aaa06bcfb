// Any row in table Log (a damaged or hand-edited history file: NULLs, numbers, texts with zero
// bytes, blobs, broken stored forms) read back by every reader of rows, through the real SQL
// layer and statements: no read or write outside a buffer, no decoded value longer than its
// column, list and balloon texts within their limits, and stored forms that do hold a value
// give that value back byte for byte.
#include "clipboard/ClipLayout.h"
#include "clipboard/DuplicateCheck.h"
#include "clipboard/NeighbourBalloon.h"
#include "store/ClipRecord.h"
#include "store/HistorySql.h"
#include "store/SqlDatabase.h"
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

// A column's text as the readers get it: decoded, never longer than the text, and equal to
// what a true stored form holds.
std::optional<std::string> checkedBlock(const char* text, const std::optional<std::string>& held) {
    std::optional<std::string> block = readStoredBlock(text);
    if (block) require(block->size() <= std::strlen(text));
    if (held) require(block == held);
    return block;
}

std::string checkedText(const char* text, const std::optional<std::string>& held) {
    std::string decoded = readStoredText(text);
    require(decoded.find('\0') == std::string::npos);
    if (held) require(decoded == held->substr(0, held->find('\0')));
    return decoded;
}

// Stand-in for the platform's UTF-16 to ANSI conversion: one byte per unit.
std::string toNarrow(std::u16string_view text) {
    std::string narrow;
    for (char16_t unit : text) narrow.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
    return narrow;
}

// The selection list: id, caption, icon by type.
int readPage(SqlDatabase& db, const std::array<Column, kColumns>& columns) {
    SqlResultTable page = db.queryTable(sql::selectPage(0, 50).c_str());
    require(page.rowCount() == 1);
    page.selectRow(0);
    checkedText(page.stringValue(sql::column::kName, ""), columns[kName].held);
    const int type = page.intValue(sql::column::kType, PlainText);
    require(clipLayoutFor(type).empty() != isKnownItemType(type));
    return page.intValue(sql::column::kId, -1);
}

// The preview tooltip of the selected item.
void readPreview(SqlDatabase& db, int id, const std::array<Column, kColumns>& columns) {
    SqlCursor row = db.query(sql::selectPreview(id).c_str());
    if (row.atEnd()) return;  // an Id that atoi reads as another number
    preview::RecordFields fields;
    fields.sourceName = checkedBlock(row.stringValue(sql::column::kSourceName, nullptr), columns[kSourceName].held);
    fields.sourceTitle = checkedBlock(row.stringValue(sql::column::kSourceTitle, nullptr), columns[kSourceTitle].held);
    fields.captureTime = std::to_string(std::strtoull(row.stringValue(sql::column::kDTime, "0"), nullptr, 10));
    fields.id = row.intValue(sql::column::kId, 0);
    fields.type = row.intValue(sql::column::kType, 0);
    fields.text = checkedBlock(row.stringValue(sql::column::kText, nullptr), columns[kText].held);
    fields.data = checkedBlock(row.stringValue(sql::column::kData, nullptr), columns[kData].held);
    const std::string text = preview::truncated(preview::previewText(fields, toNarrow));
    require(text.size() <= preview::kMaxLength + std::strlen(preview::kTruncatedNote));
}

// Paste: the blocks of the record as the clipboard receives them.
void readClipBlocks(SqlDatabase& db, int id, const std::array<Column, kColumns>& columns) {
    SqlCursor row = db.query(sql::selectClipBlocks(id).c_str());
    if (row.atEnd()) return;
    const int type = row.intValue(sql::column::kType, PlainText);
    checkedBlock(row.stringValue(sql::column::kText, nullptr), columns[kText].held);
    checkedBlock(row.stringValue(sql::column::kLocale, nullptr), columns[kLocale].held);
    if (type != PlainText) checkedBlock(row.stringValue(sql::column::kData, nullptr), columns[kData].held);
}

// The next/previous step and its balloon.
void readNeighbour(SqlDatabase& db, int id, const std::array<Column, kColumns>& columns) {
    if (id == INT32_MAX) return;
    SqlCursor row = db.query(sql::selectOlder(id + 1).c_str());
    if (row.atEnd()) return;
    const int type = row.intValue(sql::column::kType, PlainText);
    std::string body;
    if (type == UnicodeText) {
        std::optional<std::string> data = checkedBlock(row.stringValue(sql::column::kData, nullptr), columns[kData].held);
        if (data) body = toNarrow(preview::utf16UntilZero(*data));
    } else {
        body = checkedText(row.stringValue(sql::column::kText, nullptr), columns[kText].held);
    }
    require(neighbourBalloonText(type, body).size() <= 1000 + std::strlen("\n ...[text is truncated]"));
}

// The duplicate check of a capture against this row as the newest one: a capture of the same
// type whose Data block is the one the row holds is a repeat.
void checkDuplicate(SqlDatabase& db, const std::array<Column, kColumns>& columns, FuzzedDataProvider& input) {
    const bool sameType = input.ConsumeBool();
    CaptureKey key;
    key.type = sameType ? db.query("SELECT Type FROM Log;").intValue(sql::column::kType, 0) : input.ConsumeIntegral<int>();
    const std::optional<std::string>& held = columns[kData].held;
    const std::string block = held ? storedForm(held->data(), held->size()) : input.ConsumeRandomLengthString(64);
    key.dataBlock = &block;
    const bool duplicate = DuplicateCheck().isDuplicate(db, key);
    if (sameType && held) require(duplicate);
}

SqlDatabase& database() {
    static SqlDatabase db;
    if (!db.isOpen()) {
        db.open(":memory:");
        db.execute(sql::kCreateLogTable);
    }
    return db;
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
        const int id = readPage(db, columns);
        readPreview(db, id, columns);
        readClipBlocks(db, id, columns);
        readNeighbour(db, id, columns);
        checkDuplicate(db, columns, input);
    } catch (const SqlException&) {
        // The readers report database failures as exceptions and the program shows them; on a
        // single in-memory row none is expected.
        std::abort();
    }
    return 0;
}

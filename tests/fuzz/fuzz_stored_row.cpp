// Any row in table Log (a damaged or hand-edited file: NULLs, numbers, blobs, texts with zero
// bytes, broken stored forms) read through every read of the history API: no read or write
// outside a buffer, no decoded block longer than its column, preview and balloon texts within
// their limits, and a true stored form gives its value back byte for byte.
#include "clipboard/NeighbourBalloon.h"
#include "store/History.h"
#include "store/HistoryDatabase.h"
#include "store/HistorySql.h"
#include "store/StoredValue.h"
#include "ui/selection/PreviewText.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

const char* const kColumns[] = {"Id", "DTime", "Name", "SourceName", "SourceTitle", "Locale", "Text", "Type", "Data"};
constexpr std::size_t kColumnCount = std::size(kColumns);

void require(bool condition) {
    if (!condition) std::abort();
}

std::string hexLiteral(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex = "X'";
    for (unsigned char byte : bytes) hex.append({digits[byte >> 4], digits[byte & 15]});
    return hex + "'";
}

// One column's SQL literal; `held` receives the bytes when it is a true stored form.
std::string makeColumn(FuzzedDataProvider& input, std::optional<std::string>& held) {
    switch (input.ConsumeIntegralInRange(0, 5)) {
    case 0: return "NULL";
    case 1: return std::to_string(input.ConsumeIntegral<std::int64_t>());
    case 2: return hexLiteral(input.ConsumeRandomLengthString(300));                            // a blob
    case 3: return "CAST(" + hexLiteral(input.ConsumeRandomLengthString(300)) + " AS TEXT)";  // zero bytes and all
    case 4: return "'(null)'";
    default:
        held = input.ConsumeRandomLengthString(3000);
        return "CAST(" + hexLiteral(storedForm(held->data(), held->size())) + " AS TEXT)";
    }
}

struct Row {
    std::optional<std::string> held[kColumnCount];

    // A block as a reader got it: never longer than its column, and what a true stored form holds.
    const std::optional<std::string>& check(const std::optional<std::string>& block, std::size_t column) const {
        const std::string select = std::string("SELECT length(CAST(") + kColumns[column] + " AS BLOB)) AS n FROM Log;";
        if (block) require(block->size() <= static_cast<std::size_t>(historyDb.query(select.c_str()).intValue("n", 0)));
        if (held[column]) require(block == held[column]);
        return block;
    }
};

std::string toNarrow(std::u16string_view text) {
    std::string narrow;
    for (char16_t unit : text) narrow.push_back(unit < 0x80 ? static_cast<char>(unit) : '?');
    return narrow;
}

void readEverything(const Row& row) {
    const std::vector<history::ListEntry> page = history::page(0, 50);
    require(page.size() == 1 && history::recent(15).size() == 1);
    const int id = page[0].id;
    if (const auto stored = history::preview(id)) {  // none for an Id that atoi reads as another number
        preview::RecordFields fields{row.check(stored->sourceName, 3), row.check(stored->sourceTitle, 4), "time",
                                     stored->id, stored->type, row.check(stored->text, 6), row.check(stored->data, 8), std::nullopt};
        const std::string text = preview::truncated(preview::previewText(fields, toNarrow));
        require(text.size() <= preview::kMaxLength * 4 + std::strlen(preview::kTruncatedNote));
    }
    if (const auto blocks = history::clipBlocks(id)) {
        row.check(blocks->text, 6);
        row.check(blocks->locale, 5);
        if (blocks->type != PlainText) row.check(blocks->data, 8);
    }
    if (id == INT32_MAX) return;
    if (const auto found = history::neighbour(id + 1, history::Direction::Older)) {
        const std::string body = found->type == UnicodeText && row.check(found->data, 8)
                                     ? toNarrow(preview::utf16UntilZero(*found->data)) : found->text;
        require(neighbourBalloonText(found->type, body).size() <= 1000 * 4 + std::strlen("\n ...[text is truncated]"));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool opened = [] {
        historyDb.open(":memory:");
        historyDb.execute(sql::kCreateLogTable);
        return true;
    }();
    (void)opened;
    FuzzedDataProvider input(data, size);
    Row row;
    std::string values;
    for (std::size_t i = 0; i < kColumnCount; ++i) values += (i ? "," : "") + makeColumn(input, row.held[i]);
    historyDb.execute(sql::kDeleteAll);
    try {
        historyDb.execute(("INSERT INTO Log VALUES (" + values + ");").c_str());
    } catch (const SqlException&) {
        return 0;  // a value SQLite itself refuses: no row to read
    }
    readEverything(row);  // a reader's SqlException escapes and fails the run: none is expected here
    return 0;
}

// Any row in table Log (a damaged or hand-edited file: NULLs, numbers, blobs, texts with zero
// bytes, broken stored forms) read through every read of the history API and shown: no read or
// write outside a buffer, and a true stored form gives its value back byte for byte.
#include "clipboard/NeighbourBalloon.h"
#include "store/History.h"
#include "store/HistoryDatabase.h"
#include "store/HistorySql.h"
#include "store/StoredValue.h"
#include "ui/selection/PreviewText.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

namespace {

enum Column { kId, kDTime, kName, kSourceName, kSourceTitle, kLocale, kText, kType, kData, kColumns };

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

void require(bool condition) {
    if (!condition) std::abort();
}

std::string toNarrow(std::u16string_view text) { return std::string(text.begin(), text.end()); }

void readEverything(const std::optional<std::string> (&held)[kColumns]) {
    auto check = [&](const std::optional<std::string>& block, Column column) {
        if (held[column]) require(block == held[column]);
    };
    const std::vector<history::ListEntry> page = history::page(0, 50);
    require(page.size() == 1 && history::recent(15).size() == 1);
    const int id = page[0].id;
    if (const auto stored = history::preview(id)) {  // none for an Id that atoi reads as another number
        check(stored->sourceName, kSourceName), check(stored->sourceTitle, kSourceTitle);
        check(stored->text, kText), check(stored->data, kData);
        preview::truncated(preview::previewText({stored->sourceName, stored->sourceTitle, "", stored->id, stored->type,
                                                 stored->text, stored->data, std::nullopt}, toNarrow));
    }
    if (const auto blocks = history::clipBlocks(id)) {
        check(blocks->text, kText), check(blocks->locale, kLocale);
        if (blocks->type != PlainText) check(blocks->data, kData);
    }
    if (const auto found = id == INT32_MAX ? std::nullopt : history::neighbour(id + 1, history::Direction::Older))
        neighbourBalloonText(found->type, found->data ? toNarrow(preview::utf16UntilZero(*found->data)) : found->text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool opened = (historyDb.open(":memory:"), historyDb.execute(sql::kCreateLogTable), true);
    FuzzedDataProvider input(data, size);
    std::optional<std::string> held[kColumns];
    std::string values;
    for (int i = 0; i < kColumns; ++i) values += (i ? "," : "") + makeColumn(input, held[i]);
    historyDb.execute(sql::kDeleteAll);
    try {
        historyDb.execute(("INSERT INTO Log VALUES (" + values + ");").c_str());
    } catch (const SqlException&) {
        return 0;  // a value SQLite itself refuses: no row to read
    }
    readEverything(held);  // a reader's SqlException escapes and fails the run: none is expected here
    return opened ? 0 : 1;
}

// Any row of a damaged or hand-edited file read through every reader of the history and shown: no
// access outside a buffer, and a true stored form gives its value back byte for byte.
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
using HeldValues = std::optional<std::string>[kColumns];

std::string toNarrow(std::u16string_view text) { return std::string(text.begin(), text.end()); }

void readEverything(const HeldValues& held) {
    auto check = [&](const std::optional<std::string>& read, Column column) {
        if (held[column] && read != held[column]) std::abort();
    };
    const std::vector<history::ListEntry> page = history::page(0, 50);
    if (page.size() != 1 || history::recent(15).size() != 1) std::abort();
    const int id = page[0].id;
    if (const auto stored = history::preview(id)) {  // none for an Id that atoi reads as another number
        check(stored->sourceName, kSourceName), check(stored->sourceTitle, kSourceTitle), check(stored->text, kText);
        check(stored->data, kData);
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
    historyDb.execute(sql::kDeleteAll);
    FuzzedDataProvider input(data, size);
    HeldValues held;
    try {  // each column at random, unbound ones NULL; `held` keeps the bytes of a true stored form
        SqlStatement insert = historyDb.prepareStatement(sql::kInsertBoundRow);
        for (int column = 0; column < kColumns; ++column) {
            switch (input.ConsumeIntegralInRange(0, 4)) {
            case 0: break;
            case 1: insert.bind(column + 1, input.ConsumeIntegral<std::int64_t>()); break;
            case 2: insert.bind(column + 1, input.ConsumeRandomLengthString(300)); break;  // zero bytes and all
            case 3: insert.bind(column + 1, kAbsentBlock); break;
            default:
                held[column] = input.ConsumeRandomLengthString(3000);
                const std::string stored = storedForm(held[column]->data(), held[column]->size());
                if (stored.find('\'') != std::string::npos) std::abort();  // literal SQL carries it; a zero fails below
                insert.bind(column + 1, stored);
            }
        }
        insert.run();
    } catch (const SqlException&) {
        return 0;  // a value SQLite itself refuses: no row to read
    }
    readEverything(held);  // a reader's SqlException escapes and fails the run: none is expected here
    return opened ? 0 : 1;
}

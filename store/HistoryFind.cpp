// The Find box's search: the items whose caption, text, source name or title hold every word typed.
#include "store/History.h"

#include "store/FindQuery.h"
#include "store/HistoryDatabase.h"
#include "store/HistorySql.h"
#include "store/HistoryText.h"
#include "store/SqlStatement.h"
#include "store/StoredValue.h"

namespace history {
namespace {

// The search's statement with its values bound; the caller binds what follows the conditions.
SqlStatement prepared(const std::string& statementText, const find::FindQuery& query, int& nextParameter) {
    SqlStatement statement = historyDb.prepareStatement(statementText.c_str());
    nextParameter = 1;
    if (!query.match.empty()) statement.bind(nextParameter++, query.match);
    for (const std::string& word : query.shortWords) {
        const std::string pattern = find::likePattern(word);
        statement.bind(nextParameter++, pattern);
        statement.bind(nextParameter++, pattern);
    }
    return statement;
}

std::vector<ListEntry> entriesOf(SqlStatement& statement) {
    std::vector<ListEntry> entries;
    std::vector<int> ids;
    while (statement.step()) {
        const int id = statement.isNull(0) ? kNoRecord : static_cast<int>(statement.intColumn(0));
        const int type = statement.isNull(2) ? PlainText : static_cast<int>(statement.intColumn(2));
        entries.push_back({id, readStoredText(statement.textColumn(1).c_str()), type, std::nullopt});
        ids.push_back(id);
    }
    std::vector<std::optional<std::string>> captions = text::captions(ids);
    for (std::size_t i = 0; i < entries.size(); ++i) entries[i].unicodeCaption = std::move(captions[i]);
    return entries;
}

}  // namespace

int findCount(const std::string& typed) {
    const find::FindQuery query = find::parse(typed);
    if (query.empty()) return count();
    int next = 0;
    SqlStatement statement =
        prepared(sql::countMatches(!query.match.empty(), query.shortWords.size()), query, next);
    return statement.step() ? static_cast<int>(statement.intColumn(0)) : 0;
}

std::vector<ListEntry> findPage(const std::string& typed, int offset, int count) {
    const find::FindQuery query = find::parse(typed);
    if (query.empty()) return page(offset, count);
    int next = 0;
    SqlStatement statement =
        prepared(sql::selectMatchPage(!query.match.empty(), query.shortWords.size()), query, next);
    statement.bind(next, count).bind(next + 1, offset);
    return entriesOf(statement);
}

}  // namespace history

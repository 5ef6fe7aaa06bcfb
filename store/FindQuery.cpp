#include "store/FindQuery.h"

#include "store/Utf8Text.h"

namespace history::find {
namespace {
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

std::vector<std::string_view> wordsOf(std::string_view typed) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (at < typed.size()) {
        while (at < typed.size() && isBlank(typed[at])) ++at;
        const std::size_t start = at;
        while (at < typed.size() && !isBlank(typed[at])) ++at;
        if (at > start) words.push_back(typed.substr(start, at - start));
    }
    return words;
}
}  // namespace

std::string phrase(std::string_view word) {
    std::string quoted = "\"";
    for (char c : word) {
        quoted += c;
        if (c == '"') quoted += '"';
    }
    return quoted + '"';
}

std::string likePattern(std::string_view word) {
    std::string pattern = "%";
    for (char c : word) {
        if (c == '%' || c == '_' || c == '\\') pattern += '\\';
        pattern += c;
    }
    return pattern + '%';
}

FindQuery parse(std::string_view typed) {
    FindQuery query;
    for (std::string_view word : wordsOf(typed)) {
        if (utf8::charCount(word) < kShortestIndexedWord) {
            query.shortWords.emplace_back(word);
            continue;
        }
        if (!query.match.empty()) query.match += " AND ";
        query.match += phrase(word);
    }
    return query;
}

}  // namespace history::find

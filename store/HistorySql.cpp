#include "store/HistorySql.h"

#include "store/SqlException.h"

#include <sqlite3.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string_view>

namespace sql {
namespace {

// Sized from the formatted length, so a statement holding a large stored block fits whole.
// A text beyond what printf can produce is refused the way SQLite refuses an oversized one.
__attribute__((format(printf, 1, 2))) std::string format(const char* pattern, ...) {
    va_list args;
    va_start(args, pattern);
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, pattern, measure);
    va_end(measure);
    if (length < 0) {
        va_end(args);
        throw SqlException(SQLITE_TOOBIG, sqlite3_errstr(SQLITE_TOOBIG));
    }
    std::string text(static_cast<std::size_t>(length), '\0');
    std::vsnprintf(text.data(), text.size() + 1, pattern, args);
    va_end(args);
    return text;
}

// The pattern with each of its directives (%i, %u, %s) replaced by the next value, already as
// text. The insert statement carries whole clips; printf would measure and copy them twice.
std::string fillDirectives(const char* pattern, std::initializer_list<std::string_view> values) {
    std::size_t size = std::strlen(pattern);
    for (std::string_view value : values) size += value.size();
    std::string text;
    text.reserve(size);
    auto next = values.begin();
    for (const char* c = pattern; *c; ++c) {
        if (*c == '%' && c[1] && next != values.end()) {
            text += *next++;
            ++c;
        } else {
            text += *c;
        }
    }
    return text;
}

}  // namespace

std::string trimOldest(int rowsToRemove) { return format(kTrimOldest, rowsToRemove); }
std::string selectPage(int offset, int pageSize) { return format(kSelectPage, offset, pageSize); }
std::string selectPreview(int id) { return format(kSelectPreview, id); }
std::string selectRecent(int count) { return format(kSelectRecent, count); }
std::string deleteItem(int id) { return format(kDeleteItem, id); }
std::string selectOlder(int lastId) { return format(kSelectOlder, lastId); }
std::string selectNewer(int lastId) { return format(kSelectNewer, lastId); }
std::string selectClipBlocks(int id) { return format(kSelectClipBlocks, id); }

std::string findWhere(bool withMatch, std::size_t shortWords) {
    std::string where = withMatch ? find::kMatch : "";
    for (std::size_t i = 0; i < shortWords; ++i) {
        if (!where.empty()) where += find::kAnd;
        where += find::kShortWord;
    }
    return where;
}

std::string countMatches(bool withMatch, std::size_t shortWords) {
    return find::kCountStart + findWhere(withMatch, shortWords) + ";";
}

std::string selectMatchPage(bool withMatch, std::size_t shortWords) {
    return find::kPageStart + findWhere(withMatch, shortWords) + find::kPageEnd;
}

std::string insertRow(int id, std::uint32_t dtime, const std::string& name, const std::string& sourceName,
                      const std::string& sourceTitle, const std::string& locale, const std::string& text, int type,
                      const std::string& data) {
    const std::string idText = std::to_string(id), dtimeText = std::to_string(dtime), typeText = std::to_string(type);
    return fillDirectives(kInsertRow, {idText, dtimeText, name, sourceName, sourceTitle, locale, text, typeText, data});
}

}  // namespace sql

#include "store/SqlException.h"

#include <sqlite3.h>

#include <utility>

namespace {

char* formatMessage(int code, const char* text) {
    return sqlite3_mprintf("%s[%d]: %s", SqlException::codeName(code), code, text ? text : "");
}

char* duplicate(const char* text) { return text ? sqlite3_mprintf("%s", text) : nullptr; }

}  // namespace

SqlException::SqlException(int code, char* text, bool freeText)
    : code_(code), message_(formatMessage(code, text)) {
    if (freeText && text) sqlite3_free(text);
}

SqlException::SqlException(int code, const char* text) : code_(code), message_(formatMessage(code, text)) {}

SqlException::SqlException(const SqlException& other) : code_(other.code_), message_(duplicate(other.message_)) {}

SqlException::SqlException(SqlException&& other) noexcept
    : code_(other.code_), message_(std::exchange(other.message_, nullptr)) {}

SqlException& SqlException::operator=(const SqlException& other) {
    if (this != &other) {
        char* copy = duplicate(other.message_);
        sqlite3_free(message_);
        message_ = copy;
        code_ = other.code_;
    }
    return *this;
}

SqlException& SqlException::operator=(SqlException&& other) noexcept {
    if (this != &other) {
        sqlite3_free(message_);
        message_ = std::exchange(other.message_, nullptr);
        code_ = other.code_;
    }
    return *this;
}

SqlException::~SqlException() { sqlite3_free(message_); }

const char* SqlException::codeName(int code) {
    static const char* const kSqliteNames[] = {
        "SQLITE_OK",       "SQLITE_ERROR",    "SQLITE_INTERNAL", "SQLITE_PERM",       "SQLITE_ABORT",
        "SQLITE_BUSY",     "SQLITE_LOCKED",   "SQLITE_NOMEM",    "SQLITE_READONLY",   "SQLITE_INTERRUPT",
        "SQLITE_IOERR",    "SQLITE_CORRUPT",  "SQLITE_NOTFOUND", "SQLITE_FULL",       "SQLITE_CANTOPEN",
        "SQLITE_PROTOCOL", "SQLITE_EMPTY",    "SQLITE_SCHEMA",   "SQLITE_TOOBIG",     "SQLITE_CONSTRAINT",
        "SQLITE_MISMATCH", "SQLITE_MISUSE",   "SQLITE_NOLFS",    "SQLITE_AUTH",       "SQLITE_FORMAT",
        "SQLITE_RANGE",
    };
    constexpr int kNamedCount = static_cast<int>(sizeof kSqliteNames / sizeof kSqliteNames[0]);
    if (code >= 0 && code < kNamedCount) return kSqliteNames[code];
    switch (code) {
        case 100: return "SQLITE_ROW";
        case 101: return "SQLITE_DONE";
        case kLayerError: return "SQLLAYER_ERROR";
        default: return "UNKNOWN_ERROR";
    }
}

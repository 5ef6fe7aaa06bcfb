#include "store/SqlStatement.h"

#include "store/SqlException.h"

#include <sqlite3.h>

SqlStatement::SqlStatement(sqlite3* connection, sqlite3_stmt* statement)
    : connection_(connection), statement_(statement) {}

SqlStatement::SqlStatement(SqlStatement&& other) noexcept
    : connection_(other.connection_), statement_(other.statement_) {
    other.statement_ = nullptr;
}

SqlStatement::~SqlStatement() { sqlite3_finalize(statement_); }

void SqlStatement::check(int result) const {
    if (result != SQLITE_OK) throw SqlException(result, sqlite3_errmsg(connection_));
}

void SqlStatement::bindInt(int parameter, std::int64_t value) {
    check(sqlite3_bind_int64(statement_, parameter, value));
}

void SqlStatement::bindText(int parameter, const char* text, std::size_t size) {
    check(sqlite3_bind_text64(statement_, parameter, text, size, SQLITE_STATIC, SQLITE_UTF8));
}

int SqlStatement::run() {
    int step;
    while ((step = sqlite3_step(statement_)) == SQLITE_ROW) {
    }
    // reset gives the step's own error code, which is the one reported.
    const int result = sqlite3_reset(statement_);
    if (step != SQLITE_DONE) throw SqlException(result, sqlite3_errmsg(connection_));
    return sqlite3_changes(connection_);
}

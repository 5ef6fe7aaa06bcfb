#include "store/SqlStatement.h"

#include "store/SqlDatabase.h"
#include "store/SqlException.h"

#include <sqlite3.h>

#include <utility>

SqlStatement::SqlStatement(sqlite3* connection, sqlite3_stmt* statement)
    : connection_(connection), statement_(statement) {}

SqlStatement::SqlStatement(SqlStatement&& other) noexcept
    : connection_(other.connection_), statement_(std::exchange(other.statement_, nullptr)) {}

SqlStatement& SqlStatement::operator=(SqlStatement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(statement_);
        connection_ = other.connection_;
        statement_ = std::exchange(other.statement_, nullptr);
    }
    return *this;
}

SqlStatement::~SqlStatement() { sqlite3_finalize(statement_); }

void SqlStatement::fail(int result) const { throw SqlException(result, sqlite3_errmsg(connection_)); }

SqlStatement& SqlStatement::bind(int index, std::int64_t value) {
    const int result = sqlite3_bind_int64(statement_, index, value);
    if (result != SQLITE_OK) fail(result);
    return *this;
}

SqlStatement& SqlStatement::bind(int index, std::string_view text) {
    const int result = sqlite3_bind_text64(statement_, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
    if (result != SQLITE_OK) fail(result);
    return *this;
}

SqlStatement& SqlStatement::bindKept(int index, std::string_view text) {
    const int result = sqlite3_bind_text64(statement_, index, text.data(), text.size(), SQLITE_STATIC, SQLITE_UTF8);
    if (result != SQLITE_OK) fail(result);
    return *this;
}

bool SqlStatement::step() {
    const int result = sqlite3_step(statement_);
    if (result == SQLITE_ROW) return true;
    if (result == SQLITE_DONE) return false;
    sqlite3_reset(statement_);
    fail(result);
    return false;
}

void SqlStatement::run() {
    while (step()) {
    }
    reset();
}

void SqlStatement::reset() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

std::int64_t SqlStatement::intColumn(int index) const { return sqlite3_column_int64(statement_, index); }

std::string SqlStatement::textColumn(int index) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, index));
    const int size = sqlite3_column_bytes(statement_, index);
    return text ? std::string(text, static_cast<std::size_t>(size)) : std::string();
}

bool SqlStatement::isNull(int index) const { return sqlite3_column_type(statement_, index) == SQLITE_NULL; }

// A savepoint: outside a transaction it is one; inside one (a caller's bulk work) it nests.
SqlTransaction::SqlTransaction(SqlDatabase& database) : database_(database) { database_.execute("SAVEPOINT change;"); }

SqlTransaction::~SqlTransaction() {
    if (!open_) return;
    try {
        database_.execute("ROLLBACK TO change; RELEASE change;");
    } catch (const SqlException&) {
        // SQLite has rolled back by itself after the failure that brought us here.
    }
}

void SqlTransaction::commit() {
    database_.execute("RELEASE change;");
    open_ = false;
}

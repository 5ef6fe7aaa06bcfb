#include "store/SqlDatabase.h"

#include "store/SqlException.h"

#include <sqlite3.h>

#include <cstdlib>

SqlDatabase::~SqlDatabase() { close(); }

void SqlDatabase::open(const char* path) {
    close();  // never leak a connection still held
    const int result = sqlite3_open(path, &connection_);
    if (result != SQLITE_OK) throw SqlException(result, sqlite3_errmsg(connection_));
    setBusyTimeout(busyTimeoutMs_);
}

int SqlDatabase::close() {
    if (!connection_) return SQLITE_OK;
    const int result = sqlite3_close(connection_);
    connection_ = nullptr;
    return result;
}

void SqlDatabase::requireOpen() const {
    if (!connection_) throw SqlException(SqlException::kLayerError, "Database not open");
}

int SqlDatabase::execute(const char* sql) {
    requireOpen();
    char* error = nullptr;
    const int result = sqlite3_exec(connection_, sql, nullptr, nullptr, &error);
    if (result != SQLITE_OK) throw SqlException(result, error, true);
    return sqlite3_changes(connection_);
}

sqlite3_stmt* SqlDatabase::prepare(const char* sql) {
    requireOpen();
    sqlite3_stmt* statement = nullptr;
    // The v2 form compiles a statement again when another connection changed the schema.
    const int result = sqlite3_prepare_v2(connection_, sql, -1, &statement, nullptr);
    if (result != SQLITE_OK) throw SqlException(result, nullptr, false);
    return statement;
}

SqlCursor SqlDatabase::query(const char* sql) {
    sqlite3_stmt* statement = prepare(sql);
    // A text of blanks or comments compiles to no statement: a cursor without one.
    if (!statement) return SqlCursor();
    const int step = sqlite3_step(statement);
    if (step == SQLITE_DONE || step == SQLITE_ROW) return SqlCursor(connection_, statement, step == SQLITE_DONE, true);
    // finalize gives the statement's own error code, which is the one reported.
    const int result = sqlite3_finalize(statement);
    throw SqlException(result, sqlite3_errmsg(connection_));
}

int SqlDatabase::queryInt(const char* sql) {
    SqlCursor cursor = query(sql);
    if (cursor.atEnd() || cursor.columnCount() < 1) throw SqlException(SqlException::kLayerError, "Invalid scalar query");
    const char* text = cursor.columnText(0);
    if (!text) throw SqlException(SqlException::kLayerError, "Unknown scalar query, NULL returned");
    const int value = std::atoi(text);
    cursor.release();
    return value;
}

SqlResultTable SqlDatabase::queryTable(const char* sql) {
    requireOpen();
    char** results = nullptr;
    int rows = 0;
    int columns = 0;
    char* error = nullptr;
    const int result = sqlite3_get_table(connection_, sql, &results, &rows, &columns, &error);
    if (result != SQLITE_OK) {
        sqlite3_free_table(results);
        throw SqlException(result, error, true);
    }
    return SqlResultTable(results, rows, columns);
}

SqlStatement SqlDatabase::prepareStatement(const char* sql) {
    requireOpen();
    sqlite3_stmt* statement = nullptr;
    const int result = sqlite3_prepare_v2(connection_, sql, -1, &statement, nullptr);
    if (result != SQLITE_OK) throw SqlException(result, sqlite3_errmsg(connection_));
    if (!statement) throw SqlException(SqlException::kLayerError, "Empty statement");
    return SqlStatement(connection_, statement);
}

void SqlDatabase::setBusyTimeout(int milliseconds) {
    busyTimeoutMs_ = milliseconds;
    if (connection_) sqlite3_busy_timeout(connection_, milliseconds);
}

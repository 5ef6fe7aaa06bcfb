#include "store/SqlCursor.h"

#include "store/SqlException.h"

#include <sqlite3.h>

#include <cstdlib>
#include <cstring>

SqlCursor::SqlCursor(sqlite3* connection, sqlite3_stmt* statement, bool atEnd, bool ownsStatement)
    : connection_(connection),
      statement_(statement),
      atEnd_(atEnd),
      columnCount_(statement ? sqlite3_column_count(statement) : 0),
      ownsStatement_(ownsStatement) {}

SqlCursor::SqlCursor(SqlCursor&& other) noexcept { takeFrom(other); }

SqlCursor& SqlCursor::operator=(SqlCursor&& other) noexcept {
    if (this != &other) {
        try {
            release();
        } catch (const SqlException&) {
            // The old statement is gone either way; its failure has no one to report to.
        }
        takeFrom(other);
    }
    return *this;
}

SqlCursor::~SqlCursor() {
    try {
        release();
    } catch (const SqlException&) {
    }
}

void SqlCursor::takeFrom(SqlCursor& other) noexcept {
    connection_ = other.connection_;
    statement_ = other.statement_;
    atEnd_ = other.atEnd_;
    columnCount_ = other.columnCount_;
    ownsStatement_ = other.ownsStatement_;
    other.statement_ = nullptr;
}

void SqlCursor::requireStatement() const {
    if (!statement_) throw SqlException(SqlException::kLayerError, "Null Virtual Machine pointer");
}

void SqlCursor::requireIndex(int index) const {
    requireStatement();
    if (index < 0 || index >= columnCount_)
        throw SqlException(SqlException::kLayerError, "Invalid field index requested");
}

bool SqlCursor::atEnd() const {
    requireStatement();
    return atEnd_;
}

int SqlCursor::columnCount() const {
    requireStatement();
    return columnCount_;
}

const char* SqlCursor::columnText(int index) const {
    requireIndex(index);
    return reinterpret_cast<const char*>(sqlite3_column_text(statement_, index));
}

int SqlCursor::columnType(int index) const {
    requireIndex(index);
    return sqlite3_column_type(statement_, index);
}

int SqlCursor::columnIndex(const char* name) const {
    requireStatement();
    if (name) {
        for (int index = 0; index < columnCount_; ++index) {
            const char* columnName = sqlite3_column_name(statement_, index);
            if (columnName && std::strcmp(columnName, name) == 0) return index;
        }
    }
    throw SqlException(SqlException::kLayerError, "Invalid field name requested");
}

const char* SqlCursor::columnText(const char* name) const { return columnText(columnIndex(name)); }

bool SqlCursor::isNull(const char* name) const { return columnType(columnIndex(name)) == SQLITE_NULL; }

int SqlCursor::intValue(const char* name, int valueForNull) const {
    if (isNull(name)) return valueForNull;
    const char* text = columnText(name);
    return text ? std::atoi(text) : valueForNull;
}

const char* SqlCursor::stringValue(const char* name, const char* valueForNull) const {
    return isNull(name) ? valueForNull : columnText(name);
}

void SqlCursor::release() {
    if (!statement_ || !ownsStatement_) return;
    sqlite3_stmt* statement = statement_;
    statement_ = nullptr;
    const int result = sqlite3_finalize(statement);
    if (result != SQLITE_OK) throw SqlException(result, sqlite3_errmsg(connection_));
}

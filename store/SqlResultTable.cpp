#include "store/SqlResultTable.h"

#include "store/SqlException.h"

#include <sqlite3.h>

#include <cstdlib>
#include <cstring>

SqlResultTable::SqlResultTable(char** results, int rowCount, int columnCount)
    : columnCount_(columnCount), rowCount_(rowCount), results_(results) {}

SqlResultTable::SqlResultTable(SqlResultTable&& other) noexcept { takeFrom(other); }

SqlResultTable& SqlResultTable::operator=(SqlResultTable&& other) noexcept {
    if (this != &other) {
        release();
        takeFrom(other);
    }
    return *this;
}

SqlResultTable::~SqlResultTable() { release(); }

void SqlResultTable::takeFrom(SqlResultTable& other) noexcept {
    results_ = other.results_;
    rowCount_ = other.rowCount_;
    columnCount_ = other.columnCount_;
    currentRow_ = other.currentRow_;
    other.results_ = nullptr;
}

void SqlResultTable::requireResults() const {
    if (!results_) throw SqlException(SqlException::kLayerError, "Null Results pointer");
}

int SqlResultTable::rowCount() const {
    requireResults();
    return rowCount_;
}

void SqlResultTable::selectRow(int row) {
    requireResults();
    if (row < 0 || row >= rowCount_) throw SqlException(SqlException::kLayerError, "Invalid row index requested");
    currentRow_ = row;
}

const char* SqlResultTable::columnText(const char* name) const {
    requireResults();
    if (name) {
        for (int column = 0; column < columnCount_; ++column) {
            const char* header = results_[column];
            if (!header || std::strcmp(header, name) != 0) continue;
            // A result without rows has no current row to read from.
            if (currentRow_ >= rowCount_) throw SqlException(SqlException::kLayerError, "Invalid row index requested");
            return results_[(currentRow_ + 1) * columnCount_ + column];
        }
    }
    throw SqlException(SqlException::kLayerError, "Invalid field name requested");
}

bool SqlResultTable::isNull(const char* name) const { return columnText(name) == nullptr; }

int SqlResultTable::intValue(const char* name, int valueForNull) const {
    const char* text = columnText(name);
    return text ? std::atoi(text) : valueForNull;
}

const char* SqlResultTable::stringValue(const char* name, const char* valueForNull) const {
    const char* text = columnText(name);
    return text ? text : valueForNull;
}

void SqlResultTable::release() {
    if (!results_) return;
    sqlite3_free_table(results_);
    results_ = nullptr;
}

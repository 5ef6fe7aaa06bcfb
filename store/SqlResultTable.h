#pragma once

// An in-memory multi-row result (sqlite3_get_table), read by column name one row at a time.
// Ownership of the results moves with the table; it cannot be copied.
class SqlResultTable {
public:
    SqlResultTable() = default;
    // results: as sqlite3_get_table returned it (header row first); owned from now on.
    SqlResultTable(char** results, int rowCount, int columnCount);
    SqlResultTable(SqlResultTable&& other) noexcept;
    SqlResultTable& operator=(SqlResultTable&& other) noexcept;
    SqlResultTable(const SqlResultTable&) = delete;
    SqlResultTable& operator=(const SqlResultTable&) = delete;
    virtual ~SqlResultTable();

    int rowCount() const;
    void selectRow(int row);
    const char* columnText(const char* name) const;
    bool isNull(const char* name) const;
    int intValue(const char* name, int valueForNull) const;
    const char* stringValue(const char* name, const char* valueForNull) const;

    void release();

private:
    void requireResults() const;
    void takeFrom(SqlResultTable& other) noexcept;

    int columnCount_ = 0;
    int rowCount_ = 0;
    int currentRow_ = 0;
    char** results_ = nullptr;
};

#pragma once

struct sqlite3;
struct sqlite3_stmt;

// A one-row view of a prepared statement: the connection runs the first step, the cursor
// reads that row. Ownership of the statement moves with the cursor; it cannot be copied.
class SqlCursor {
public:
    SqlCursor() = default;
    SqlCursor(sqlite3* connection, sqlite3_stmt* statement, bool atEnd, bool ownsStatement);
    SqlCursor(SqlCursor&& other) noexcept;
    SqlCursor& operator=(SqlCursor&& other) noexcept;
    SqlCursor(const SqlCursor&) = delete;
    SqlCursor& operator=(const SqlCursor&) = delete;
    virtual ~SqlCursor();

    bool atEnd() const;
    int columnCount() const;
    const char* columnText(int index) const;
    int columnType(int index) const;
    int columnIndex(const char* name) const;
    const char* columnText(const char* name) const;
    bool isNull(const char* name) const;
    int intValue(const char* name, int valueForNull) const;
    const char* stringValue(const char* name, const char* valueForNull) const;

    // Finalises an owned statement; throws SqlException when SQLite reports a failure.
    void release();

private:
    void requireStatement() const;
    void requireIndex(int index) const;
    void takeFrom(SqlCursor& other) noexcept;

    sqlite3* connection_ = nullptr;
    sqlite3_stmt* statement_ = nullptr;
    bool atEnd_ = true;
    int columnCount_ = 0;
    bool ownsStatement_ = false;
};

#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

// A prepared statement with bound parameters, run as many times as needed (reset between runs).
// Texts are bound as UTF-8 (copied unless kept by the caller), so any value, apostrophes and
// zero bytes included, is data.
// Every failure is thrown as SqlException. Move-only; the statement is finalised with it.
class SqlStatement {
public:
    SqlStatement(sqlite3* connection, sqlite3_stmt* statement);
    SqlStatement(SqlStatement&& other) noexcept;
    SqlStatement& operator=(SqlStatement&& other) noexcept;
    SqlStatement(const SqlStatement&) = delete;
    SqlStatement& operator=(const SqlStatement&) = delete;
    ~SqlStatement();

    // Parameters count from 1, as in the SQL text.
    SqlStatement& bind(int index, std::int64_t value);
    SqlStatement& bind(int index, std::string_view text);
    // Binds the text without copying it, for large blocks: the caller keeps it alive and
    // unchanged until the statement has run.
    SqlStatement& bindKept(int index, std::string_view text);

    // One step: true with a row to read, false when done.
    bool step();
    // Steps to the end and resets, for statements that return no rows.
    void run();
    // Ready to run again with new parameters.
    void reset();

    std::int64_t intColumn(int index) const;
    std::string textColumn(int index) const;
    bool isNull(int index) const;

private:
    void fail(int result) const;

    sqlite3* connection_ = nullptr;
    sqlite3_stmt* statement_ = nullptr;
};

class SqlDatabase;

// One write transaction (nested in the caller's when there is one); rolled back unless
// committed, so a throw on the way leaves no half change.
class SqlTransaction {
public:
    explicit SqlTransaction(SqlDatabase& database);
    ~SqlTransaction();
    SqlTransaction(const SqlTransaction&) = delete;
    SqlTransaction& operator=(const SqlTransaction&) = delete;
    void commit();

private:
    SqlDatabase& database_;
    bool open_ = true;
};

#pragma once

#include <cstddef>
#include <cstdint>

struct sqlite3;
struct sqlite3_stmt;

// A prepared statement with bound values, run to completion. Bound texts are not copied:
// the caller keeps them alive and unchanged until run() returns, so a large block is held once.
class SqlStatement {
public:
    SqlStatement(sqlite3* connection, sqlite3_stmt* statement);
    SqlStatement(SqlStatement&& other) noexcept;
    SqlStatement(const SqlStatement&) = delete;
    SqlStatement& operator=(const SqlStatement&) = delete;
    SqlStatement& operator=(SqlStatement&&) = delete;
    ~SqlStatement();

    // Parameters count from 1, as SQLite counts them.
    void bindInt(int parameter, std::int64_t value);
    void bindText(int parameter, const char* text, std::size_t size);
    // Steps until done; returns sqlite3_changes. Throws SqlException with the statement's error.
    int run();

private:
    void check(int result) const;

    sqlite3* connection_;
    sqlite3_stmt* statement_;
};

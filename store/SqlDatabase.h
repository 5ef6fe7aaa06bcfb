#pragma once

#include "store/SqlCursor.h"
#include "store/SqlResultTable.h"
#include "store/SqlStatement.h"

struct sqlite3;

// One SQLite connection. Every failure is thrown as SqlException; nothing returns an error code.
class SqlDatabase {
public:
    static constexpr int kDefaultBusyTimeoutMs = 60000;

    SqlDatabase() = default;
    SqlDatabase(const SqlDatabase&) = delete;
    SqlDatabase& operator=(const SqlDatabase&) = delete;
    virtual ~SqlDatabase();

    // A failed open keeps the handle SQLite returned; close() releases it.
    void open(const char* path);
    // Forgets the handle whatever sqlite3_close returns, and passes that result back.
    int close();

    // Runs one or more statements without reading rows; returns sqlite3_changes.
    int execute(const char* sql);
    // Prepares and runs the first step; the cursor sits on the first row or at the end.
    SqlCursor query(const char* sql);
    // First column of the first row, as atoi reads it.
    int queryInt(const char* sql);
    SqlResultTable queryTable(const char* sql);
    // Prepares one statement to bind and run (SqlStatement).
    SqlStatement prepareStatement(const char* sql);
    void setBusyTimeout(int milliseconds);

private:
    sqlite3_stmt* prepare(const char* sql);
    void requireOpen() const;

    sqlite3* connection_ = nullptr;
    int busyTimeoutMs_ = kDefaultBusyTimeoutMs;
};

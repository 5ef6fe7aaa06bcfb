#pragma once

// The one error type of the SQLite layer. The message is always the formatted text
// "<code name>[<code>]: <text>", allocated by SQLite's allocator and owned by the exception.
class SqlException {
public:
    static constexpr int kLayerError = 1000;  // a failure detected by the layer itself

    // freeText: the text came from SQLite's allocator and is released here once formatted.
    SqlException(int code, char* text, bool freeText);
    SqlException(int code, const char* text);
    SqlException(const SqlException& other);
    SqlException(SqlException&& other) noexcept;
    SqlException& operator=(const SqlException& other);
    SqlException& operator=(SqlException&& other) noexcept;
    virtual ~SqlException();

    int code() const { return code_; }
    // Never null: the empty text when SQLite could not allocate the message.
    const char* message() const { return message_ ? message_ : ""; }

    static const char* codeName(int code);

private:
    int code_;
    char* message_;
};

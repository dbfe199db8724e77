// A compiled statement that changes data, run many times with values bound to its parameters
// instead of formatted into its text.
#pragma once

#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

class CppSQLite3Statement {
public:
    CppSQLite3Statement() = default;
    // Takes over a compiled statement of the connection.
    CppSQLite3Statement(sqlite3* db, sqlite3_stmt* statement);
    ~CppSQLite3Statement();

    CppSQLite3Statement(const CppSQLite3Statement&) = delete;
    CppSQLite3Statement& operator=(const CppSQLite3Statement&) = delete;
    CppSQLite3Statement(CppSQLite3Statement&& other) noexcept;
    CppSQLite3Statement& operator=(CppSQLite3Statement&& other) noexcept;

    bool IsValid() const { return statement_ != nullptr; }
    // Binds a text (never NULL, also when empty) to the 1-based parameter without copying it: the
    // text must stay unchanged until the statement has run.
    void Bind(int parameter, std::string_view text);
    // Runs the statement and makes it ready for the next values; returns the rows changed.
    int ExecuteDML();
    void Finalize();

private:
    void CheckStatement() const;

    sqlite3* db_ = nullptr;
    sqlite3_stmt* statement_ = nullptr;
};

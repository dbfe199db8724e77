// One SQLite connection: statements that change data, queries, the busy time-out.
#pragma once

#include <chrono>
#include <string>

#include "library/CppSQLite3Query.h"
#include "library/CppSQLite3Statement.h"

struct sqlite3;
struct sqlite3_stmt;

class CppSQLite3DB {
public:
    // Short: a lock held longer is reported rather than waited for.
    static constexpr int DefaultBusyTimeoutMs = 2000;

    CppSQLite3DB() = default;
    virtual ~CppSQLite3DB();
    CppSQLite3DB(const CppSQLite3DB&) = delete;
    CppSQLite3DB& operator=(const CppSQLite3DB&) = delete;

    // Closes a connection already held, then opens the file (created when missing).
    void Open(const std::string& fileName);
    void Close();
    bool IsOpen() const { return db_ != nullptr; }
    void SetBusyTimeout(int milliseconds);

    // Runs every statement of the text; returns the rows changed by the last one.
    int ExecuteStatement(const char* sql);
    // Runs the first statement of the text, positioned on its first row (or at its end).
    CppSQLite3Query ExecuteQuery(const char* sql);
    // Compiles the first statement of the text for runs with bound values.
    CppSQLite3Statement CompileStatement(const char* sql);

private:
    // Waits for a lock held by another connection in short steps, up to the busy time-out.
    static int WaitForLock(void* self, int attempt);
    void CheckDB() const;
    sqlite3_stmt* Compile(const char* sql);

    sqlite3* db_ = nullptr;
    int busyTimeoutMs_ = DefaultBusyTimeoutMs;
    std::chrono::steady_clock::time_point waitStarted_{};
};

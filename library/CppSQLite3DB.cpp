// The connection over sqlite3_open, sqlite3_exec and sqlite3_prepare_v2.
#include "library/CppSQLite3DB.h"

#include <sqlite3.h>
#include <thread>

#include "library/CppSQLite3Exception.h"
#include "platform/WorkStop.h"

CppSQLite3DB::~CppSQLite3DB()
{
    Close();
}

void CppSQLite3DB::Open(const std::string& fileName)
{
    Close();
    const int result = sqlite3_open(fileName.c_str(), &db_);
    if (result != SQLITE_OK)
        throw CppSQLite3Exception(result, db_ ? sqlite3_errmsg(db_) : nullptr);
    SetBusyTimeout(busyTimeoutMs_);
}

void CppSQLite3DB::Close()
{
    // close_v2 frees the handle even while a query still holds a statement; the
    // statement's own finalize then releases the rest.
    if (db_)
        sqlite3_close_v2(db_);
    db_ = nullptr;
}

void CppSQLite3DB::SetBusyTimeout(int milliseconds)
{
    busyTimeoutMs_ = milliseconds;
    if (db_)
        sqlite3_busy_handler(db_, milliseconds > 0 ? &CppSQLite3DB::WaitForLock : nullptr, this);
}

// SQLite's own handler sleeps up to 100 ms between attempts, so a connection that commits
// often (the idle scanner) keeps another one waiting for seconds; a 1 ms step takes the lock
// in the first gap.
int CppSQLite3DB::WaitForLock(void* self, int attempt)
{
    auto* db = static_cast<CppSQLite3DB*>(self);
    const auto now = std::chrono::steady_clock::now();
    if (attempt == 0)
        db->waitStarted_ = now;
    // The end of the program does not wait for another connection's lock: the work fails as locked.
    if (now - db->waitStarted_ >= std::chrono::milliseconds(db->busyTimeoutMs_) || platform::WorkStopRequested())
        return 0;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return 1;
}

void CppSQLite3DB::CheckDB() const
{
    if (!db_)
        throw CppSQLite3Exception(CppSQLite3Exception::LayerErrorCode, "Database not open");
}

int CppSQLite3DB::ExecuteStatement(const char* sql)
{
    CheckDB();
    char* error = nullptr;
    const int result = sqlite3_exec(db_, sql, nullptr, nullptr, &error);
    if (result != SQLITE_OK)
        throw CppSQLite3Exception(result, error, true);
    return sqlite3_changes(db_);
}

CppSQLite3Query CppSQLite3DB::ExecuteQuery(const char* sql)
{
    CheckDB();
    sqlite3_stmt* statement = Compile(sql);
    if (!statement)  // a text of blanks or comments only: a query without a statement
        return CppSQLite3Query();
    const int result = sqlite3_step(statement);
    if (result == SQLITE_DONE || result == SQLITE_ROW)
        return CppSQLite3Query(db_, statement, result == SQLITE_DONE);
    // The text is taken before the statement is finalized.
    const std::string text = sqlite3_errmsg(db_);
    sqlite3_finalize(statement);
    throw CppSQLite3Exception(result, text.c_str());
}

CppSQLite3Statement CppSQLite3DB::CompileStatement(const char* sql)
{
    return CppSQLite3Statement(db_, Compile(sql));
}

sqlite3_stmt* CppSQLite3DB::Compile(const char* sql)
{
    CheckDB();
    sqlite3_stmt* statement = nullptr;
    const char* tail = nullptr;
    const int result = sqlite3_prepare_v2(db_, sql, -1, &statement, &tail);
    if (result != SQLITE_OK)
        throw CppSQLite3Exception(result, sqlite3_errmsg(db_));
    return statement;
}

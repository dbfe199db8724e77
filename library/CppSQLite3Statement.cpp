// Prepared statement over sqlite3_bind_text, sqlite3_step and sqlite3_reset.
#include "library/CppSQLite3Statement.h"

#include <utility>

#include <sqlite3.h>

#include "library/CppSQLite3Exception.h"

CppSQLite3Statement::CppSQLite3Statement(sqlite3* db, sqlite3_stmt* statement) : db_(db), statement_(statement)
{
}

CppSQLite3Statement::~CppSQLite3Statement()
{
    Finalize();
}

CppSQLite3Statement::CppSQLite3Statement(CppSQLite3Statement&& other) noexcept
    : db_(other.db_), statement_(std::exchange(other.statement_, nullptr))
{
}

CppSQLite3Statement& CppSQLite3Statement::operator=(CppSQLite3Statement&& other) noexcept
{
    if (this != &other) {
        Finalize();
        db_ = other.db_;
        statement_ = std::exchange(other.statement_, nullptr);
    }
    return *this;
}

void CppSQLite3Statement::CheckStatement() const
{
    if (!statement_)
        throw CppSQLite3Exception(CppSQLite3Exception::LayerErrorCode, "Null Virtual Machine pointer");
}

void CppSQLite3Statement::Bind(int parameter, std::string_view text)
{
    CheckStatement();
    // A null pointer would bind NULL.
    const int result = sqlite3_bind_text(statement_, parameter, text.empty() ? "" : text.data(),
                                         static_cast<int>(text.size()), SQLITE_STATIC);
    if (result != SQLITE_OK)
        throw CppSQLite3Exception(result, sqlite3_errmsg(db_));
}

int CppSQLite3Statement::ExecuteDML()
{
    CheckStatement();
    const int result = sqlite3_step(statement_);
    if (result != SQLITE_DONE && result != SQLITE_ROW) {
        const CppSQLite3Exception error(result, sqlite3_errmsg(db_));
        sqlite3_reset(statement_);
        throw error;
    }
    sqlite3_reset(statement_);
    return sqlite3_changes(db_);
}

void CppSQLite3Statement::Finalize()
{
    if (statement_)
        sqlite3_finalize(std::exchange(statement_, nullptr));
}

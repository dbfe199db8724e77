// Row cursor over sqlite3_step.
#include "library/CppSQLite3Query.h"

#include <cstring>
#include <string>
#include <utility>

#include <sqlite3.h>

#include "library/CppSQLite3Exception.h"

CppSQLite3Query::CppSQLite3Query(sqlite3* db, sqlite3_stmt* statement, bool atEnd)
    : db_(db), statement_(statement), atEnd_(atEnd)
{
    columnCount_ = statement ? sqlite3_column_count(statement) : 0;
}

CppSQLite3Query::~CppSQLite3Query()
{
    try {
        Finalize();
    } catch (...) {
    }
}

CppSQLite3Query::CppSQLite3Query(CppSQLite3Query&& other) noexcept
    : db_(other.db_),
      statement_(std::exchange(other.statement_, nullptr)),
      atEnd_(other.atEnd_),
      columnCount_(other.columnCount_)
{
}

CppSQLite3Query& CppSQLite3Query::operator=(CppSQLite3Query&& other) noexcept
{
    if (this == &other)
        return *this;
    try {
        Finalize();
    } catch (...) {
    }
    db_ = other.db_;
    statement_ = std::exchange(other.statement_, nullptr);
    atEnd_ = other.atEnd_;
    columnCount_ = other.columnCount_;
    return *this;
}

void CppSQLite3Query::CheckStatement() const
{
    if (!statement_)
        throw CppSQLite3Exception(CppSQLite3Exception::LayerErrorCode, "Null Virtual Machine pointer");
}

void CppSQLite3Query::CheckIndex(int index) const
{
    CheckStatement();
    if (index < 0 || index > columnCount_ - 1)
        throw CppSQLite3Exception(CppSQLite3Exception::LayerErrorCode, "Invalid field index requested");
}

int CppSQLite3Query::FieldCount() const
{
    CheckStatement();
    return columnCount_;
}

int CppSQLite3Query::FieldIndex(const char* name) const
{
    CheckStatement();
    if (name) {
        for (int i = 0; i < columnCount_; ++i) {
            const char* column = sqlite3_column_name(statement_, i);
            if (column && std::strcmp(column, name) == 0)
                return i;
        }
    }
    throw CppSQLite3Exception(CppSQLite3Exception::LayerErrorCode, "Invalid field name requested");
}

const char* CppSQLite3Query::FieldValue(const char* name) const
{
    return FieldValue(FieldIndex(name));
}

const char* CppSQLite3Query::FieldValue(int index) const
{
    CheckIndex(index);
    return reinterpret_cast<const char*>(sqlite3_column_text(statement_, index));
}

int CppSQLite3Query::FieldType(int index) const
{
    CheckIndex(index);
    return sqlite3_column_type(statement_, index);
}

bool CppSQLite3Query::FieldIsNull(const char* name) const
{
    return FieldType(FieldIndex(name)) == SQLITE_NULL;
}

bool CppSQLite3Query::AtEnd() const
{
    CheckStatement();
    return atEnd_;
}

void CppSQLite3Query::NextRow()
{
    CheckStatement();
    const int result = sqlite3_step(statement_);
    if (result == SQLITE_DONE) {
        atEnd_ = true;
    } else if (result != SQLITE_ROW) {
        atEnd_ = true;
        const std::string text = sqlite3_errmsg(db_);
        sqlite3_finalize(std::exchange(statement_, nullptr));
        throw CppSQLite3Exception(result, text.c_str());
    }
}

void CppSQLite3Query::Finalize()
{
    if (!statement_)
        return;
    // The text is taken first: finalizing the last statement of a closed connection frees it.
    const std::string text = sqlite3_errmsg(db_);
    const int code = sqlite3_finalize(std::exchange(statement_, nullptr));
    if (code != SQLITE_OK)
        throw CppSQLite3Exception(code, text.c_str());
}

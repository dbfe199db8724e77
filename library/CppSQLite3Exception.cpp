// Error naming of the SQLite layer.
#include "library/CppSQLite3Exception.h"

#include <sqlite3.h>

CppSQLite3Exception::CppSQLite3Exception(int errorCode, const char* errorText, bool deleteText)
    : code_(errorCode)
{
    message_ = std::string(CodeName(errorCode)) + "[" + std::to_string(errorCode) + "]: " +
               (errorText ? errorText : "");
    if (deleteText && errorText)
        sqlite3_free(const_cast<char*>(errorText));
}

bool CppSQLite3Exception::IsLockError() const
{
    const int primary = code_ & 0xFF;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

const char* CppSQLite3Exception::CodeName(int errorCode)
{
    static const char* const names[] = {
        "SQLITE_OK",       "SQLITE_ERROR",    "SQLITE_INTERNAL", "SQLITE_PERM",     "SQLITE_ABORT",
        "SQLITE_BUSY",     "SQLITE_LOCKED",   "SQLITE_NOMEM",    "SQLITE_READONLY", "SQLITE_INTERRUPT",
        "SQLITE_IOERR",    "SQLITE_CORRUPT",  "SQLITE_NOTFOUND", "SQLITE_FULL",     "SQLITE_CANTOPEN",
        "SQLITE_PROTOCOL", "SQLITE_EMPTY",    "SQLITE_SCHEMA",   "SQLITE_TOOBIG",   "SQLITE_CONSTRAINT",
        "SQLITE_MISMATCH", "SQLITE_MISUSE",   "SQLITE_NOLFS",    "SQLITE_AUTH",     "SQLITE_FORMAT",
        "SQLITE_RANGE",    "SQLITE_NOTADB",   "SQLITE_NOTICE",   "SQLITE_WARNING"};
    switch (errorCode) {
    case SQLITE_ROW: return "SQLITE_ROW";
    case SQLITE_DONE: return "SQLITE_DONE";
    case LayerErrorCode: return "CPPSQLITE_ERROR";
    default: break;
    }
    // An extended code carries its primary code in the low byte.
    const int primary = errorCode & 0xFF;
    if (errorCode >= 0 && primary < static_cast<int>(std::size(names)))
        return names[primary];
    return "UNKNOWN_ERROR";
}

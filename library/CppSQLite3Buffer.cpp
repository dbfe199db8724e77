// SQL text formatting through sqlite3_vmprintf.
#include "library/CppSQLite3Buffer.h"

#include <cstdarg>
#include <new>

#include <sqlite3.h>

CppSQLite3Buffer::~CppSQLite3Buffer()
{
    Clear();
}

const char* CppSQLite3Buffer::Format(const char* format, ...)
{
    Clear();
    va_list arguments;
    va_start(arguments, format);
    text_ = sqlite3_vmprintf(format, arguments);
    va_end(arguments);
    if (!text_)
        throw std::bad_alloc();
    return text_;
}

void CppSQLite3Buffer::Clear()
{
    sqlite3_free(text_);
    text_ = nullptr;
}

// The one error type of the SQLite layer: an SQLite result code and a ready-made message.
#pragma once

#include <string>

class CppSQLite3Exception {
public:
    // Code of the errors found by the layer itself rather than by SQLite.
    static constexpr int LayerErrorCode = 1000;

    // message = CodeName(code) + "[" + code + "]: " + text (empty text for null). When
    // deleteText is set, text was allocated by SQLite and is released here.
    CppSQLite3Exception(int errorCode, const char* errorText, bool deleteText = false);
    virtual ~CppSQLite3Exception() = default;

    int ErrorCode() const { return code_; }
    const char* ErrorMessage() const { return message_.c_str(); }
    // The database was locked by another connection (or table) beyond the busy time-out.
    bool IsLockError() const;

    static const char* CodeName(int errorCode);

private:
    int code_;
    std::string message_;
};

// The one error type of the SQLite layer: an SQLite result code and a ready-made message.
#pragma once

#include <exception>
#include <string>

// A standard exception as well, so that every guard shows its message.
class CppSQLite3Exception : public std::exception {
public:
    // Code of the errors found by the layer itself rather than by SQLite.
    static constexpr int LayerErrorCode = 1000;

    // message = CodeName(code) + "[" + code + "]: " + text (empty text for null). When
    // deleteText is set, text was allocated by SQLite and is released here.
    CppSQLite3Exception(int errorCode, const char* errorText, bool deleteText = false);
    int ErrorCode() const { return code_; }
    const char* ErrorMessage() const { return message_.c_str(); }
    const char* what() const noexcept override { return message_.c_str(); }
    // The database was locked by another connection (or table) beyond the busy time-out.
    bool IsLockError() const;

    static const char* CodeName(int errorCode);

private:
    int code_;
    std::string message_;
};

// One SQL text formatted by SQLite's own printf, so that %Q quotes text values.
#pragma once

class CppSQLite3Buffer {
public:
    CppSQLite3Buffer() = default;
    ~CppSQLite3Buffer();
    CppSQLite3Buffer(const CppSQLite3Buffer&) = delete;
    CppSQLite3Buffer& operator=(const CppSQLite3Buffer&) = delete;

    // Replaces the text with the formatted one; %Q writes a text in single quotes with
    // embedded quotes doubled, a null pointer as NULL.
    const char* Format(const char* format, ...);
    void Clear();
    operator const char*() const { return text_; }

private:
    char* text_ = nullptr;
};

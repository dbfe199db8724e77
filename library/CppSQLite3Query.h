// A cursor over the rows of one prepared SQLite statement. Moving a query hands the
// statement over, so exactly one object finalizes it.
#pragma once

struct sqlite3;
struct sqlite3_stmt;

class CppSQLite3Query {
public:
    // No statement: at its end, no columns.
    CppSQLite3Query() = default;
    // Takes over a statement that has been stepped once; atEnd tells whether that step gave no row.
    CppSQLite3Query(sqlite3* db, sqlite3_stmt* statement, bool atEnd);
    virtual ~CppSQLite3Query();

    CppSQLite3Query(const CppSQLite3Query&) = delete;
    CppSQLite3Query& operator=(const CppSQLite3Query&) = delete;
    CppSQLite3Query(CppSQLite3Query&& other) noexcept;
    CppSQLite3Query& operator=(CppSQLite3Query&& other) noexcept;

    int FieldCount() const;
    // First column whose name equals the given one exactly (case-sensitive).
    int FieldIndex(const char* name) const;
    // Column text of the current row, valid until the next step; null for an SQL NULL.
    const char* FieldValue(const char* name) const;
    const char* FieldValue(int index) const;
    int FieldType(int index) const;
    bool FieldIsNull(const char* name) const;

    bool AtEnd() const;
    void NextRow();
    void Finalize();

private:
    void CheckStatement() const;
    void CheckIndex(int index) const;

    sqlite3* db_ = nullptr;
    sqlite3_stmt* statement_ = nullptr;
    bool atEnd_ = true;
    int columnCount_ = 0;
};

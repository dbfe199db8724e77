// Holds one transaction of a connection: begun on construction, rolled back on
// destruction unless committed, so no path leaves the connection inside a transaction.
#pragma once

class CppSQLite3DB;

class SqlTransaction {
public:
    explicit SqlTransaction(CppSQLite3DB& db);
    ~SqlTransaction();
    SqlTransaction(const SqlTransaction&) = delete;
    SqlTransaction& operator=(const SqlTransaction&) = delete;

    // A failed commit is rolled back by the destructor and its error reaches the caller.
    void Commit();

private:
    CppSQLite3DB& db_;
    bool open_ = true;
};

// Transaction guard over "begin", "commit" and "rollback".
#include "library/SqlTransaction.h"

#include "library/CppSQLite3DB.h"

SqlTransaction::SqlTransaction(CppSQLite3DB& db) : db_(db)
{
    db_.ExecuteStatement("begin transaction;");
}

SqlTransaction::~SqlTransaction()
{
    if (!open_)
        return;
    // The error already on its way matters more than a failed rollback; SQLite may also
    // have rolled the transaction back by itself.
    try {
        db_.ExecuteStatement("rollback transaction;");
    } catch (...) {
    }
}

void SqlTransaction::Commit()
{
    db_.ExecuteStatement("commit transaction;");
    open_ = false;
}

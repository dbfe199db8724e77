// The SQLite connection layer: error codes and messages, cursors over rows.
#include <gtest/gtest.h>

#include "tests/common/TestPaths.h"
#include "tests/library/LibraryFixtures.h"

using strativ::test::Failure;

namespace {

TEST(SqliteLayer, ReportsFailuresWithCodeNameAndText)
{
    // Every primary result code has its name, extended codes that of their primary code.
    EXPECT_STREQ(CppSQLite3Exception(26, nullptr).ErrorMessage(), "SQLITE_NOTADB[26]: ");
    EXPECT_STREQ(CppSQLite3Exception::CodeName(28), "SQLITE_WARNING");
    EXPECT_STREQ(CppSQLite3Exception::CodeName(1555), "SQLITE_CONSTRAINT");
    EXPECT_STREQ(CppSQLite3Exception::CodeName(-3), "UNKNOWN_ERROR");
    strativ::test::TempDir dir;
    CppSQLite3DB db;
    const std::string notOpen = "CPPSQLITE_ERROR[1000]: Database not open";
    EXPECT_EQ(Failure([&] { db.ExecuteStatement("SELECT 1;"); }), notOpen);
    db.Open(dir.file("t.db"));
    db.ExecuteStatement("CREATE TABLE t(a TEXT PRIMARY KEY, b TEXT); INSERT INTO t VALUES('x', NULL), ('y', 'why');");
    const struct {
        std::function<void()> action;
        const char* message;
    } cases[] = {
        {[&] { db.ExecuteStatement("INSERT INTO t VALUES('x', '');"); },
         "SQLITE_CONSTRAINT[19]: UNIQUE constraint failed: t.a"},
        {[&] { db.ExecuteQuery("INSERT INTO t VALUES('y', '') RETURNING a;"); },
         "SQLITE_CONSTRAINT[19]: UNIQUE constraint failed: t.a"},
        {[&] { db.ExecuteQuery("SELECT nope FROM t;"); }, "SQLITE_ERROR[1]: no such column: nope"},
        {[&] { db.ExecuteQuery("   "); }, "no failure"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Failure(c.action), c.message);
    EXPECT_EQ(db.ExecuteStatement("UPDATE t SET b='z';"), 2);
    db.Close();
    EXPECT_EQ(Failure([&] { db.ExecuteQuery("SELECT 1;"); }), notOpen);
}

TEST(SqliteLayer, QueriesWalkRowsAndRefuseBadRequests)
{
    strativ::test::TempDir dir;
    CppSQLite3DB db;
    db.Open(dir.file("t.db"));
    db.ExecuteStatement("CREATE TABLE t(a TEXT, b TEXT); INSERT INTO t VALUES('x', NULL), ('y', 'why');");
    CppSQLite3Query query = db.ExecuteQuery("SELECT t.a, b FROM t ORDER BY a;");
    EXPECT_TRUE(query.FieldIsNull("b"));
    for (int index : {-1, 2})
        EXPECT_EQ(Failure([&] { query.FieldType(index); }), "CPPSQLITE_ERROR[1000]: Invalid field index requested");
    for (const char* name : {"t.a", "A"})  // SQLite names the first column "a"
        EXPECT_EQ(Failure([&] { query.FieldIndex(name); }), "CPPSQLITE_ERROR[1000]: Invalid field name requested");

    // Moving hands the statement over: the source is left without one, the target walks on.
    CppSQLite3Query moved;
    moved = std::move(query);
    EXPECT_EQ(Failure([&] { query.AtEnd(); }), "CPPSQLITE_ERROR[1000]: Null Virtual Machine pointer");
    moved.NextRow();
    EXPECT_STREQ(moved.FieldValue("a"), "y");
    moved.NextRow();
    EXPECT_TRUE(moved.AtEnd());
    EXPECT_EQ(db.ExecuteQuery("SELECT a, b FROM t WHERE a ISNULL;").FieldCount(), 2);  // at its end at once

    CppSQLite3Query late = db.ExecuteQuery("SELECT a FROM t;");
    db.Close();  // a query may outlive its connection
    EXPECT_STREQ(late.FieldValue(0), "x");
}

}  // namespace

namespace {

TEST(SqliteLayer, CompiledStatementsRunAgainWithNewValues)
{
    strativ::test::TempDir dir;
    CppSQLite3DB db;
    db.Open(dir.file("t.db"));
    db.ExecuteStatement("CREATE TABLE t(a TEXT PRIMARY KEY, b TEXT);");
    CppSQLite3Statement insert = db.CompileStatement("INSERT INTO t VALUES(?, ?);");
    const std::string quoted = "it's";
    insert.Bind(1, quoted);
    insert.Bind(2, std::string_view());  // empty text, never NULL
    EXPECT_EQ(insert.ExecuteDML(), 1);
    insert.Bind(1, "x");
    insert.Bind(2, std::string_view("y;z", 1));
    EXPECT_EQ(insert.ExecuteDML(), 1);
    // A refused row leaves the statement ready for the next values.
    insert.Bind(1, quoted);
    EXPECT_EQ(Failure([&] { insert.ExecuteDML(); }), "SQLITE_CONSTRAINT[19]: UNIQUE constraint failed: t.a");
    insert.Bind(1, "w");
    EXPECT_EQ(insert.ExecuteDML(), 1);
    strativ::test::LibraryDbProbe probe(dir.file("t.db"));
    EXPECT_EQ(probe.Rows("SELECT a, b, typeof(b) FROM t ORDER BY a;"),
              (strativ::test::Strings{"it's||text", "w|y|text", "x|y|text"}));

    CppSQLite3Statement moved = std::move(insert);
    EXPECT_FALSE(insert.IsValid());
    EXPECT_EQ(Failure([&] { insert.Bind(1, "v"); }), "CPPSQLITE_ERROR[1000]: Null Virtual Machine pointer");
    moved.Finalize();
    EXPECT_FALSE(moved.IsValid());
}

}  // namespace

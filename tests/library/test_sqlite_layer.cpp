// The SQLite connection layer: error codes and messages, cursors over rows.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "library/CppSQLite3DB.h"
#include "library/CppSQLite3Exception.h"
#include "tests/common/TestPaths.h"
#include "tests/library/LibraryFixtures.h"

namespace {

std::string Failure(const std::function<void()>& action)
{
    return strativ::test::Failure<CppSQLite3Exception>(action);
}

TEST(SqliteLayer, NamesEveryCodeInItsMessages)
{
    const struct {
        int code;
        const char* message;
    } cases[] = {{0, "SQLITE_OK[0]: t"},       {19, "SQLITE_CONSTRAINT[19]: t"}, {25, "SQLITE_RANGE[25]: t"},
                 {26, "UNKNOWN_ERROR[26]: t"}, {101, "SQLITE_DONE[101]: t"},     {1000, "CPPSQLITE_ERROR[1000]: t"}};
    for (const auto& c : cases)
        EXPECT_STREQ(CppSQLite3Exception(c.code, "t").ErrorMessage(), c.message);
    EXPECT_STREQ(CppSQLite3Exception(1, nullptr).ErrorMessage(), "SQLITE_ERROR[1]: ");
}

TEST(SqliteLayer, ReportsFailuresWithCodeAndText)
{
    strativ::test::TempDir dir;
    CppSQLite3DB db;
    EXPECT_EQ(Failure([&] { db.ExecuteStatement("SELECT 1;"); }), "CPPSQLITE_ERROR[1000]: Database not open");
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
        // Compile errors carry the code alone.
        {[&] { db.ExecuteQuery("SELECT nope FROM t;"); }, "SQLITE_ERROR[1]: "},
        {[&] { db.ExecuteQuery("   "); }, "no failure"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Failure(c.action), c.message);
    EXPECT_EQ(db.ExecuteStatement("UPDATE t SET b='z';"), 2);
    db.Close();
    EXPECT_EQ(Failure([&] { db.ExecuteQuery("SELECT 1;"); }), "CPPSQLITE_ERROR[1000]: Database not open");
}

TEST(SqliteLayer, QueriesWalkRowsAndRefuseBadRequests)
{
    strativ::test::TempDir dir;
    CppSQLite3DB db;
    db.Open(dir.file("t.db"));
    db.ExecuteStatement("CREATE TABLE t(a TEXT, b TEXT); INSERT INTO t VALUES('x', NULL), ('y', 'why');");
    CppSQLite3Query query = db.ExecuteQuery("SELECT t.a, b FROM t ORDER BY a;");
    EXPECT_EQ(query.FieldValue("b"), nullptr);
    EXPECT_TRUE(query.FieldIsNull("b"));
    const std::string badIndex = "CPPSQLITE_ERROR[1000]: Invalid field index requested";
    const std::string badName = "CPPSQLITE_ERROR[1000]: Invalid field name requested";
    EXPECT_EQ(Failure([&] { query.FieldType(-1); }), badIndex);
    EXPECT_EQ(Failure([&] { query.FieldType(2); }), badIndex);
    EXPECT_EQ(Failure([&] { query.FieldValue("t.a"); }), badName);  // SQLite names the column "a"
    EXPECT_EQ(Failure([&] { query.FieldIndex("A"); }), badName);
    EXPECT_EQ(Failure([&] { query.FieldIndex(nullptr); }), badName);

    // Moving hands the statement over: the source is left without one, the target walks on.
    CppSQLite3Query moved;
    moved = std::move(query);
    EXPECT_EQ(Failure([&] { query.AtEnd(); }), "CPPSQLITE_ERROR[1000]: Null Virtual Machine pointer");
    moved.NextRow();
    EXPECT_STREQ(moved.FieldValue("a"), "y");
    moved.NextRow();
    EXPECT_TRUE(moved.AtEnd());

    CppSQLite3Query empty = db.ExecuteQuery("SELECT a, b FROM t WHERE a ISNULL;");
    EXPECT_TRUE(empty.AtEnd());
    EXPECT_EQ(empty.FieldCount(), 2);
    // A query may outlive its connection.
    CppSQLite3Query late = db.ExecuteQuery("SELECT a FROM t;");
    db.Close();
    EXPECT_STREQ(late.FieldValue(0), "x");
}

}  // namespace

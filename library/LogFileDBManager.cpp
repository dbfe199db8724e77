// All SQL of the library database.
#include "library/LogFileDBManager.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <filesystem>
#include <stdexcept>

#include "core/FileUtils.h"
#include "core/StringUtils.h"
#include "library/CppSQLite3Buffer.h"
#include "library/CppSQLite3Exception.h"
#include "library/LASDBAdaptor.h"
#include "library/LogFileColumns.h"
#include "library/SqlTransaction.h"

namespace {

struct TableSchema {
    const char* name;
    std::vector<std::string> columns;
    std::string createStatement;
};

const std::vector<TableSchema>& Tables()
{
    static const std::vector<TableSchema> tables = {
        {"logfiles",
         LogFilesColumnList(),
         "CREATE TABLE logfiles( " + JoinStrings(LogFilesColumnList(), " TEXT, ") + " TEXT, PRIMARY KEY (" +
             LogFilesColumnList().front() + "));"},
        {"lookups", {"path"}, "CREATE TABLE lookups( path TEXT, PRIMARY KEY (path));"},
        // Paths compare case-sensitively, as Linux file names do; group names ignore case.
        {"groups",
         {"gr_name", "file"},
         "CREATE TABLE groups( gr_name TEXT COLLATE NOCASE NOT NULL, file TEXT NOT NULL"
         " , PRIMARY KEY (gr_name, file));"},
        {"selections",
         {"sel_order", "last_used"},
         "CREATE TABLE selections( sel_order TEXT COLLATE NOCASE NOT NULL, last_used DATE NOT NULL"
         " , PRIMARY KEY (sel_order));"},
    };
    return tables;
}

// The groups table of databases made before paths compared case-sensitively.
const char* const OldGroupsStatement =
    "CREATE TABLE groups( gr_name TEXT COLLATE NOCASE NOT NULL, file TEXT COLLATE NOCASE NOT NULL"
    " , PRIMARY KEY (gr_name, file))";

// Rows of a batch of the scan: written together, at most this many or after this long.
constexpr size_t ScanBatchFiles = 200;
constexpr auto ScanBatchTime = std::chrono::milliseconds(500);

std::string SqlLiteral(const std::string& value)
{
    CppSQLite3Buffer buffer;
    return buffer.Format("%Q", value.c_str());
}

std::string CodeAndName(const CppSQLite3Exception& error)
{
    return std::string(error.ErrorMessage()) + "\nКод ошибки - " + CppSQLite3Exception::CodeName(error.ErrorCode());
}

std::string DescribeFailure(const std::exception_ptr& failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const CppSQLite3Exception& error) {
        return error.ErrorMessage();
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "unknown error";
    }
}

bool IsLogFilesColumn(const std::string& name)
{
    const std::vector<std::string>& columns = LogFilesColumnList();
    return std::find(columns.begin(), columns.end(), LowerCaseCp1251(name)) != columns.end();
}

bool IsFolderLink(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_symlink(std::filesystem::path(path), error);
}

}  // namespace

// The first failure of a rescan and the caller's stop request.
struct LogFileDBManager::ScanRun {
    const std::atomic<bool>* stop;
    std::string failure;

    bool Stopped() const { return stop && stop->load(std::memory_order_relaxed); }
    void Fail(const std::exception_ptr& error)
    {
        if (failure.empty())
            failure = DescribeFailure(error);
    }
};

LogFileDBManager::LogFileDBManager()
{
    adaptors_.push_back(std::make_unique<LASDBAdaptor>());
}

LogFileDBManager::~LogFileDBManager() = default;

bool LogFileDBManager::Open(const std::string& path)
{
    open_ = false;
    fileName_.clear();
    try {
        db_.Open(path);
        InitSchema();
    } catch (const CppSQLite3Exception& error) {
        db_.Close();
        throw std::runtime_error("Ошибка при инициализации базы:\n" + CodeAndName(error));
    }
    open_ = true;
    fileName_ = path;
    return open_;
}

bool LogFileDBManager::TableExists(const char* name)
{
    CppSQLite3Buffer sql;
    sql.Format("SELECT name FROM sqlite_master WHERE type='table' AND         name=%Q;", name);
    return !db_.ExecuteQuery(sql).AtEnd();
}

void LogFileDBManager::ConvertOldGroups()
{
    CppSQLite3Query query =
        db_.ExecuteQuery("SELECT sql FROM sqlite_master WHERE type='table' AND name='groups';");
    if (query.AtEnd() || !query.FieldValue(0) || std::string(query.FieldValue(0)) != OldGroupsStatement)
        return;
    query = CppSQLite3Query();
    SqlTransaction transaction(db_);
    db_.ExecuteStatement("ALTER TABLE groups RENAME TO groups_old;");
    db_.ExecuteStatement(Tables()[2].createStatement.c_str());
    db_.ExecuteStatement("INSERT OR IGNORE INTO groups(gr_name, file) SELECT gr_name, file FROM groups_old;");
    db_.ExecuteStatement("DROP TABLE groups_old;");
    transaction.Commit();
}

void LogFileDBManager::InitSchema()
{
    ConvertOldGroups();
    for (const TableSchema& table : Tables()) {
        bool exists = TableExists(table.name);
        if (exists) {
            // A table lacking an expected column fails to compile here, which fails Open.
            const std::string check = "SELECT " + JoinStrings(table.columns, ", ") + " FROM " + table.name +
                                      " WHERE " + table.columns.front() + " ISNULL;";
            if (db_.ExecuteQuery(check.c_str()).FieldCount() != static_cast<int>(table.columns.size())) {
                db_.ExecuteStatement(("DROP TABLE IF EXISTS " + std::string(table.name) + ";").c_str());
                exists = false;
            }
        }
        if (!exists)
            db_.ExecuteStatement(table.createStatement.c_str());
    }
}

std::vector<std::string> LogFileDBManager::GetLookupPaths()
{
    std::vector<std::string> paths;
    if (!open_)
        return paths;
    paths.reserve(32);
    for (CppSQLite3Query query = db_.ExecuteQuery("SELECT path FROM lookups;"); !query.AtEnd(); query.NextRow())
        if (const char* path = query.FieldValue("path"))
            paths.emplace_back(path);
    return paths;
}

void LogFileDBManager::AddLookupPath(const std::string& path)
{
    if (!open_)
        return;
    CppSQLite3Buffer sql;
    db_.ExecuteStatement(sql.Format("INSERT INTO lookups(path) values (%Q);", path.c_str()));
}

void LogFileDBManager::DeleteLookupPaths(const std::vector<std::string>& paths)
{
    DeleteRowsInTransaction("lookups", "path", paths);
}

void LogFileDBManager::DeleteGroups(const std::vector<std::string>& names)
{
    DeleteRowsInTransaction("groups", "gr_name", names);
}

void LogFileDBManager::DeleteRowsInTransaction(const char* table, const char* column,
                                               const std::vector<std::string>& values)
{
    if (!open_)
        return;
    SqlTransaction transaction(db_);
    DeleteRows(table, column, values);
    transaction.Commit();
}

// One DELETE per value, inside the caller's transaction: a long list never meets SQLite's
// limits on the length of one statement.
void LogFileDBManager::DeleteRows(const char* table, const char* column, const std::vector<std::string>& values)
{
    CppSQLite3Buffer sql;
    for (const std::string& value : values)
        db_.ExecuteStatement(sql.Format("DELETE FROM %s WHERE %s=%Q;", table, column, value.c_str()));
}

int LogFileDBManager::RescanAllPaths(std::string* error, const std::atomic<bool>* stop)
{
    ScanRun run{stop, {}};
    int count = 0;
    try {
        for (const std::string& path : GetLookupPaths()) {
            if (run.Stopped())
                break;
            count += ScanFolder(path, run);
        }
    } catch (...) {
        run.Fail(std::current_exception());
    }
    if (error)
        *error = run.failure;
    return count;
}

// Sub-folders first, deepest first; then this folder's files in batches. The headers of a batch
// are read outside any transaction, so the write lock is held only while its rows are written.
// A failure rolls back the rows of the batch in hand.
int LogFileDBManager::ScanFolder(std::string folder, ScanRun& run)
{
    if (folder.empty())
        return 0;
    if (folder.back() != '/')
        folder += '/';
    int count = 0;
    for (const std::string& name : GetSubdirList(folder)) {
        if (run.Stopped())
            return count;
        // Links to folders are not followed: a link to an ancestor would never end.
        if (!IsFolderLink(folder + name))
            count += ScanFolder(folder + name + '/', run);
    }
    const std::vector<std::string> files = GetFileList(folder, "*");
    std::vector<std::vector<std::string>> rows;
    size_t next = 0;
    while (next < files.size() && !run.Stopped()) {
        rows.clear();
        const auto started = std::chrono::steady_clock::now();
        try {
            while (next < files.size() && rows.size() < ScanBatchFiles && !run.Stopped() &&
                   std::chrono::steady_clock::now() - started < ScanBatchTime) {
                std::vector<std::string> values;
                if (ReadFileRow(folder + files[next++], values))
                    rows.push_back(std::move(values));
            }
            SqlTransaction transaction(db_);
            for (const std::vector<std::string>& values : rows)
                WriteFileRow(values);
            transaction.Commit();
        } catch (...) {
            run.Fail(std::current_exception());
            return count;
        }
        count += static_cast<int>(rows.size());
    }
    return count;
}

bool LogFileDBManager::ReadFileRow(const std::string& path, std::vector<std::string>& values)
{
    const std::string extension = ExtractExtPart(path);
    for (const auto& adaptor : adaptors_) {
        if (adaptor->SupportsExtension(extension) && adaptor->GetFileValues(path) == 0) {
            values = adaptor->GetValues();
            return true;
        }
    }
    return false;
}

void LogFileDBManager::WriteFileRow(const std::vector<std::string>& values)
{
    // Naming the columns lets a table with extra columns take the row as well.
    static const std::string insert =
        "INSERT OR REPLACE INTO logfiles(" + JoinStrings(LogFilesColumnList(), ", ") + ") VALUES(";
    std::string sql = insert;
    for (size_t i = 0; i < values.size(); ++i)
        sql += (i ? ", " : "") + SqlLiteral(values[i]);
    sql += ");";
    db_.ExecuteStatement(sql.c_str());
}

bool LogFileDBManager::AddFile(const std::string& path)
{
    std::vector<std::string> values;
    if (!open_ || path.empty() || !ReadFileRow(path, values))
        return false;
    WriteFileRow(values);
    return true;
}

void LogFileDBManager::AddFilesToGroup(const std::vector<std::string>& files, const std::string& groupName)
{
    if (!open_)
        return;
    SqlTransaction transaction(db_);
    CppSQLite3Buffer sql;
    for (const std::string& file : files) {
        db_.ExecuteStatement(sql.Format("INSERT OR REPLACE INTO groups(gr_name, file) values (%Q,%Q);",
                                        groupName.c_str(), file.c_str()));
        AddFile(file);
    }
    transaction.Commit();
}

std::vector<std::string> LogFileDBManager::QueryColumn(const std::string& sql, bool sqlInMessage)
{
    std::vector<std::string> values;
    if (!open_)
        return values;
    values.reserve(16);
    try {
        CppSQLite3Query query = db_.ExecuteQuery(sql.c_str());
        if (query.FieldCount() != 1)
            throw std::runtime_error("Структура базы некорректна");
        // Read by position: SQLite names the result column as it likes ("fld", not "logfiles.fld").
        for (; !query.AtEnd(); query.NextRow()) {
            const char* value = query.FieldValue(0);
            values.emplace_back(value ? value : "");
        }
    } catch (const CppSQLite3Exception& error) {
        throw std::runtime_error("Ошибка при запросе к базе:\n" + CodeAndName(error) + (sqlInMessage ? "\n" + sql : ""));
    }
    return values;
}

std::vector<std::string> LogFileDBManager::GetGroupNames()
{
    return QueryColumn("SELECT DISTINCT gr_name FROM groups ORDER BY gr_name;", false);
}

std::vector<std::string> LogFileDBManager::GetGroupFiles()
{
    return QueryColumn("SELECT DISTINCT file FROM groups ORDER BY file;", true);
}

std::vector<std::string> LogFileDBManager::SelectDistinctField()
{
    return QueryColumn("SELECT DISTINCT fld FROM logfiles ORDER BY fld;", false);
}

std::vector<std::string> LogFileDBManager::SelectDistinctValues(const std::string& column,
                                                                const std::vector<std::string>& levelColumns,
                                                                const std::string& condition)
{
    if (!open_)
        return {};
    if (column == "gr_name")
        return GetGroupNames();
    // Only a known column name is ever placed into the statement.
    if (!IsLogFilesColumn(column))
        return {};
    std::string sql = "SELECT DISTINCT logfiles." + column + " FROM ";
    const bool byGroups = std::find(levelColumns.begin(), levelColumns.end(), "gr_name") != levelColumns.end();
    sql += byGroups ? "logfiles INNER JOIN groups ON logfiles.file=groups.file" : "logfiles";
    if (!condition.empty())
        sql += " WHERE " + condition + ";";
    return QueryColumn(sql, false);
}

int LogFileDBManager::RemoveMissingFiles()
{
    if (!open_)
        return 0;
    auto missingOf = [](const std::vector<std::string>& files) {
        std::vector<std::string> missing;
        for (const std::string& file : files)
            if (IsPathAbsent(file))
                missing.push_back(file);
        return missing;
    };
    const std::vector<std::string> missingRows = missingOf(SelectDistinctValues("file", {}, ""));
    const std::vector<std::string> missingMembers = missingOf(GetGroupFiles());
    if (missingRows.empty() && missingMembers.empty())
        return 0;
    SqlTransaction transaction(db_);
    DeleteRows("logfiles", "file", missingRows);
    DeleteRows("groups", "file", missingMembers);
    transaction.Commit();
    return static_cast<int>(missingRows.size() + missingMembers.size());
}

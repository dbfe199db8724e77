// All SQL of the library database.
#include "library/LogFileDBManager.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cstring>
#include <exception>
#include <filesystem>
#include <optional>
#include <sqlite3.h>
#include <stdexcept>
#include <unistd.h>

#include "core/FileUtils.h"
#include "core/StringUtils.h"
#include "library/CppSQLite3Buffer.h"
#include "library/CppSQLite3Exception.h"
#include "library/LASDBAdaptor.h"
#include "library/LockHolder.h"
#include "library/LogFileColumns.h"
#include "library/SqlTransaction.h"
#include "platform/OtherInstance.h"
#include "platform/WorkStop.h"

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
        // The folders of scans not ended yet; older libraries get the table when next opened.
        {"scans",
         {"path", "pid", "scan"},
         "CREATE TABLE scans( path TEXT, pid INTEGER, scan INTEGER, PRIMARY KEY (path));"},
    };
    return tables;
}

const char* const DamagedDatabase = "База данных повреждена";

// The groups table of databases made before paths compared case-sensitively.
const char* const OldGroupsStatement =
    "CREATE TABLE groups( gr_name TEXT COLLATE NOCASE NOT NULL, file TEXT COLLATE NOCASE NOT NULL"
    " , PRIMARY KEY (gr_name, file))";

// Rows of a batch of the scan: written together, at most this many or this long after the first.
constexpr size_t ScanBatchFiles = 200;
constexpr auto ScanBatchTime = std::chrono::milliseconds(500);

// Numbers the scans of this process.
std::atomic<int> scansBegun{0};

// Naming the columns lets a table with extra columns take the row as well.
std::string InsertRowStatement()
{
    const std::vector<std::string>& columns = LogFilesColumnList();
    std::string sql = "INSERT OR REPLACE INTO logfiles(" + JoinStrings(columns, ", ") + ") VALUES(";
    for (size_t i = 0; i < columns.size(); ++i)
        sql += i ? ", ?" : "?";
    return sql + ");";
}

std::string CodeAndName(const CppSQLite3Exception& error)
{
    return std::string(error.ErrorMessage()) + "\nКод ошибки - " + CppSQLite3Exception::CodeName(error.ErrorCode());
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

// For one rescan, commits wait for no disk flush: with the write-ahead journal a crash may lose
// the last batches, which the next rescan writes again, but never damages the database. Every
// other write of the connection stays fully synchronous.
class ScanSynchronous {
public:
    explicit ScanSynchronous(CppSQLite3DB& db) : db_(db) { db_.ExecuteStatement("PRAGMA synchronous=NORMAL;"); }
    ~ScanSynchronous()
    {
        try {
            db_.ExecuteStatement("PRAGMA synchronous=FULL;");
        } catch (...) {
        }
    }
    ScanSynchronous(const ScanSynchronous&) = delete;
    ScanSynchronous& operator=(const ScanSynchronous&) = delete;

private:
    CppSQLite3DB& db_;
};

}  // namespace

// A rescan in hand: the caller's stop request, the files to read and the folder of each, the
// first failure, the rows read and not yet written (their values one after another in one text,
// reused from batch to batch, and the folder each came from) and the number of rows written.
struct LogFileDBManager::ScanRun {
    const std::atomic<bool>* stop = nullptr;
    std::vector<std::string> files;
    std::vector<int> fileFolders;
    int folder = 0;
    std::string failure;
    std::string values;
    std::vector<size_t> valueEnds;
    std::vector<int> rowFolders;
    std::chrono::steady_clock::time_point batchStarted;
    int written = 0;

    // The end of the program stops every scan, the idle one too.
    bool Stopped() const { return (stop && stop->load(std::memory_order_relaxed)) || platform::WorkStopRequested(); }
    void Fail(const std::string& text)
    {
        if (failure.empty())
            failure = text;
    }
    size_t Rows() const { return valueEnds.size() / LogFilesColumnCount; }
    bool BatchFull() const
    {
        return Rows() >= ScanBatchFiles ||
               (Rows() > 0 && std::chrono::steady_clock::now() - batchStarted >= ScanBatchTime);
    }
    void Add(const std::vector<std::string>& row, int rowFolder)
    {
        if (valueEnds.empty())
            batchStarted = std::chrono::steady_clock::now();
        for (const std::string& value : row) {
            values += value;
            valueEnds.push_back(values.size());
        }
        rowFolders.push_back(rowFolder);
    }
    std::string_view Value(size_t row, size_t column) const
    {
        const size_t i = row * LogFilesColumnCount + column;
        const size_t begin = i ? valueEnds[i - 1] : 0;
        return std::string_view(values).substr(begin, valueEnds[i] - begin);
    }
    void Discard()
    {
        values.clear();
        valueEnds.clear();
        rowFolders.clear();
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
    insertRow_.Finalize();
    const auto refusal = [&path](const std::string& reason) {
        return "Ошибка при инициализации базы:\n" + path + "\n" + reason + "; файл не изменён";
    };
    try {
        db_.Open(path);
        if (const std::string reason = RefusalReason(); !reason.empty()) {
            db_.Close();
            throw std::runtime_error(refusal(reason));
        }
        InitSchema();
        db_.ExecuteStatement("PRAGMA journal_mode=WAL;");
        db_.ExecuteStatement("PRAGMA synchronous=FULL;");
        insertRow_ = db_.CompileStatement(InsertRowStatement().c_str());
    } catch (const CppSQLite3Exception& error) {
        db_.Close();
        // SQLite reads the first page before it writes anything: a file of another kind is left as it was.
        if (error.ErrorCode() == SQLITE_NOTADB)
            throw std::runtime_error(refusal("Файл не является базой данных SQLite") + "\n" + CodeAndName(error));
        if ((error.ErrorCode() & 0xFF) == SQLITE_CORRUPT)
            throw std::runtime_error(refusal(DamagedDatabase) + "\n" + CodeAndName(error));
        if (error.IsLockError())
            throw std::runtime_error("Ошибка при инициализации базы:\n" + LockedDatabaseText(path));
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

// Reads only: SQLite writes nothing to a file that is only read.
std::string LogFileDBManager::RefusalReason()
{
    // The first damage found is enough to refuse the file.
    const CppSQLite3Query check = db_.ExecuteQuery("PRAGMA quick_check(1);");
    if (const char* result = check.AtEnd() ? nullptr : check.FieldValue(0); result && std::string(result) != "ok")
        return std::string(DamagedDatabase) + " (" + result + ")";
    if (db_.ExecuteQuery("SELECT 1 FROM sqlite_master LIMIT 1;").AtEnd())
        return {};
    // The tables are created in order: a library whose creation stopped holds the first one.
    CppSQLite3Buffer sql;
    for (const TableSchema& table : Tables()) {
        std::vector<std::string> missing = table.columns;
        bool present = false;
        for (CppSQLite3Query query = db_.ExecuteQuery(sql.Format("PRAGMA table_info(%Q);", table.name));
             !query.AtEnd(); query.NextRow()) {
            present = true;
            if (const char* name = query.FieldValue(1))
                std::erase(missing, LowerCaseCp1251(name));
        }
        if ((present || &table == &Tables().front()) && !missing.empty())
            return "В файле другая база данных, без таблиц библиотеки";
    }
    return {};
}

void LogFileDBManager::ConvertOldGroups()
{
    CppSQLite3Query query =
        db_.ExecuteQuery("SELECT sql FROM sqlite_master WHERE type='table' AND name='groups';");
    if (query.AtEnd() || !query.FieldValue(0) || std::string(query.FieldValue(0)) != OldGroupsStatement)
        return;
    query = CppSQLite3Query();
    db_.ExecuteStatement("ALTER TABLE groups RENAME TO groups_old;");
    db_.ExecuteStatement(Tables()[2].createStatement.c_str());
    db_.ExecuteStatement("INSERT OR IGNORE INTO groups(gr_name, file) SELECT gr_name, file FROM groups_old;");
    db_.ExecuteStatement("DROP TABLE groups_old;");
}

// A transaction that only reads takes no write lock: opening a complete library writes nothing.
void LogFileDBManager::InitSchema()
{
    SqlTransaction transaction(db_);
    ConvertOldGroups();
    for (const TableSchema& table : Tables())
        if (!TableExists(table.name))
            db_.ExecuteStatement(table.createStatement.c_str());
    transaction.Commit();
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

bool LogFileDBManager::AddLookupPath(const std::string& path)
{
    if (!open_)
        return false;
    CppSQLite3Buffer sql;
    return db_.ExecuteStatement(sql.Format("INSERT OR IGNORE INTO lookups(path) values (%Q);", path.c_str())) == 1;
}

void LogFileDBManager::DeleteLookupPaths(const std::vector<std::string>& paths)
{
    if (!open_)
        return;
    // A folder's unfinished scan goes with it.
    SqlTransaction transaction(db_);
    DeleteRows("lookups", "path", paths);
    DeleteRows("scans", "path", paths);
    transaction.Commit();
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

int LogFileDBManager::RescanAllPaths(std::string* error, const std::atomic<bool>* stop, LibraryScanProgress* progress)
{
    return open_ ? RescanPaths(GetLookupPaths(), error, stop, progress) : 0;
}

// The files are listed first, so that the progress knows their number. Rows are written in
// batches that may span folders; the headers are read outside any transaction, so the write
// lock is held only while a batch is written.
int LogFileDBManager::RescanPaths(const std::vector<std::string>& folders, std::string* error,
                                  const std::atomic<bool>* stop, LibraryScanProgress* progress)
{
    if (!open_)
        return 0;
    ScanRun run;
    run.stop = stop;
    const int scan = ++scansBegun;
    bool readAll = false;
    std::optional<ScanSynchronous> synchronous;
    try {
        // Committed before the scan starts, so that a scan stopped or killed leaves the mark.
        MarkFolders("INSERT OR REPLACE INTO scans(path, pid, scan) VALUES (%Q, %d, %d);", folders, scan);
        synchronous.emplace(db_);
        for (std::string folder : folders)
            ListFolder(folder, run);
        if (progress)
            progress->found = static_cast<int>(run.files.size());
        for (size_t i = 0; i < run.files.size() && !run.Stopped(); ++i) {
            if (run.BatchFull())
                WriteBatch(run);
            if (const ILogFileDBAdaptor* adaptor = ReadFileRow(run.files[i]))
                run.Add(adaptor->GetValues(), run.fileFolders[i]);
            if (progress)
                progress->read = static_cast<int>(i + 1);
        }
        readAll = !run.Stopped();
    } catch (...) {
        run.Fail(DescribeLibraryFailure(std::current_exception(), fileName_));
        run.Discard();
    }
    WriteBatch(run);
    if (readAll && run.failure.empty()) {
        try {
            // A scan begun later owns the mark of its folders.
            MarkFolders("DELETE FROM scans WHERE path=%Q AND pid=%d AND scan=%d;", folders, scan);
        } catch (...) {
            run.Fail(DescribeLibraryFailure(std::current_exception(), fileName_));
        }
    }
    if (error)
        *error = run.failure;
    return run.written;
}

// The statement takes the folder, the process and the scan, in this order.
void LogFileDBManager::MarkFolders(const char* statement, const std::vector<std::string>& folders, int scan)
{
    SqlTransaction transaction(db_);
    CppSQLite3Buffer sql;
    for (const std::string& folder : folders)
        db_.ExecuteStatement(sql.Format(statement, folder.c_str(), static_cast<int>(getpid()), scan));
    transaction.Commit();
}

// A folder taken out of the library is no longer unfinished, whatever mark it left.
std::vector<std::string> LogFileDBManager::UnfinishedFolders(bool resumableOnly)
{
    std::vector<std::string> folders;
    if (!open_)
        return folders;
    for (CppSQLite3Query query = db_.ExecuteQuery("SELECT scans.path, scans.pid FROM scans INNER JOIN lookups"
                                                  " ON scans.path=lookups.path ORDER BY scans.path;");
         !query.AtEnd(); query.NextRow()) {
        const char* path = query.FieldValue(0);
        const char* pid = query.FieldValue(1);
        long long number = 0;
        if (pid)
            std::from_chars(pid, pid + std::strlen(pid), number);
        if (path && !(resumableOnly && platform::IsOtherInstance(number)))
            folders.emplace_back(path);
    }
    return folders;
}

std::vector<std::string> LogFileDBManager::GetUnfinishedScans()
{
    return UnfinishedFolders(false);
}

std::vector<std::string> LogFileDBManager::GetResumableScans()
{
    return UnfinishedFolders(true);
}

// Sub-folders first, deepest first; then this folder's files.
void LogFileDBManager::ListFolder(std::string& folder, ScanRun& run)
{
    if (folder.empty() || run.Stopped())
        return;
    if (folder.back() != '/')
        folder += '/';
    const size_t length = folder.size();
    const FolderContents contents = GetFolderContents(folder);
    for (const std::string& name : contents.folders) {
        folder += name;
        // Links to folders are not followed: a link to an ancestor would never end.
        if (!IsFolderLink(folder))
            ListFolder(folder += '/', run);
        folder.resize(length);
    }
    ++run.folder;
    for (const std::string& name : contents.files) {
        run.files.push_back(folder + name);
        run.fileFolders.push_back(run.folder);
    }
}

// A failure rolls the batch back. Unless the database was locked, the rows of each folder of the
// batch are then written again in a transaction of their own, so that only the folder of the
// failing row loses its rows; the scan goes on.
void LogFileDBManager::WriteBatch(ScanRun& run)
{
    const auto write = [this, &run](size_t first, size_t last) {
        SqlTransaction transaction(db_);
        std::array<std::string_view, LogFilesColumnCount> row;
        for (size_t r = first; r < last; ++r) {
            for (size_t column = 0; column < LogFilesColumnCount; ++column)
                row[column] = run.Value(r, column);
            WriteFileRow(row);
        }
        transaction.Commit();
        run.written += static_cast<int>(last - first);
    };
    const size_t rows = run.Rows();
    if (rows == 0)
        return;
    try {
        write(0, rows);
    } catch (const CppSQLite3Exception& error) {
        run.Fail(DescribeLibraryFailure(std::current_exception(), fileName_));
        if (!error.IsLockError() && run.rowFolders.front() != run.rowFolders.back()) {
            for (size_t first = 0, last = 0; first < rows; first = last) {
                while (last < rows && run.rowFolders[last] == run.rowFolders[first])
                    ++last;
                try {
                    write(first, last);
                } catch (...) {
                }
            }
        }
    } catch (...) {
        run.Fail(DescribeLibraryFailure(std::current_exception(), fileName_));
    }
    run.Discard();
}

std::string DescribeLibraryFailure(const std::exception_ptr& failure, const std::string& databasePath)
{
    try {
        std::rethrow_exception(failure);
    } catch (const CppSQLite3Exception& error) {
        return error.IsLockError() ? LockedDatabaseText(databasePath) : error.ErrorMessage();
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "unknown error";
    }
}

const ILogFileDBAdaptor* LogFileDBManager::ReadFileRow(const std::string& path)
{
    const std::string extension = ExtractExtPart(path);
    for (const auto& adaptor : adaptors_)
        if (adaptor->SupportsExtension(extension) && adaptor->GetFileValues(path) == 0)
            return adaptor.get();
    return nullptr;
}

template <typename Values>
void LogFileDBManager::WriteFileRow(const Values& values)
{
    for (size_t column = 0; column < LogFilesColumnCount; ++column)
        insertRow_.Bind(static_cast<int>(column) + 1, values[column]);
    insertRow_.ExecuteDML();
}

bool LogFileDBManager::AddFile(const std::string& path)
{
    if (!open_ || path.empty())
        return false;
    const ILogFileDBAdaptor* adaptor = ReadFileRow(path);
    if (!adaptor)
        return false;
    WriteFileRow(adaptor->GetValues());
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
    try {
        SqlTransaction transaction(db_);
        DeleteRows("logfiles", "file", missingRows);
        DeleteRows("groups", "file", missingMembers);
        transaction.Commit();
    } catch (const CppSQLite3Exception& error) {
        throw std::runtime_error("Ошибка при запросе к базе:\n" + CodeAndName(error));
    }
    return static_cast<int>(missingRows.size() + missingMembers.size());
}

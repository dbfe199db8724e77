// The library database: its schema, the library folders and their scan into one row per
// file, the named groups of files and the distinct-value queries of the library tree.
#pragma once

#include <atomic>
#include <exception>
#include <string>
#include <vector>

#include "library/CppSQLite3DB.h"
#include "library/CppSQLite3Statement.h"
#include "library/ILogFileDBAdaptor.h"

// Files of a scan found and read so far, read by another thread while the scan runs.
struct LibraryScanProgress {
    std::atomic<int> found{0};
    std::atomic<int> read{0};
};

// The text of a failure of work on the library database; for a locked database, who holds the lock.
std::string DescribeLibraryFailure(const std::exception_ptr& failure, const std::string& databasePath);

class LogFileDBManager {
public:
    LogFileDBManager();
    ~LogFileDBManager();
    LogFileDBManager(const LogFileDBManager&) = delete;
    LogFileDBManager& operator=(const LogFileDBManager&) = delete;

    // Opens (closing any file held before), checks the pages and the schema; an empty file becomes
    // a new library and one of ours with missing tables is completed. A failure, a damaged
    // database or any other closes the connection, leaving the file as it was, and throws
    // std::runtime_error with "Ошибка при инициализации базы:\n"...
    bool Open(const std::string& path);
    bool IsOpen() const { return open_; }
    // The file of the last successful Open, empty while closed.
    const std::string& GetFileName() const { return fileName_; }

    // Every operation below answers as empty, 0 or false without SQL while not open.
    std::vector<std::string> GetLookupPaths();
    // False when the folder was listed already.
    bool AddLookupPath(const std::string& path);
    void DeleteLookupPaths(const std::vector<std::string>& paths);
    // Rows written. A failure is kept in *error (empty when none) instead of being
    // thrown; *stop, when given, ends the scan between files; *progress, when given, counts the
    // files as they are read.
    int RescanAllPaths(std::string* error = nullptr, const std::atomic<bool>* stop = nullptr,
                       LibraryScanProgress* progress = nullptr);
    // The same for the given folders only. The folders are marked unfinished in the library
    // before the scan starts; only a scan that read every file and wrote every row takes the
    // mark off, so a scan stopped, failed or killed leaves it.
    int RescanPaths(const std::vector<std::string>& folders, std::string* error, const std::atomic<bool>* stop,
                    LibraryScanProgress* progress);
    // Library folders whose scan began and did not end: stopped, failed, killed or still running.
    std::vector<std::string> GetUnfinishedScans();
    // Those of them that no other running instance of the program is scanning.
    std::vector<std::string> GetResumableScans();
    // True when an adaptor took the file and its row was written (replacing an old one).
    bool AddFile(const std::string& path);
    void AddFilesToGroup(const std::vector<std::string>& files, const std::string& groupName);
    void DeleteGroups(const std::vector<std::string>& names);
    std::vector<std::string> GetGroupNames();
    std::vector<std::string> GetGroupFiles();
    // Distinct values of a logfiles column (or the group names for "gr_name"), joined with
    // the groups when "gr_name" is a level column; condition is an SQL expression or empty.
    std::vector<std::string> SelectDistinctValues(const std::string& column,
                                                  const std::vector<std::string>& levelColumns,
                                                  const std::string& condition);
    std::vector<std::string> SelectDistinctField();
    // Deletes the rows and group entries of files that no longer exist (a file that merely cannot
    // be reached is kept); returns their number. A failed delete is rolled back and thrown as the
    // queries' errors are.
    int RemoveMissingFiles();

private:
    struct ScanRun;

    // Why the database is refused, empty when it is not: its pages are damaged, or it is another
    // program's (neither empty nor holding the first library table and each library table it
    // holds with its columns). Reads only.
    std::string RefusalReason();
    // Creates the missing tables, in one transaction.
    void InitSchema();
    // Re-creates a groups table whose paths ignored letter case, its rows kept.
    void ConvertOldGroups();
    // The adaptor that took the file and holds its row values; null when none did.
    const ILogFileDBAdaptor* ReadFileRow(const std::string& path);
    // Binds one value per logfiles column and writes the row (replacing an old one).
    template <typename Values>
    void WriteFileRow(const Values& values);
    bool TableExists(const char* name);
    // The library folders whose scan did not end; resumableOnly: but those another running
    // instance of the program began the last scan of.
    std::vector<std::string> UnfinishedFolders(bool resumableOnly);
    // Puts or takes off the marks of the folders of this scan of this process, in one transaction.
    void MarkFolders(const char* statement, const std::vector<std::string>& folders, int scan);
    // Lists the files of the folder in the order they are read.
    void ListFolder(std::string& folder, ScanRun& run);
    // Writes the rows read so far in one transaction.
    void WriteBatch(ScanRun& run);
    void DeleteRows(const char* table, const char* column, const std::vector<std::string>& values);
    void DeleteRowsInTransaction(const char* table, const char* column, const std::vector<std::string>& values);
    std::vector<std::string> QueryColumn(const std::string& sql, bool sqlInMessage);

    CppSQLite3DB db_;
    // Compiled once per open file; finalized before the connection closes.
    CppSQLite3Statement insertRow_;
    bool open_ = false;
    ILogDBAdaptors adaptors_;
    std::string fileName_;
};

// Generated LAS files, and a second connection that shows what a library database holds.
#pragma once

#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <sqlite3.h>
#include <unistd.h>

#include "library/CppSQLite3DB.h"
#include "library/CppSQLite3Exception.h"
#include "library/LogFileDBManager.h"

namespace strativ::test {

using Strings = std::vector<std::string>;

// ~W lines by mnemonic, values written as given (OEM text stays OEM); dataRows rows of ~A.
inline void WriteLas(const std::string& path, const std::map<std::string, std::string>& wellLines, int dataRows = 3)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary);
    out << "~Version Information\n VERS.  2.0 : CWLS LOG ASCII STANDARD -VERSION 2.0\n WRAP.  NO : ONE LINE\n"
           "~Well Information\n STRT.M  100.0 : START DEPTH\n STEP.M  0.1 : STEP\n NULL.  -999.25 : NULL VALUE\n"
        << " STOP.M  " << 100.0 + (dataRows - 1) * 0.1 << " : STOP DEPTH\n";
    for (const auto& [mnemonic, value] : wellLines)
        out << " " << mnemonic << ".   " << value << " : " << mnemonic << " line\n";
    out << "~Curve Information\n DEPT.M  : DEPTH\n GR  .API  : GAMMA RAY\n~A  DEPTH     GR\n";
    for (int i = 0; i < dataRows; ++i)
        out << 100.0 + i * 0.1 << "  " << 50.0 + (i % 97) * 0.37 << "\n";
}

// folders x filesPerFolder files root/fieldF/wI.las, with the six ~W lines of a library row.
inline Strings MakeLibrary(const std::string& root, int folders, int filesPerFolder, int dataRows = 3)
{
    Strings files;
    for (int f = 0; f < folders; ++f)
        for (int i = 0; i < filesPerFolder; ++i) {
            files.push_back(root + "/field" + std::to_string(f) + "/w" + std::to_string(i) + ".las");
            WriteLas(files.back(),
                     {{"FLD", "Field " + std::to_string(f)}, {"WELL", std::to_string(i)}, {"COMP", "Comp"},
                      {"SRVC", "Srvc"}, {"DATE", "13-DEC-86"}, {"UWI", std::to_string(f * 1000 + i)}},
                     dataRows);
        }
    return files;
}

// Rescans the library of the database in a child process whose connections first get the SQLite
// extension `install` (a hook that ends or stops the process at a chosen point); the child's pid,
// negative when it did not start. No connection may be open across the fork.
inline pid_t ForkRescan(const std::string& database, int (*install)(sqlite3*, char**, const sqlite3_api_routines*))
{
    const pid_t scanner = fork();
    if (scanner == 0) {
        sqlite3_auto_extension(reinterpret_cast<void (*)()>(install));
        LogFileDBManager manager;
        manager.Open(database);
        manager.RescanAllPaths();
        _exit(0);
    }
    return scanner;
}

// The message of the error the action raised (the wrapper's or a standard one), "no failure"
// when it raised none; the two kinds are told apart by their texts.
inline std::string Failure(const std::function<void()>& action)
{
    try {
        action();
    } catch (const CppSQLite3Exception& error) {
        return error.ErrorMessage();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "no failure";
}

class LibraryDbProbe {
public:
    explicit LibraryDbProbe(const std::string& path) { db_.Open(path); }

    // Every row of the query, its columns joined with "|" (NULL as "<null>").
    Strings Rows(const std::string& sql)
    {
        Strings rows;
        for (CppSQLite3Query query = db_.ExecuteQuery(sql.c_str()); !query.AtEnd(); query.NextRow()) {
            std::string row;
            for (int i = 0; i < query.FieldCount(); ++i) {
                const char* value = query.FieldValue(i);
                row += (i ? "|" : "") + std::string(value ? value : "<null>");
            }
            rows.push_back(row);
        }
        return rows;
    }
    int Count(const std::string& table) { return std::stoi(Rows("SELECT count(*) FROM " + table + ";").at(0)); }
    void Execute(const std::string& sql) { db_.ExecuteStatement(sql.c_str()); }

private:
    CppSQLite3DB db_;
};

}  // namespace strativ::test

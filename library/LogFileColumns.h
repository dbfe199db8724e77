// The program-wide column table: the names an adaptor may offer for a file. The first
// seven are the columns of the logfiles table, in the order of the schema and of every row.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::array<std::string_view, 11> LogFileColumnTable = {
    "file", "fld", "well", "comp", "srvc", "date", "uwi", "loc", "api", "format", ""};

inline constexpr size_t LogFilesColumnCount = 7;

inline const std::vector<std::string>& LogFilesColumnList()
{
    static const std::vector<std::string> columns(LogFileColumnTable.begin(),
                                                  LogFileColumnTable.begin() + LogFilesColumnCount);
    return columns;
}

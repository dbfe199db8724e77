// File system helpers; masks match ignoring letter case, as file masks do on Windows.
#include "core/FileUtils.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "core/StringUtils.h"

namespace fs = std::filesystem;

namespace {

// Byte length of the UTF-8 character starting at text[pos] (a stray byte counts as one).
std::size_t CharLength(std::string_view text, std::size_t pos)
{
    std::size_t end = pos + 1;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        ++end;
    return end - pos;
}

// Wildcard match with backtracking to the last '*'.
bool WildcardMatch(std::string_view name, std::string_view mask)
{
    std::size_t n = 0;
    std::size_t m = 0;
    std::size_t starMask = std::string_view::npos;
    std::size_t starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == '*') {
            starMask = ++m;
            starName = n;
        } else if (m < mask.size() && mask[m] == '?') {
            n += CharLength(name, n);
            ++m;
        } else if (m < mask.size() && mask[m] == name[n]) {
            ++n;
            ++m;
        } else if (starMask != std::string_view::npos) {
            starName += CharLength(name, starName);
            n = starName;
            m = starMask;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    return m == mask.size();
}

template <typename Keep>
std::vector<std::string> ListFolder(const std::string& folder, Keep keep)
{
    std::vector<std::string> names;
    std::error_code error;
    fs::directory_iterator it(fs::path(folder), error);
    if (error)
        return names;
    for (const fs::directory_entry& entry : it) {
        if (keep(entry))
            names.push_back(entry.path().filename().string());
    }
    // Name order, so that every list of files reads the same from run to run.
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

bool MatchesFileMask(std::string_view name, std::string_view mask)
{
    if (mask == "*.*")  // as on Windows, also names without a point
        return true;
    return WildcardMatch(AnsiUpperCase(name), AnsiUpperCase(mask));
}

namespace {

// folder + separator (when needed) + name + N + "." + ext for the first N from 0 that `free` takes.
template <typename Free>
std::string FirstNumberedName(const std::string& folder, const std::string& name, const std::string& ext, Free free)
{
    std::string prefix = folder;
    if (!prefix.empty() && prefix.back() != '/' && prefix.back() != '\\')
        prefix += '/';
    prefix += name;
    for (unsigned long long counter = 0;; ++counter) {
        std::string candidate = prefix + std::to_string(counter) + "." + ext;
        if (free(candidate))
            return candidate;
    }
}

}  // namespace

std::string MakeUniqueFileName(const std::string& folder, const std::string& name, const std::string& ext)
{
    return FirstNumberedName(folder, name, ext, [](const std::string& candidate) { return !FileExists(candidate); });
}

bool CreateUniqueFile(const std::string& folder, const std::string& name, const std::string& ext, std::string& path)
{
    bool created = false;
    path = FirstNumberedName(folder, name, ext, [&](const std::string& candidate) {
        std::FILE* file = std::fopen(candidate.c_str(), "wx");
        created = file != nullptr;
        if (file)
            std::fclose(file);
        return created || errno != EEXIST;
    });
    return created;
}

std::string ResolveTypedFileName(const std::string& typed, const std::string& folder, const std::string& extension)
{
    fs::path path(typed);
    if (path.empty())
        return typed;
    const std::string name = path.filename().string();
    if (name.find_first_not_of('.') == std::string::npos)
        return {};  // "", ".", "..": a folder, no file name
    if (path.is_relative() && !folder.empty())
        path = fs::path(folder) / path;
    // Digits after the last dot are a part of the name ("Well 1.2", "-999.25"), not its type.
    const std::size_t dot = name.rfind('.');
    const bool typedExtension = dot != std::string::npos && dot + 1 < name.size() &&
                                std::all_of(name.begin() + static_cast<std::ptrdiff_t>(dot) + 1, name.end(),
                                            [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); });
    if (!typedExtension && !extension.empty())
        path += (name.back() == '.' ? "" : ".") + extension;
    return path.string();
}

std::vector<std::string> GetFileList(const std::string& folder, const std::string& mask)
{
    return ListFolder(folder, [&mask](const fs::directory_entry& entry) {
        std::error_code error;
        return entry.is_regular_file(error) && MatchesFileMask(entry.path().filename().string(), mask);
    });
}

std::vector<std::string> GetSubdirList(const std::string& folder)
{
    return ListFolder(folder, [](const fs::directory_entry& entry) {
        std::error_code error;
        return entry.is_directory(error);
    });
}

FolderContents GetFolderContents(const std::string& folder)
{
    FolderContents contents;
    std::error_code error;
    fs::directory_iterator it(fs::path(folder), error);
    if (error)
        return contents;
    for (const fs::directory_entry& entry : it) {
        if (entry.is_directory(error))
            contents.folders.push_back(entry.path().filename().string());
        else if (entry.is_regular_file(error))
            contents.files.push_back(entry.path().filename().string());
    }
    return contents;
}

bool FileExists(const std::string& path)
{
    std::error_code error;
    return !path.empty() && fs::exists(fs::path(path), error);
}

void DeleteFileByName(const std::string& path)
{
    std::error_code error;
    if (!fs::is_directory(fs::path(path), error))
        fs::remove(fs::path(path), error);
}

std::string ReadTextFileLines(const std::string& path, int maxLines, std::string_view sep)
{
    std::ifstream in(path, std::ios::binary);
    std::string result;
    std::string line;
    for (int count = 0; (maxLines <= 0 || count < maxLines) && ReadLine(in, line); ++count) {
        result += sep;
        result += line;
    }
    return result;
}

bool CopyFileNoReplace(const std::string& source, const std::string& target)
{
    std::error_code error;
    if (fs::is_directory(source, error) || fs::symlink_status(target, error).type() != fs::file_type::not_found)
        return false;
    if (fs::copy_file(source, target, fs::copy_options::none, error))
        return true;
    // A failed copy must not leave a truncated file that looks like the copy.
    if (error.value() != EEXIST)
        fs::remove(target, error);
    return false;
}

bool MoveFileNoReplace(const std::string& source, const std::string& target)
{
    if (renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EXDEV)
        return false;
    std::error_code error;
    if (!CopyFileNoReplace(source, target))
        return false;
    if (!fs::remove(source, error)) {
        fs::remove(target, error);
        return false;
    }
    return true;
}

bool IsPathAbsent(const std::string& path)
{
    struct stat info {};
    if (stat(path.c_str(), &info) == 0)
        return false;
    return errno == ENOENT || errno == ENOTDIR;
}

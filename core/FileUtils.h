// File system helpers over std::filesystem.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// folder + separator (when needed) + name + N + "." + ext for the first N from 0 that does not exist.
std::string MakeUniqueFileName(const std::string& folder, const std::string& name, const std::string& ext);
// Creates the empty file of that name for the first N whose file does not exist, exclusively, so
// that programs running at once never take the same name. False when it cannot be created; `path`
// is then the name last tried.
bool CreateUniqueFile(const std::string& folder, const std::string& name, const std::string& ext, std::string& path);
// Names of the plain files of the folder matching the mask ('*', '?'; letter case ignored), in
// name order (byte by byte).
std::vector<std::string> GetFileList(const std::string& folder, const std::string& mask);
// Names of the sub-folders of the folder, in name order.
std::vector<std::string> GetSubdirList(const std::string& folder);
// The sub-folders and the files of a folder (names), from one pass over it.
struct FolderContents {
    std::vector<std::string> folders;
    std::vector<std::string> files;
};
FolderContents GetFolderContents(const std::string& folder);
// A file name as the user typed it: a relative one is taken in `folder`, and "." + `extension` is
// added unless the name ends with an extension of letters alone (none added for an empty
// `extension`). "" for a name of dots alone or a folder path ending with a separator.
std::string ResolveTypedFileName(const std::string& typed, const std::string& folder, const std::string& extension);
// Whether the path exists (file or folder).
bool FileExists(const std::string& path);
// Copies a plain file to target; false when target exists or the copy failed (no partial target left).
bool CopyFileNoReplace(const std::string& source, const std::string& target);
// Moves a file to target (also across file systems); false when target exists or the move failed.
bool MoveFileNoReplace(const std::string& source, const std::string& target);
// Whether the system reports that nothing is at the path (ENOENT, or ENOTDIR for a component that is
// no folder); a path it merely cannot reach (no permission, a link loop, a failing mount) is not absent.
bool IsPathAbsent(const std::string& path);
// Deletes a plain file; the result is not reported.
void DeleteFileByName(const std::string& path);
// The file's lines, each preceded by sep; at most maxLines lines when maxLines > 0.
std::string ReadTextFileLines(const std::string& path, int maxLines, std::string_view sep);
// Whether the name matches the mask ('*' any run, '?' one character), ignoring letter case.
bool MatchesFileMask(std::string_view name, std::string_view mask);

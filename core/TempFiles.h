// The files our saves make on the way: hidden temporaries made locked, so that a save still
// running is never taken for one that was killed, and the copying and syncing that make a save
// durable.
#pragma once

#include <functional>
#include <string>
#include <string_view>

// How our files are named: a temporary of new content, and a copy of old content (as earlier
// versions named every temporary, so a copy they left is never taken for a temporary).
inline constexpr std::string_view kTemporaryName = ".strativ-tmp-";
inline constexpr std::string_view kCopyName = ".strativ-";
// The length mkostemp adds to the name.
inline constexpr std::size_t kUniqueLength = 6;

// "<folder><name>XXXXXX", created 0600 and locked for as long as the descriptor is open;
// -1 (errno set) on failure. `folder` ends with a separator.
int MakeLockedTemporary(const std::string& folder, std::string_view name, std::string& path);
// Whether no running save holds the file `fd` is open on (its lock is then taken by `fd`).
bool HeldByNoSave(int fd);
// The folder of a path, ending with a separator ("./" for a bare name).
std::string FolderOf(const std::string& path);
// Makes the names in the folder of `path` durable; false (errno set) on failure.
bool SyncFolderOf(const std::string& path);
// The first `size` bytes of `from` become the whole of `to`, synced; `written` (when given) is told
// the bytes written so far after each block. False (errno set) on failure.
bool CopyContent(int from, int to, long long size, const std::function<void(long long)>& written = {});
// The file a path names once its symbolic links are followed, whether or not that file exists;
// "" (errno ELOOP) for a loop of links.
std::string FollowLinks(std::string path);

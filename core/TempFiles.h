// The hidden temporary files our saves make beside their targets: made locked, so that a save
// still running is never taken for one that was killed, and removed once stale.
#pragma once

#include <string>

// "<folder>.strativ-XXXXXX", created 0600 and locked for as long as the descriptor is open;
// -1 (errno set) on failure. `folder` ends with a separator.
int MakeLockedTemporary(const std::string& folder, std::string& path);
// Removes the temporaries of ours in `folder` that no running save holds and that nothing has
// written for some minutes (left by a save that was killed); the files of others stay.
void RemoveStaleTemporaries(const std::string& folder);
// The file a path names once its symbolic links are followed, whether or not that file exists;
// "" (errno ELOOP) for a loop of links.
std::string FollowLinks(std::string path);

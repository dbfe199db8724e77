// The journal of our saves: one small record file per file a running save made, kept in a folder of
// the profile, so that what a killed save left is known. A temporary is removed once no save holds
// it; the whole copy of the old content of a file written in place is offered back at the next start.
#pragma once

#include <string>
#include <vector>

// A file written in place whose save did not end: its old content is whole in `copy`.
struct InterruptedSave {
    std::string record;
    std::string target;
    std::string copy;
    long long oldSize = 0;
    long long newSize = 0;
};

namespace savejournal {

// The records' folder (made when missing), set by the program at start before any save; "" (the
// default) keeps no records, and then no temporary is ever removed but by its own save.
void SetFolder(const std::string& folder);
const std::string& Folder();

// Records the temporary `path` that `fd` holds; the record's file, "" when none is kept.
std::string RecordTemporary(const std::string& path, int fd);
// Turns the record of a temporary that holds the complete, synced old content of `target` into the
// record of that copy, on disk when it returns true; with no journal kept, true for no `record`.
bool RecordCopy(const std::string& record, const std::string& copy, int fd, const std::string& target,
                long long oldSize, long long newSize);
// Drops a record; `durable`: on disk when it returns.
void Drop(const std::string& record, bool durable);

// Removes the recorded temporaries that no running save holds, and the records of what is gone.
void RemoveLeftTemporaries();
// The copies of killed saves in place (none of a save still running); records whose copy is gone
// are dropped.
std::vector<InterruptedSave> InterruptedSaves();
// Writes the copy back over the target as a save, then removes the copy and the record; false
// (errno set; both kept) on failure.
bool Restore(const InterruptedSave& save);
// Drops the record and leaves the copy where it is: no clean-up touches a file it has no record of.
void Forget(const InterruptedSave& save);

}  // namespace savejournal

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
    // As found: times in seconds since the epoch; fileSize -1 when the target is gone.
    long long copyTime = 0;
    long long fileSize = -1;
    long long fileTime = 0;
    // The target is no longer what the killed save (or a restore cut short) left: gone, of a size
    // no such write leaves, or written after the journal's last write to it.
    bool changed = false;
};

namespace savejournal {

// The error, in errno's place, of a save refused because the journal's disk (the profile's) is full.
inline constexpr int kJournalDiskFull = -28;

// The records' folder (made when missing), set by the program at start before any save; "" (the
// default) keeps no records, and then no temporary is ever removed but by its own save.
void SetFolder(const std::string& folder);
const std::string& Folder();

// Records the temporary `path` that `fd` holds, on disk when it returns; the record's file, ""
// (errno set) when none is kept.
std::string RecordTemporary(const std::string& path, int fd);
// Turns the record of a temporary that holds the complete, synced old content of `target` into the
// record of that copy, on disk when it returns true; with no journal kept (no `record`), true.
bool RecordCopy(const std::string& record, const std::string& copy, int fd, const std::string& target,
                long long oldSize, long long newSize);
// Drops a record; `durable`: on disk when it returns.
void Drop(const std::string& record, bool durable);

// Writes the first `size` bytes of `from` over the recorded target `to` as CopyContent does; after
// each block the record is touched, so that a target no newer than its record was last written by
// us. Calls the in-place write hook.
bool WriteRecordedTarget(int from, int to, long long size, const std::string& record);

// Removes the recorded temporaries that no running save holds, and the records of what is gone;
// in the journal's folder also the temporaries no record names and the records half replaced,
// that no running save holds.
void RemoveLeftTemporaries();
// The copies of killed saves in place (none of a save still running), the oldest one a file;
// records whose copy is gone are dropped.
std::vector<InterruptedSave> InterruptedSaves();
// Writes the copy back into the target in place, then removes the copy and the record; false
// (errno set; both kept) on failure. Cut short, it leaves the record as it was.
bool Restore(const InterruptedSave& save);
// Drops the record and leaves the copy where it is: no clean-up takes a copy for a temporary.
void Forget(const InterruptedSave& save);

}  // namespace savejournal

// Tests stop a save or a restore in the middle with it: told the bytes written in place so far.
void SetInPlaceWriteHook(void (*written)(long long));

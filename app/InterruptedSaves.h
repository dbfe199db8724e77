// At start: the save journal is kept in the profile, and the old content of a file whose save in
// place was cut short (a crash, a kill, a power cut) is offered back.
#pragma once

#include <string>

// Keeps the journal in `profileDir`; for each interrupted save asks whether to restore the old
// content (a save over the file) or leaves the file and its copy and says where the copy is.
void StartSaveJournal(const std::string& profileDir);

// Unsaved edits of the LAS editor kept in the profile folder when the program is ended from
// outside (a logout, a shutdown, kill), and offered at the next start.
#pragma once

#include <QString>

class TFormEditor;

// Writes the editor's unsaved table or text edits into `profileDir` (ending with "/") with the
// name of the file they belong to; nothing when there are none. Each call keeps its edits under
// names of its own, so that programs ending at once (one profile, two displays) all keep theirs.
void KeepLasEditorEdits(TFormEditor& editor, const QString& profileDir);

// Offers each set of edits kept by KeepLasEditorEdits in turn, naming its file. Accepted, they open
// in the editor as unsaved edits of that file and their copy goes; declined, the copy is removed
// once the user confirms, or else set aside in the profile folder and the user told where. Once a
// set is open, the others are named and left for the next start.
void OfferKeptLasEditorEdits(TFormEditor& editor, const QString& profileDir);

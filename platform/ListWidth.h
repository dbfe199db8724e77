// Lists whose entries show whole: the list keeps the width of its widest entry.
#pragma once

class QListView;

namespace platform {

// From now on the list is at least as wide as its widest entry, as entries come and go, but
// never wider than half the screen.
void FitWidthToEntries(QListView& list);

}  // namespace platform

// Docking of two single-curve windows side by side: the rule over outer window rectangles,
// apart from the windows themselves.
#pragma once

#include <vector>

struct DockRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int Right() const { return left + width; }
    int Bottom() const { return top + height; }
};

struct DockMember {
    DockRect rect;
    bool minimisedOrMaximised = false;
};

// Indexes of the docked pair in the window list: first on the left, second stuck to its right
// edge; -1 when not set.
struct DockPair {
    int first = -1;
    int second = -1;

    void Dissolve() { first = second = -1; }
};

// A window to be put at (left, top), keeping its size.
struct DockMove {
    int window = -1;
    int left = 0;
    int top = 0;
};

inline constexpr int kSnapDistance = 20;
// A window this close to the right or bottom edge of the desktop does not dock.
inline constexpr int kDesktopMargin = 10;

// The docking step after window `moved` of `windows` has moved: updates the pair and returns the
// moves that put the pair's windows edge to edge (none when nothing must move).
std::vector<DockMove> DockStep(const std::vector<DockMember>& windows, int moved, DockPair& pair,
                               int snapDistance = kSnapDistance);

// Whether a move notice leads to the docking step: the client area's new origin (x, y) lies
// within the desktop and the window keeps clear of its right and bottom edges.
bool DocksOnDesktop(const DockRect& desktop, int x, int y, const DockRect& window);

// The docking rule of the single-curve windows.
#include "datawin/DockingRule.h"

#include <cstdlib>

namespace {
bool Near(int a, int b, int distance)
{
    return std::abs(a - b) < distance;
}
}  // namespace

std::vector<DockMove> DockStep(const std::vector<DockMember>& windows, int moved, DockPair& pair, int snapDistance)
{
    const int count = static_cast<int>(windows.size());
    if (moved < 0 || moved >= count)
        return {};
    const DockMember& w = windows[static_cast<std::size_t>(moved)];
    if (w.minimisedOrMaximised)
        pair.Dissolve();

    int partner = -1;
    const bool isFirst = pair.first == moved;
    if (isFirst)
        partner = pair.second;
    else if (pair.second == moved)
        partner = pair.first;
    if (partner >= 0 && partner < count) {
        const DockMember& p = windows[static_cast<std::size_t>(partner)];
        if (p.minimisedOrMaximised)
            return {};
        if (isFirst)
            return {{partner, w.rect.Right(), w.rect.top}};
        if (!Near(w.rect.left, p.rect.Right(), snapDistance) || !Near(w.rect.top, p.rect.top, snapDistance)) {
            pair.Dissolve();
            return {};
        }
        return {{moved, p.rect.Right(), p.rect.top}};
    }

    pair.first = moved;
    pair.second = -1;
    for (int i = 0; i < count; ++i) {
        const DockMember& other = windows[static_cast<std::size_t>(i)];
        if (i == moved || other.minimisedOrMaximised)
            continue;
        if (!Near(w.rect.top, other.rect.top, snapDistance))
            continue;
        if (Near(w.rect.left, other.rect.Right(), snapDistance)) {
            pair.first = i;
            pair.second = moved;
            return {{moved, other.rect.Right(), other.rect.top}};
        }
        if (Near(w.rect.Right(), other.rect.left, snapDistance)) {
            pair.second = i;
            return {{i, w.rect.Right(), w.rect.top}};
        }
    }
    pair.Dissolve();
    return {};
}

bool DocksOnDesktop(const DockRect& desktop, int x, int y, const DockRect& window)
{
    return y <= desktop.Bottom() && x <= desktop.Right() && window.Right() < desktop.Right() - kDesktopMargin &&
           window.Bottom() < desktop.Bottom() - kDesktopMargin;
}

// Placement of the curve captions in the strip above the curves: each curve's minimum, name
// and maximum on one row over its track, rows shared by curves whose tracks and texts do not meet.
#pragma once

#include <vector>

// One curve's track (its end columns in the panel) and the widths of its three texts.
struct CaptionTexts {
    int left = 0;
    int right = 0;
    int minimumWidth = 0;
    int captionWidth = 0;  // 0: no caption
    int maximumWidth = 0;
};

// Where a curve's texts go: the row (0 at the top) and the left column of each text. A width
// is less than asked only when the room in view cannot hold the three texts side by side.
struct CaptionPlace {
    int row = 0;
    int minimumX = 0;
    int minimumWidth = 0;
    int captionX = 0;
    int captionWidth = 0;
    int maximumX = 0;
    int maximumWidth = 0;
};

// The texts lie on the visible part of the track, the minimum at its left end and the maximum
// at its right; a track too narrow for them gets them centred on it, kept within the room in
// view (columns areaLeft..areaRight). Rows are filled first fit, in curve order; texts and
// tracks of one row stay `gap` pixels apart.
std::vector<CaptionPlace> PlaceCaptions(const std::vector<CaptionTexts>& curves, int areaLeft, int areaRight, int gap);

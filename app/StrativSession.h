// A session file (".vxs"): the view of the main window, its curves and the intervals,
// beside a LAS copy of the document.
#pragma once

#include "editing/IntervalManager.h"

#include <cstdint>
#include <string>
#include <vector>

struct SessionView {
    std::int32_t DepthScale = 200;  // N of 1:N
    std::int32_t DepthOffset = 0;   // depth axis offset, pixels
    std::int32_t ValueOffset = 0;   // value axis offset, pixels
    bool CaptionsShown = true;
};

struct SessionCurve {
    std::int32_t DocumentIndex = 1;
    std::uint32_t Color = 0;  // 0x00BBGGRR
    std::int32_t PenWidth = 1;
    double PixelsPerUnit = 1.0;
    std::int32_t XOffset = 0;
    bool Visible = true;
    bool Selected = false;
};

class StrativSession {
public:
    static constexpr const char* kExtension = ".vxs";
    static constexpr const char* kDamaged = "Файл сессии поврежден или имеет неизвестный формат";
    // Bounds of stored values: the depth scales the window offers, and a track scale no curve
    // of a session can need (the panel narrows it further to the curve's range).
    static constexpr std::int32_t kMaxDepthScale = 100000;
    static constexpr double kMaxPixelsPerUnit = 1.0e9;

    std::string LasCopyName;  // file name of the LAS copy, in the session's folder
    std::string OriginalFile;  // path of the LAS file the work was opened from, "" when unknown
    std::string PreviewPng;   // PNG bytes of the panel, at most 320 x 240
    SessionView View;
    std::vector<SessionCurve> Curves;
    IntervalParts Intervals;

    // Takes the manager's intervals and writes the file through a temporary name.
    bool Save(const std::string& path, const IntervalManager& intervals, std::string& error);
    // Reads the whole file; on failure nothing of this object changes.
    bool Load(const std::string& path, std::string& error);
    // Replaces the manager's list by the stored intervals, as stored (no sorting, no overlap rules).
    void RestoreIntervals(IntervalManager& intervals, float documentTop, float documentBottom) const;
};

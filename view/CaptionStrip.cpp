// Placement of the curve captions in the strip above the curves.
#include "view/CaptionStrip.h"

#include <algorithm>

namespace {

constexpr int kPad = 2;  // between a text and the end of its track or of the room in view

struct Span {
    int from;
    int to;
};

}  // namespace

std::vector<CaptionPlace> PlaceCaptions(const std::vector<CaptionTexts>& curves, int areaLeft, int areaRight, int gap)
{
    const int room = std::max(0, areaRight - areaLeft + 1 - 2 * kPad);
    std::vector<CaptionPlace> places;
    std::vector<std::vector<Span>> rows;
    for (const CaptionTexts& t : curves) {
        CaptionPlace p;
        p.minimumWidth = t.minimumWidth;
        p.captionWidth = t.captionWidth;
        p.maximumWidth = t.maximumWidth;
        if (p.minimumWidth + gap + p.maximumWidth > room) {  // not even the numbers: half the room each
            const int half = std::max(0, (room - gap) / 2);
            p.minimumWidth = std::min(p.minimumWidth, half);
            p.maximumWidth = std::min(p.maximumWidth, half);
            p.captionWidth = 0;
        } else if (p.captionWidth > 0) {
            p.captionWidth = std::clamp(room - p.minimumWidth - p.maximumWidth - 2 * gap, 0, p.captionWidth);
        }
        const int need = p.minimumWidth + gap + p.maximumWidth + (p.captionWidth > 0 ? p.captionWidth + gap : 0);
        const int trackFrom = std::max(t.left, areaLeft);
        const int trackTo = std::min(t.right, areaRight);
        const int from = trackFrom + kPad;
        const int to = trackTo - kPad;
        if (need <= to - from) {
            p.minimumX = from;
            p.maximumX = to - p.maximumWidth;
            // Centred on the track when the numbers leave room there, else between them.
            if (p.captionWidth > 0)
                p.captionX = std::clamp((from + to - p.captionWidth) / 2, from + p.minimumWidth + gap,
                                        p.maximumX - gap - p.captionWidth);
        } else {
            const int lowest = areaLeft + kPad;
            const int start = std::max(lowest, std::min((from + to - need) / 2, areaRight + 1 - kPad - need));
            p.minimumX = start;
            p.captionX = start + p.minimumWidth + gap;
            p.maximumX = start + need - p.maximumWidth;
        }
        const Span box{std::min(trackFrom, p.minimumX), std::max(trackTo, p.maximumX + p.maximumWidth)};
        const auto fits = [&](const std::vector<Span>& row) {
            return std::none_of(row.begin(), row.end(),
                                [&](const Span& s) { return box.from <= s.to + gap && s.from <= box.to + gap; });
        };
        p.row = int(std::find_if(rows.begin(), rows.end(), fits) - rows.begin());
        if (p.row == int(rows.size()))
            rows.emplace_back();
        rows[std::size_t(p.row)].push_back(box);
        places.push_back(p);
    }
    return places;
}

// Preview copies of panel curves: a copy drawn beside its source while a shift is chosen, and
// the working copy of the line tool.
#pragma once

#include "view/Curve.h"

#include <memory>
#include <vector>

class QPainter;
struct PanelCoordinates;

// A curve holding its own values, taken from a source curve of the panel; lighter than the
// source and drawn `extraOffset` pixels to its right.
class TCurveCopy : public TCurve {
public:
    TCurveCopy(TPanelWithCurves* panel, int sourceIndex, int extraOffset);

    // Takes count, values, statistics, scale, pen and offset of the source again.
    void TakeSnapshot();
    // The source's current values moved n samples deeper (n < 0: shallower), NULL where none
    // comes; n = 0 takes a new snapshot.
    void ShiftBy(int n);
    // Gives the source the saved values, and the offset it had at the snapshot, back.
    void Restore();

    int SourceIndex() const { return sourceIndex_; }

private:
    TCurve* Source() const;

    std::vector<float> saved_;
    int sourceIndex_;
    int extraOffset_;
};

// The preview copies of the selected curves during a shift by hand.
class TTempCurvesGroup {
public:
    void Add(std::unique_ptr<TCurveCopy> copy) { copies_.push_back(std::move(copy)); }
    void Clear() { copies_.clear(); }
    bool IsEmpty() const { return copies_.empty(); }
    const std::vector<std::unique_ptr<TCurveCopy>>& Copies() const { return copies_; }
    // ShiftBy(n) on every copy.
    void ShiftVert(int n);
    void Paint(QPainter& painter, const PanelCoordinates& coordinates) const;

private:
    std::vector<std::unique_ptr<TCurveCopy>> copies_;
};

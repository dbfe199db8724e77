// Tools that act on two different curves picked one after the other (join, bindings).
#pragma once

#include "editing/PanelTool.h"

class TTwoPickTool : public TPanelTool {
public:
    // With `firstAtDepth` the first pick must lie on the depth array, or it is dropped.
    TTwoPickTool(TToolHost& host, bool firstAtDepth) : TPanelTool(host), firstAtDepth_(firstAtDepth) {}
    void CurveClick(int curve, QPoint at) override;
    void Cancel() override;

protected:
    // The second pick, on another curve than the first: panel curves and depth indexes of the
    // two clicks. The tool then ends.
    virtual void Picked(int first, int firstIndex, int second, int secondIndex) = 0;
    bool HasFirst() const { return first_ >= 0; }

private:
    bool firstAtDepth_;
    int first_ = -1;
    int firstIndex_ = -1;
};

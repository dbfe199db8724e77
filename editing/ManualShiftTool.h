// The shift of the selected curves by hand: lighter copies of them follow the mouse (after a
// first click) or the Up and Down keys; a second click or Enter applies, Esc cancels.
#pragma once

#include "editing/PanelTool.h"
#include "view/CurveCopy.h"

#include <QTimer>

class TManualShiftTool : public TPanelTool {
public:
    explicit TManualShiftTool(TToolHost& host);
    void Activate() override;
    void Deactivate() override;
    void Click(QMouseEvent& event) override;
    void MouseMove(QMouseEvent& event) override;
    bool KeyPress(QKeyEvent& event) override;
    bool KeyRelease(QKeyEvent& event) override;
    void Cancel() override;
    QString Prompt() const override;
    void PaintOverlay(QPainter& painter, const PanelCoordinates& coordinates) override;

    // The shift chosen so far, in samples.
    int Shift() const { return FManualShiftRef >= 0 && FManualShiftPos >= 0 ? FManualShiftPos - FManualShiftRef : 0; }

private:
    // Depth index under a row, held inside the depth array.
    int IndexAt(int y) const;
    void MoveTo(int pos);
    void ApplyManualShift();

    TTempCurvesGroup group_;
    unsigned long long generation_ = 0;  // the document's arrays the copies were taken from
    int FManualShiftMode = 0;  // 0 not started, 1 by mouse, 2 by keys
    int FManualShiftRef = -1;
    int FManualShiftPos = -1;
    int keyStep_ = 0;
    QTimer timer_;
};

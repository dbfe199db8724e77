// The interval tool: a left drag over the panel proposes a new interval between the depths of
// the press and of the release; the tool acts once.
#pragma once

#include "editing/PanelTool.h"

class TIntervalTool : public TPanelTool {
public:
    using TPanelTool::TPanelTool;
    void MousePress(QMouseEvent& event) override;
    void MouseRelease(QMouseEvent& event) override;
    void Cancel() override { pressed_ = false; }

private:
    bool pressed_ = false;
    float NewIntervalTop = 0.0f;
};

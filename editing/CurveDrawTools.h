// Tools that draw values into a curve with the mouse: the pencil and the straight line.
#pragma once

#include "editing/PanelTool.h"
#include "view/CurveCopy.h"

#include <memory>

// Every move with the left button held writes a line from the last position.
class TPencilTool : public TPanelTool {
public:
    using TPanelTool::TPanelTool;
    void Activate() override;
    void Deactivate() override;
    void MousePress(QMouseEvent& event) override;
    void MouseMove(QMouseEvent& event) override;
    void MouseRelease(QMouseEvent& event) override;
    void Cancel() override;

private:
    int curve_ = -1;
    QPoint last_;
    bool changed_ = false;
    int xOffset_ = 0;  // the curve's offset at the press
    bool crossMouse_ = true;
};

// A straight line from the press point to the mouse, redrawn over the values from before the
// drag (a working copy of the curve) at every move; Cancel puts those values and the curve's
// place back.
class TLineTool : public TPanelTool {
public:
    using TPanelTool::TPanelTool;
    void MousePress(QMouseEvent& event) override;
    void MouseMove(QMouseEvent& event) override;
    void MouseRelease(QMouseEvent& event) override;
    void Cancel() override;

private:
    int curve_ = -1;
    QPoint start_;
    std::unique_ptr<TCurveCopy> copy_;
    bool changed_ = false;
};

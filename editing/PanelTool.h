// Interaction modes of the curve panel: one object per tool, and the window services a tool
// reaches through its host.
#pragma once

#include "core/CoreTypes.h"
#include "core/Smoothing.h"

#include <QPoint>
#include <QString>
#include <cstdint>
#include <string>

class IntervalManager;
class QKeyEvent;
class QMouseEvent;
class QPainter;
class QWidget;
class TLASFile;
class TPanelWithCurves;
struct PanelCoordinates;

// What a tool needs of the window that owns the panel.
class TToolHost {
public:
    virtual ~TToolHost() = default;

    virtual TPanelWithCurves& Panel() = 0;
    // The open document; null without one.
    virtual TLASFile* Document() = 0;
    // Owner of the tool's message boxes and dialogs.
    virtual QWidget* DialogOwner() = 0;
    virtual IntervalManager& IntervalList() = 0;
    // An undo step under the operation name, the undo controls refreshed.
    virtual void Snapshot(const std::string& operation) = 0;
    // Takes back the newest step when the change it was taken for made nothing.
    virtual void DiscardSnapshot() = 0;
    // An undo step, then the change; a change that throws (refused before anything changed)
    // takes the step back, and the exception goes on to be reported.
    template <class Change>
    void ChangeAfterSnapshot(const std::string& operation, Change&& change)
    {
        Snapshot(operation);
        try {
            change();
        } catch (...) {
            DiscardSnapshot();
            throw;
        }
    }
    // The newest step also moved panel curve `curve` sideways by `delta` pixels: undo takes the
    // move back, redo makes it again.
    virtual void RecordOffsetChange(int curve, int delta) = 0;
    // A change the undo store does not record (a curve added, a name).
    virtual void MarkModified() = 0;
    // The whole view follows the document again (arrays, ranges, status bar).
    virtual void DocumentChanged() = 0;
    // The current tool's prompt changed.
    virtual void PromptChanged() = 0;
    // The tool has finished: its button goes up and no tool is current.
    virtual void ToolDone() = 0;
    // Shows document curve `index` (just added) in the panel and the curve list.
    virtual void ShowNewCurve(int index, std::uint32_t color) = 0;
    // The interval parameters dialog on a proposed interval, then the interval list.
    virtual void AddInterval(float top, float bottom) = 0;
    // Depth scale 1:n with its menu caption and tick.
    virtual void SetDepthScale(int n) = 0;
    // The panel of the current shift by hand, with its value as text.
    virtual void ShowShiftValue(bool shown, const QString& text) = 0;
    // The depth ranges an operation works on: the whole document without intervals, else the
    // user's choice (empty when cancelled).
    virtual FloatPairList SelectOperationIntervals(const QString& message, int preselect) = 0;
    // Copies each record into panel curve `curve` from its index on and repaints it.
    virtual void WriteSmoothedSegments(int curve, const ListOfFloatValuesWithIndex& list) = 0;
};

// One interaction mode. The window hands the current tool the panel's events after its own
// part of them; the tool owns its picks, timers and overlay.
class TPanelTool {
public:
    explicit TPanelTool(TToolHost& host) : host_(host) {}
    virtual ~TPanelTool() = default;
    TPanelTool(const TPanelTool&) = delete;
    TPanelTool& operator=(const TPanelTool&) = delete;

    // What the tool changes on the panel while current is set here and put back in Deactivate.
    virtual void Activate() {}
    virtual void Deactivate() { Cancel(); }

    // A left press on panel curve `curve` (0-based) at `at`.
    virtual void CurveClick(int curve, QPoint at) { (void)curve, (void)at; }
    // A click on line `curve` (0-based panel index) of the curve list.
    virtual void CurveListClick(int curve) { (void)curve; }
    virtual void MousePress(QMouseEvent& event) { (void)event; }
    // Every move, with or without a button held.
    virtual void MouseMove(QMouseEvent& event) { (void)event; }
    virtual void MouseRelease(QMouseEvent& event) { (void)event; }
    // A release ending a left press.
    virtual void Click(QMouseEvent& event) { (void)event; }
    // True when the tool used the key.
    virtual bool KeyPress(QKeyEvent& event) { (void)event; return false; }
    virtual bool KeyRelease(QKeyEvent& event) { (void)event; return false; }

    // Drops the picks and puts back what the tool changed but did not finish (Esc, undo).
    virtual void Cancel() {}
    // Status-bar text while the tool is current.
    virtual QString Prompt() const { return {}; }
    // Drawn over the panel at every paint, clipped to the drawing area.
    virtual void PaintOverlay(QPainter& painter, const PanelCoordinates& coordinates)
    {
        (void)painter, (void)coordinates;
    }

protected:
    // The panel curve (0-based) under a left press; -1 for another button or no curve.
    int PressedCurve(const QMouseEvent& event) const;
    // The tool's last step: the tool is done after it, also when the step is refused (the
    // refusal then goes on to be reported), so that no half-finished gesture stays on screen.
    template <class Step>
    void Finish(Step&& step)
    {
        try {
            step();
        } catch (...) {
            host_.ToolDone();
            throw;
        }
        host_.ToolDone();
    }

    TToolHost& host_;
};

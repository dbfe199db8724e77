// The single-curve window: one curve of the open document against depth with its own scales,
// and its editing: pencil, shift and multiply of values, smoothing, one-curve scripts and
// intervals. It works on the document's own arrays; every edit is a step of the shared undo store.
#pragma once

#include <QPoint>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace Ui { class TFormSingleCurve; }
class QAction;
class QActionGroup;
class QMenu;
class QTimer;
class QToolBar;
class TCurve;
class TExprList;
class TLASFile;
class TPanelWithCurves;
class TSynchSingleWindows;
enum TRasterOp : std::uint32_t;

// Puts every checked button of the tool bar up but `kept` (may be null).
void ReleaseOtherToolButtons(QWidget* toolBar, QAction* kept);

class TFormSingleCurve : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kHelpTopic = 23;
    // Where the last pop-up opened against the selected range.
    enum PopupZone { ZoneNoSelection = 0, ZoneInside = 1, ZoneAbove = 2, ZoneBelow = 3, ZoneNotFromPopup = 4 };
    static constexpr int kArmedBase = 65536;

    // `keeper` frees the window if it outlives it (may be null).
    explicit TFormSingleCurve(TSynchSingleWindows* keeper = nullptr);
    ~TFormSingleCurve() override;

    Ui::TFormSingleCurve& Form() const { return *ui; }
    TPanelWithCurves* PanelMain = nullptr;
    QToolBar* ToolBarRow1 = nullptr;
    QToolBar* ToolBarRow2 = nullptr;
    QMenu* PMenuInterval = nullptr;
    QMenu* PMICalc = nullptr;
    QMenu* PopupMenuCalculations = nullptr;
    QTimer* Timer = nullptr;
    QTimer* TimerKeyControl = nullptr;

    void SetLasFile(TLASFile* document);
    void SetExprList(TExprList* list);
    // Shows data curve `curveIndex` in `color` (0x00BBGGRR) at depth scale 1:verticalScale.
    void Init(int curveIndex, std::uint32_t color, float verticalScale);
    void SetOwnerList(TSynchSingleWindows* list) { owner_ = list; }
    TSynchSingleWindows* OwnerList() const { return owner_; }
    // The depth axis and the curve follow the document's current arrays.
    void ReloadData();
    // With `broadcast` the other windows and the main window follow first.
    void UpdateUndoButtons(TSynchSingleWindows* broadcast);
    void TakeSnapshot(const std::string& name);
    // Takes back the snapshot of a change that did not happen (a cancelled dialog).
    void DiscardSnapshot();
    // Horizontal 1:N value units per centimetre, vertical depth scale 1:N.
    void SetScales(double horizontal, double vertical);
    void RepaintPanel();
    // Leaves the document and closes; freed once no handler of the window runs.
    void Release();
    void ForgetKeeper() { keeper_ = nullptr; }

    TLASFile* LasFile() const { return lasFile_; }
    int CurveIndex() const { return curveIndex_; }
    TCurve* Curve() const;
    double PixelsPerCm() const { return pixelsPerCm_; }
    int Zone() const { return popupZone_; }
    int ArmedCalculation() const { return armedCalculation_; }
    QPoint PopupPoint() const { return popupPoint_; }

    // Commands.
    void TBZoomInClick();
    void TBZoomOutClick();
    void TBUndoClick();
    void TBRedoClick();
    void TBInfoClick();
    void TBAntiAliasClick();
    void TBAAByPointsClick();
    void TBHelpClick();
    void MIShiftAmplClick();
    void MIMultAmplClick();
    void MIIntervalStatClick();
    void MIRemoveIntervalClick();
    void MIAAClick();
    void MIAAByPointClick();
    // Items of the two calculation menus, by their tag (expression number, 1-based).
    void PopupCalculationClick(int tag);
    void PMICalcClick(int tag);
    // Shift, multiply or the armed calculation over the range the point (panel pixels) gives.
    void ApplyAtPoint(QPoint point);
    void BuildCalcMenu();
    void RunCalculation(int from, int to);
    void AddInterval(float depth1, float depth2);
    // The index range of a value operation at panel row y: [from, to], ordered and clamped.
    std::pair<int, int> OperationRange(int y) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    class HandlerScope;
    // A handler run guarded; a released window is freed after its outermost handler.
    template <class Handler>
    auto Command(Handler handler)
    {
        return [this, handler = std::move(handler)](auto&&... args)
                   -> decltype(std::declval<Handler&>()(std::forward<decltype(args)>(args)...), void()) {
            Run([&] { handler(std::forward<decltype(args)>(args)...); });
        };
    }
    void Run(const std::function<void()>& body);
    void CreateToolBar();
    void CreateMenus();
    void ConnectPanel();
    bool Alive() const { return lasFile_ != nullptr && !released_; }
    void ApplyHorScale();
    void WriteScalesBack();
    void Zoom(double factor);
    void ZoomTimerTick();
    void ToolButtonClick(QAction* button);
    void Disarm();
    // Arms expression `tag` (1-based) when it is a one-curve script; the tool buttons go up.
    bool ArmCalculation(int tag);
    void EdHorScaleChange();
    void EdVertScaleChange();
    void ShowScaleList();
    void ComboBoxDeptScaleChoose(int position);
    void PanelMouseDown(QMouseEvent& event);
    void PanelMouseMove(QMouseEvent& event);
    void PanelMouseUp(QMouseEvent& event);
    void PanelDblClick(QMouseEvent& event);
    void DrawingAreaPaint(QPainter& canvas, const QRect& area, double firstDepth, double lastDepth, TRasterOp& op);
    void PaintOverlay(QPainter& painter);
    void ZoomToRect(QPoint corner1, QPoint corner2);
    void PaintOverview();
    // Scrolls to the depth at height y of the overview; a click also moves the scroll bar there.
    void OverviewPress(int y);
    void OverviewClick(int y);
    void ScrollBarDepthChange(int position);
    void StepScrollBar(int step);
    void TimerKeyControlTick();
    void ShowPopup(QPoint panelPoint);
    void ApplyValueOperation(bool multiply, int from, int to);
    void Smooth(bool byPoints);
    QString StatisticsText(bool whole) const;
    void CheckDocument();

    std::unique_ptr<Ui::TFormSingleCurve> ui;
    TSynchSingleWindows* keeper_;
    TSynchSingleWindows* owner_ = nullptr;
    QActionGroup* tools_ = nullptr;
    QPoint popupPoint_;
    int heldKey_ = 0;
    TLASFile* lasFile_ = nullptr;
    TExprList* exprList_ = nullptr;
    int armedCalculation_ = 0;
    int curveIndex_ = 0;
    double pixelsPerCm_ = 40.0;
    bool scaleEditsLive_ = true;
    QPoint zoomStart_{-1, -1};
    QPoint zoomEnd_{-1, -1};
    int pencilCurve_ = 0;
    QPoint lastPencilPoint_;
    int pressedCurve_ = 0;
    struct Boundary {
        int y = -1;
        int index = -1;
        double depth = 0.0;
    };
    Boundary firstBoundary_;
    Boundary secondBoundary_;
    int popupZone_ = ZoneNotFromPopup;
    unsigned long long attachedGeneration_ = 0;
    int busy_ = 0;
    bool released_ = false;
};

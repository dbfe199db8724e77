// The single-curve window: creation, the curve and its scales, navigation, docking notices and
// the window's life.
#include "datawin/SingleCurve.h"

#include "core/Lasfile.h"
#include "datawin/SynchSingleWindows.h"
#include "core/data_dump_restore.h"
#include "editing/FloatSpinEdit.h"
#include "editing/IntervalManager.h"
#include "platform/DepthUnit.h"
#include "platform/ErrorReport.h"
#include "platform/Help.h"
#include "platform/NumberText.h"
#include "platform/ToolIcons.h"
#include "ui_SingleCurve.h"
#include "view/PanelWithCurves.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>
#include <QWindowStateChangeEvent>

#include <algorithm>
#include <cmath>

namespace {
constexpr double kCmPerInch = 0.3937007874;
constexpr double kZoomStep = 1.2;
constexpr int kScaleList[] = {10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000};
constexpr int kDefaultVerticalScale = 200;
}  // namespace

void ReleaseOtherToolButtons(QWidget* toolBar, QAction* kept)
{
    if (!toolBar)
        return;
    for (QToolButton* button : toolBar->findChildren<QToolButton*>()) {
        QAction* action = button->defaultAction();
        if (action && action != kept && action->isCheckable())
            action->setChecked(false);
    }
}

// Counts the window's running handlers: a released window is freed after the outermost one.
class TFormSingleCurve::HandlerScope {
public:
    explicit HandlerScope(TFormSingleCurve& window) : window_(window) { ++window_.busy_; }
    ~HandlerScope()
    {
        if (--window_.busy_ == 0 && window_.released_)
            window_.deleteLater();
    }
    HandlerScope(const HandlerScope&) = delete;
    HandlerScope& operator=(const HandlerScope&) = delete;

private:
    TFormSingleCurve& window_;
};

void TFormSingleCurve::Run(const std::function<void()>& body)
{
    HandlerScope scope(*this);
    platform::Guarded(this, body);
}

TFormSingleCurve::TFormSingleCurve(TSynchSingleWindows* keeper)
    : QWidget(nullptr, Qt::Window), ui(std::make_unique<Ui::TFormSingleCurve>()), keeper_(keeper)
{
    ui->setupUi(this);
    PanelMain = ui->PanelMain;
    // Measured once: the value axis gets a whole multiple of ten pixels per centimetre.
    pixelsPerCm_ = std::ceil(0.1 * logicalDpiX() * kCmPerInch) * 10.0;
    PanelMain->XAxisInfo.SetPixelsPerCm(static_cast<float>(pixelsPerCm_));
    PanelMain->YAxisInfo.SetPixelsPerCm(static_cast<float>(logicalDpiY() * kCmPerInch));
    PanelMain->SetAxisSizes(60, 35);
    PanelMain->BackgroundColor = 0xFFFFFF;
    PanelMain->CrossColor = 0xC0C0C0;
    PanelMain->ShowHints = true;
    PanelMain->ValueText = [this](int, float value) { return platform::CurveValueText(*lasFile_, curveIndex_, value); };
    PanelMain->RowDepthText = [this](int row) { return platform::RowDepthText(*lasFile_, row); };
    PanelMain->Interval.FillColor = 0xE0FFE0;
    PanelMain->Interval.BoundColor = 0xFF9090;
    PanelMain->setFocusPolicy(Qt::StrongFocus);
    // The view leaves the keys to the window; a scale edit would take the arrows itself.
    PanelMain->setFocus();

    ui->EdVertScale->setDecimals(1);
    ui->EdVertScale->setRange(10, 50000);
    ui->EdVertScale->SetValue(kDefaultVerticalScale);
    ui->EdHorScale->setDecimals(4);
    ui->EdHorScale->setRange(0.0001, 10000000);
    ui->EdHorScale->SetValue(0.1);
    ui->layoutTools->removeWidget(ui->ComboBoxDeptScale);
    ui->ComboBoxDeptScale->hide();
    ui->EdVertScale->installEventFilter(this);
    ui->EdVertScale->findChild<QLineEdit*>()->installEventFilter(this);
    ui->PBoxAllDepth->installEventFilter(this);
    ui->ScrollBarDepth->installEventFilter(this);
    connect(ui->EdHorScale, &QDoubleSpinBox::valueChanged, this, Command([this] { EdHorScaleChange(); }));
    connect(ui->EdVertScale, &QDoubleSpinBox::valueChanged, this, Command([this] { EdVertScaleChange(); }));
    connect(ui->ComboBoxDeptScale, &QComboBox::activated, this,
            Command([this](int position) { ComboBoxDeptScaleChoose(position); }));
    connect(ui->ScrollBarDepth, &QScrollBar::valueChanged, this,
            Command([this](int position) { ScrollBarDepthChange(position); }));

    Timer = new QTimer(this);
    Timer->setInterval(200);
    connect(Timer, &QTimer::timeout, this, Command([this] { ZoomTimerTick(); }));
    TimerKeyControl = new QTimer(this);
    TimerKeyControl->setInterval(10);
    connect(TimerKeyControl, &QTimer::timeout, this, Command([this] { TimerKeyControlTick(); }));

    CreateToolBar();
    CreateMenus();
    ConnectPanel();
    UpdateUndoButtons(nullptr);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TFormSingleCurve::~TFormSingleCurve()
{
    if (keeper_)
        keeper_->WindowDestroyed(this);
}

void TFormSingleCurve::CreateToolBar()
{
    Ui::TFormSingleCurve& f = *ui;
    ToolBarRow1 = new QToolBar(f.ToolBar1);
    ToolBarRow2 = new QToolBar(f.ToolBar1);
    for (QToolBar* row : {ToolBarRow1, ToolBarRow2}) {
        row->setIconSize(QSize(27, 23));
        row->setMovable(false);
        platform::ShowToolIcons(*row);
        f.layoutToolBar->addWidget(row);
    }
    ToolBarRow1->addActions({f.TBZoomSquare, f.TBZoomIn, f.TBZoomOut, f.TBPencil, f.TBUndo, f.TBRedo, f.TBPutBoundary});
    ToolBarRow2->addActions({f.TBInfo, f.TBAntiAlias, f.TBAAByPoints, f.TBShiftAmplitude, f.TBMultAmplitude});
    PopupMenuCalculations = new QMenu(this);
    PopupMenuCalculations->setObjectName(QStringLiteral("PopupMenuCalculations"));
    f.TBCalculations->setCheckable(true);
    f.TBCalculations->setMenu(PopupMenuCalculations);
    ToolBarRow2->addAction(f.TBCalculations);
    if (auto* button = qobject_cast<QToolButton*>(ToolBarRow2->widgetForAction(f.TBCalculations)))
        button->setPopupMode(QToolButton::MenuButtonPopup);
    ToolBarRow2->addAction(f.TBHelp);

    // The cross-hair is off while the pencil or the zoom rectangle is down, however it goes up.
    for (QAction* drawing : {f.TBPencil, f.TBZoomSquare})
        connect(drawing, &QAction::toggled, this,
                [this] { PanelMain->CrossMouse = !ui->TBPencil->isChecked() && !ui->TBZoomSquare->isChecked(); });
    tools_ = new QActionGroup(this);
    tools_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (QAction* tool : {f.TBZoomSquare, f.TBPencil, f.TBPutBoundary, f.TBShiftAmplitude, f.TBMultAmplitude}) {
        tools_->addAction(tool);
        connect(tool, &QAction::triggered, this, Command([this, tool] { ToolButtonClick(tool); }));
    }
    const std::pair<QAction*, void (TFormSingleCurve::*)()> commands[] = {
        {f.TBZoomIn, &TFormSingleCurve::TBZoomInClick},
        {f.TBZoomOut, &TFormSingleCurve::TBZoomOutClick},
        {f.TBUndo, &TFormSingleCurve::TBUndoClick},
        {f.TBRedo, &TFormSingleCurve::TBRedoClick},
        {f.TBInfo, &TFormSingleCurve::TBInfoClick},
        {f.TBAntiAlias, &TFormSingleCurve::TBAntiAliasClick},
        {f.TBAAByPoints, &TFormSingleCurve::TBAAByPointsClick},
        {f.TBHelp, &TFormSingleCurve::TBHelpClick},
    };
    for (const auto& [action, handler] : commands)
        connect(action, &QAction::triggered, this, Command([this, handler = handler] { (this->*handler)(); }));
    connect(f.TBCalculations, &QAction::triggered, this, Command([this] {
                Disarm();
                ui->TBCalculations->setChecked(false);
            }));
    // Holding a zoom button repeats the zoom.
    for (QAction* zoom : {f.TBZoomIn, f.TBZoomOut})
        if (auto* button = qobject_cast<QToolButton*>(ToolBarRow1->widgetForAction(zoom))) {
            connect(button, &QToolButton::pressed, Timer, qOverload<>(&QTimer::start));
            connect(button, &QToolButton::released, Timer, &QTimer::stop);
        }
}

void TFormSingleCurve::ConnectPanel()
{
    TPanelWithCurves& p = *PanelMain;
    p.OnCheckData = [this] { CheckDocument(); };
    p.OnMouseDown = [this](QMouseEvent& e) { HandlerScope scope(*this); PanelMouseDown(e); };
    p.OnMouseMove = [this](QMouseEvent& e) { HandlerScope scope(*this); PanelMouseMove(e); };
    p.OnMouseUp = [this](QMouseEvent& e) { HandlerScope scope(*this); PanelMouseUp(e); };
    p.OnDblClick = [this](QMouseEvent& e) { HandlerScope scope(*this); PanelDblClick(e); };
    p.OnDrawingAreaPaint = [this](QPainter& canvas, const QRect& area, double first, double last, TRasterOp& op) {
        DrawingAreaPaint(canvas, area, first, last, op);
    };
    p.OnPaintOverlay = [this](QPainter& painter, const PanelCoordinates&) { PaintOverlay(painter); };
    p.OnYOffsetChange = [this](int offset) {
        if (owner_ && isActiveWindow())
            owner_->SyncVerticalOffset(this, offset);
        ui->PBoxAllDepth->update();
    };
    p.OnIntervalChange = [this](int first, int last) {
        if (owner_ && isActiveWindow())
            owner_->SyncInterval(this, first, last);
    };
}

TCurve* TFormSingleCurve::Curve() const
{
    return PanelMain->GetCurve(0);
}

void TFormSingleCurve::SetLasFile(TLASFile* document)
{
    lasFile_ = document;
}

void TFormSingleCurve::Init(int curveIndex, std::uint32_t color, float verticalScale)
{
    if (!lasFile_ || curveIndex < 1 || curveIndex >= lasFile_->GetCurvesCount())
        return;
    setWindowTitle(QStringLiteral("Кривая ") + QString::fromStdString(lasFile_->GetCurveName(curveIndex)));
    TAxis& axis = PanelMain->YAxisInfo;
    axis.ClearDepthArray();
    axis.SetDepthStep(lasFile_->GetStep());
    axis.SetDepthArray(lasFile_->GetCurveData(0), lasFile_->GetPointCount());
    attachedGeneration_ = lasFile_->Generation();
    axis.SetScaleFactorValue(verticalScale > 0 ? static_cast<int>(verticalScale) : kDefaultVerticalScale);
    axis.SetUnitMetres(platform::DepthUnitMetres(*lasFile_));
    axis.Recalculate();
    while (PanelMain->GetCurvesCount() > 0)
        PanelMain->DeleteCurve(0);
    TCurve* curve = PanelMain->AddCurve(lasFile_->GetCurveData(curveIndex), lasFile_->GetPointCount(), color,
                                        lasFile_->GetNullValue());
    curveIndex_ = curveIndex;
    SetScales(pixelsPerCm_ / curve->PixelsPerUnit(), axis.ScaleFactorValue());
    ui->PBoxAllDepth->update();
}

void TFormSingleCurve::ReloadData()
{
    if (released_)
        return;
    TAxis& axis = PanelMain->YAxisInfo;
    if (!lasFile_ || curveIndex_ <= 0 || curveIndex_ >= lasFile_->GetCurvesCount()) {
        while (PanelMain->GetCurvesCount() > 0)
            PanelMain->DeleteCurve(0);
        axis.ClearDepthArray();
        PanelMain->Repaint();
        return;
    }
    const int n = lasFile_->GetPointCount();
    attachedGeneration_ = lasFile_->Generation();
    const int offset = axis.Offset();
    axis.SetDepthStep(lasFile_->GetStep());
    axis.SetDepthArray(lasFile_->GetCurveData(0), n);
    axis.Recalculate();
    axis.SetOffset(offset);
    if (TCurve* curve = Curve())
        curve->SetData(lasFile_->GetCurveData(curveIndex_), n);
    PanelMain->Repaint();
    ui->PBoxAllDepth->update();
}

// The document's arrays were replaced since the panel was attached: attach it again first.
void TFormSingleCurve::CheckDocument()
{
    if (lasFile_ && !released_ && lasFile_->Generation() != attachedGeneration_)
        ReloadData();
}

void TFormSingleCurve::UpdateUndoButtons(TSynchSingleWindows* broadcast)
{
    if (broadcast)
        broadcast->BroadcastUndoState(this);
    Ui::TFormSingleCurve& f = *ui;
    DumpRestoreCurveData* store = owner_ ? owner_->UndoStore() : nullptr;
    const bool canUndo = store && store->CanUndo();
    const bool canRedo = store && store->CanRedo();
    f.TBUndo->setEnabled(canUndo);
    f.TBUndo->setToolTip(canUndo ? QStringLiteral("Отменить ") + QString::fromStdString(store->GetUndoName())
                                 : QStringLiteral("Отмена изменений - нет доступных"));
    f.TBRedo->setEnabled(canRedo);
    f.TBRedo->setToolTip(canRedo ? QStringLiteral("Повторить ") + QString::fromStdString(store->GetRedoName())
                                 : QStringLiteral("Повтор изменений - нет доступных"));
}

void TFormSingleCurve::TakeSnapshot(const std::string& name)
{
    if (!owner_ || !owner_->UndoStore())
        return;
    owner_->UndoStore()->Dump(name);
    UpdateUndoButtons(owner_);
}

void TFormSingleCurve::DiscardSnapshot()
{
    if (!owner_ || !owner_->UndoStore())
        return;
    owner_->UndoStore()->DiscardLast();
    UpdateUndoButtons(owner_);
}

void TFormSingleCurve::TBUndoClick()
{
    if (owner_)
        owner_->Undo();
}

void TFormSingleCurve::TBRedoClick()
{
    if (owner_)
        owner_->Redo();
}

void TFormSingleCurve::TBHelpClick()
{
    platform::ShowHelpTopic(kHelpTopic);
}

void TFormSingleCurve::RepaintPanel()
{
    PanelMain->Repaint();
    ui->PBoxAllDepth->update();
}

void TFormSingleCurve::Release()
{
    if (released_)
        return;
    released_ = true;
    owner_ = nullptr;
    lasFile_ = nullptr;
    exprList_ = nullptr;
    Timer->stop();
    TimerKeyControl->stop();
    while (PanelMain->GetCurvesCount() > 0)
        PanelMain->DeleteCurve(0);
    PanelMain->YAxisInfo.ClearDepthArray();
    hide();
    if (busy_ == 0)
        deleteLater();
}

void TFormSingleCurve::closeEvent(QCloseEvent* event)
{
    HandlerScope scope(*this);
    if (owner_)
        owner_->RemoveWindow(this);
    Release();
    event->accept();
}

// --- Scales ---

void TFormSingleCurve::SetScales(double horizontal, double vertical)
{
    scaleEditsLive_ = false;
    ui->EdVertScale->SetValue(vertical);
    ui->EdHorScale->SetValue(horizontal);
    ApplyHorScale();
    scaleEditsLive_ = true;
}

void TFormSingleCurve::ApplyHorScale()
{
    TAxis& axis = PanelMain->XAxisInfo;
    TCurve* curve = Curve();
    axis.MarksInterval = static_cast<int>(2 * pixelsPerCm_);
    axis.MarksStep = 20;
    axis.TickInterval = static_cast<int>(std::ceil(0.1 * pixelsPerCm_));
    if (!curve)
        return;
    axis.TickStepValue = pixelsPerCm_ / (curve->PixelsPerUnit() * 10);
    // The curve's minimum at the left edge of the drawing area.
    const int offset = static_cast<int>(std::clamp(double(curve->Minimum()) * curve->PixelsPerUnit(),
                                                   -double(kMaxPixelOffset), double(kMaxPixelOffset)));
    curve->SetXOffset(offset);
    axis.SetOffset(offset);
}

void TFormSingleCurve::WriteScalesBack()
{
    if (TCurve* curve = Curve())
        SetScales(pixelsPerCm_ / curve->PixelsPerUnit(), PanelMain->YAxisInfo.ScaleFactorValue());
}

void TFormSingleCurve::EdHorScaleChange()
{
    const double n = ui->EdHorScale->Value();
    TCurve* curve = Curve();
    if (!scaleEditsLive_ || !curve || n < 0.0001 || n > 10000000)
        return;
    curve->SetPixelsPerUnit(pixelsPerCm_ / n);
    ApplyHorScale();
    PanelMain->Repaint();
}

void TFormSingleCurve::EdVertScaleChange()
{
    const double n = ui->EdVertScale->Value();
    if (!scaleEditsLive_ || n < 10 || n > 50000)
        return;
    PanelMain->SetScaleY(static_cast<int>(n));
    PanelMain->Repaint();
    ui->PBoxAllDepth->update();
}

void TFormSingleCurve::ShowScaleList()
{
    QComboBox& list = *ui->ComboBoxDeptScale;
    const double current = ui->EdVertScale->Value();
    int position = static_cast<int>(std::size(kScaleList)) - 1;
    for (int i = 0; i < static_cast<int>(std::size(kScaleList)); ++i)
        if (kScaleList[i] >= current) {
            position = i;
            break;
        }
    list.setGeometry(ui->EdVertScale->geometry());
    list.setCurrentIndex(position);
    list.show();
    list.raise();
    list.setFocus();
    list.showPopup();
}

void TFormSingleCurve::ComboBoxDeptScaleChoose(int position)
{
    const int last = static_cast<int>(std::size(kScaleList)) - 1;
    ui->EdVertScale->SetValue(kScaleList[std::clamp(position, 0, last)]);
    ui->ComboBoxDeptScale->hide();
    ui->EdVertScale->setFocus();
}

void TFormSingleCurve::Zoom(double factor)
{
    TCurve* curve = Curve();
    if (!curve)
        return;
    curve->SetPixelsPerUnit(curve->PixelsPerUnit() * factor);
    PanelMain->Repaint();
    WriteScalesBack();
    PanelMain->Repaint();
}

void TFormSingleCurve::TBZoomInClick()
{
    Zoom(kZoomStep);
    ReleaseOtherToolButtons(ui->ToolBar1, nullptr);
}

void TFormSingleCurve::TBZoomOutClick()
{
    Zoom(1.0 / kZoomStep);
    ReleaseOtherToolButtons(ui->ToolBar1, nullptr);
}

void TFormSingleCurve::ZoomTimerTick()
{
    auto down = [this](QAction* action) {
        auto* button = qobject_cast<QToolButton*>(ToolBarRow1->widgetForAction(action));
        return button && button->isDown();
    };
    if (down(ui->TBZoomIn))
        Zoom(kZoomStep);
    else if (down(ui->TBZoomOut))
        Zoom(1.0 / kZoomStep);
    else
        Timer->stop();
}

// --- Depth overview, wheel and keys ---

void TFormSingleCurve::PaintOverview()
{
    QWidget& box = *ui->PBoxAllDepth;
    QPainter painter(&box);
    painter.fillRect(box.rect(), palette().window());
    const TAxis& axis = PanelMain->YAxisInfo;
    const double top = axis.FirstDepth();
    const double bottom = axis.LastDepth();
    const int h = painter.fontMetrics().height();
    if (bottom == top || h <= 0)
        return;
    const int n = std::abs(box.height()) / (3 * h);
    for (int i = 1; i < n; ++i)
        painter.drawText(3, 3 * h * i - h / 2 + painter.fontMetrics().ascent(),
                         platform::FloatToStrF(top + i * (bottom - top) / n, 7, 2));
}

void TFormSingleCurve::OverviewPress(int y)
{
    const TAxis& axis = PanelMain->YAxisInfo;
    const double top = axis.FirstDepth();
    const double bottom = axis.LastDepth();
    const int height = ui->PBoxAllDepth->height();
    if (bottom == top || height <= 0)
        return;
    // The box spans the document's whole depth range, however short or fractional.
    PanelMain->GotoDepth(top + (bottom - top) * y / height);
}

void TFormSingleCurve::OverviewClick(int y)
{
    OverviewPress(y);
    const int height = ui->PBoxAllDepth->height();
    if (height <= 0)
        return;
    const QSignalBlocker block(ui->ScrollBarDepth);
    ui->ScrollBarDepth->setValue(static_cast<int>(50.0 / height * y));
}

// The bar keeps its position: written back through the box's height it could come out one
// less, and the wheel would never get past it.
void TFormSingleCurve::ScrollBarDepthChange(int position)
{
    OverviewPress(static_cast<int>(ui->PBoxAllDepth->height() * 0.02 * position));
}

void TFormSingleCurve::StepScrollBar(int step)
{
    QScrollBar& bar = *ui->ScrollBarDepth;
    const int position = std::clamp(bar.value() + step, bar.minimum(), bar.maximum());
    {
        const QSignalBlocker block(bar);
        bar.setValue(position);
    }
    ScrollBarDepthChange(position);
}

void TFormSingleCurve::wheelEvent(QWheelEvent* event)
{
    HandlerScope scope(*this);
    platform::Guarded(this, [&] {
        if (event->angleDelta().y() > 0)
            StepScrollBar(-1);
        else if (event->angleDelta().y() < 0)
            StepScrollBar(1);
    });
    event->accept();
}

void TFormSingleCurve::keyPressEvent(QKeyEvent* event)
{
    HandlerScope scope(*this);
    const int key = event->key();
    if (key == Qt::Key_Cancel || (key == Qt::Key_Pause && event->modifiers().testFlag(Qt::ControlModifier))) {
        Disarm();
        ReleaseOtherToolButtons(ui->ToolBar1, nullptr);
        return;
    }
    if (key == Qt::Key_F1) {
        TBHelpClick();
        return;
    }
    switch (key) {
    case Qt::Key_Right:
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_End:
    case Qt::Key_Home:
        if (heldKey_ == 0) {
            heldKey_ = key;
            TimerKeyControl->start();
        }
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void TFormSingleCurve::keyReleaseEvent(QKeyEvent* event)
{
    if (event->isAutoRepeat())
        return;
    heldKey_ = 0;
    TimerKeyControl->stop();
    QWidget::keyReleaseEvent(event);
}

void TFormSingleCurve::TimerKeyControlTick()
{
    TAxis& depth = PanelMain->YAxisInfo;
    TAxis& value = PanelMain->XAxisInfo;
    const int key = heldKey_;
    switch (key) {
    case Qt::Key_PageUp: StepScrollBar(-1); break;
    case Qt::Key_PageDown: StepScrollBar(1); break;
    case Qt::Key_Home:
    case Qt::Key_End:
        heldKey_ = 0;
        TimerKeyControl->stop();
        {
            QScrollBar& bar = *ui->ScrollBarDepth;
            const int position = std::clamp(key == Qt::Key_End ? 100 : 0, bar.minimum(), bar.maximum());
            StepScrollBar(position - bar.value());
        }
        break;
    case Qt::Key_Left: value.SetOffset(value.Offset() - 10); PanelMain->UpdateCurves(); break;
    case Qt::Key_Right: value.SetOffset(value.Offset() + 10); PanelMain->UpdateCurves(); break;
    case Qt::Key_Up: depth.SetOffset(depth.Offset() - 15); PanelMain->UpdateCurves(); break;
    case Qt::Key_Down: depth.SetOffset(depth.Offset() + 15); PanelMain->UpdateCurves(); break;
    default: TimerKeyControl->stop(); break;
    }
}

bool TFormSingleCurve::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->PBoxAllDepth) {
        if (event->type() == QEvent::Paint) {
            PaintOverview();
            return true;
        }
        if (event->type() == QEvent::MouseButtonPress) {
            HandlerScope scope(*this);
            const int y = static_cast<QMouseEvent*>(event)->position().toPoint().y();
            platform::Guarded(this, [&] { OverviewClick(y); });
            return true;
        }
    } else if (watched == ui->EdVertScale || watched->parent() == ui->EdVertScale) {
        // The right button opens the scale list instead of the edit's own menu.
        if (event->type() == QEvent::ContextMenu)
            return true;
        if (event->type() == QEvent::MouseButtonPress &&
            static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
            HandlerScope scope(*this);
            platform::Guarded(this, [&] { ShowScaleList(); });
            return true;
        }
    } else if (watched == ui->ScrollBarDepth && event->type() == QEvent::KeyPress) {
        keyPressEvent(static_cast<QKeyEvent*>(event));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// --- Docking ---

void TFormSingleCurve::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    if (!owner_ || !isActiveWindow())
        return;
    HandlerScope scope(*this);
    QRect desktop;
    if (const QScreen* screen = this->screen())
        desktop = screen->virtualGeometry();
    const QPoint client = geometry().topLeft();
    platform::Guarded(this, [&] {
        owner_->WindowMoved(this, {desktop.left(), desktop.top(), desktop.width(), desktop.height()}, client.x(),
                            client.y());
    });
}

void TFormSingleCurve::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && owner_)
        owner_->WindowStateChanged(this);
}

// The single-curve window's editing: tools on the panel, the pop-up menus, value operations,
// calculations, smoothing, intervals and statistics.
#include "datawin/SingleCurve.h"

#include "core/ExprList.h"
#include "core/Lasfile.h"
#include "core/MathExpression.h"
#include "core/Q7mathutils.h"
#include "datawin/SingleCurveValues.h"
#include "datawin/SynchSingleWindows.h"
#include "editing/AntiAliasByPoints.h"
#include "editing/AntiAliasingDegree.h"
#include "editing/IntervalManager.h"
#include "editing/IntervalParams.h"
#include "editing/SelectIntervalPart.h"
#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "ui_SingleCurve.h"
#include "view/PanelWithCurves.h"

#include <QCursor>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {
constexpr double kValueLimit = 1000000.0;
}  // namespace

void TFormSingleCurve::CreateMenus()
{
    Ui::TFormSingleCurve& f = *ui;
    PMenuInterval = new QMenu(this);
    PMenuInterval->setObjectName(QStringLiteral("PMenuInterval"));
    PMenuInterval->addAction(f.MIAA);
    PMenuInterval->addAction(f.MIAAByPoint);
    PMenuInterval->addSeparator();
    PMICalc = PMenuInterval->addMenu(QStringLiteral("Вычисления"));
    PMICalc->setObjectName(QStringLiteral("PMICalc"));
    PMenuInterval->addSeparator();
    PMenuInterval->addAction(f.MIShiftAmpl);
    PMenuInterval->addAction(f.MIMultAmpl);
    PMenuInterval->addSeparator();
    PMenuInterval->addAction(f.MIIntervalStat);
    PMenuInterval->addSeparator();
    PMenuInterval->addAction(f.MIRemoveInterval);
    const std::pair<QAction*, void (TFormSingleCurve::*)()> commands[] = {
        {f.MIAA, &TFormSingleCurve::MIAAClick},
        {f.MIAAByPoint, &TFormSingleCurve::MIAAByPointClick},
        {f.MIShiftAmpl, &TFormSingleCurve::MIShiftAmplClick},
        {f.MIMultAmpl, &TFormSingleCurve::MIMultAmplClick},
        {f.MIIntervalStat, &TFormSingleCurve::MIIntervalStatClick},
        {f.MIRemoveInterval, &TFormSingleCurve::MIRemoveIntervalClick},
    };
    for (const auto& [action, handler] : commands)
        connect(action, &QAction::triggered, this, Command([this, handler = handler] { (this->*handler)(); }));
    BuildCalcMenu();
}

void TFormSingleCurve::SetExprList(TExprList* list)
{
    exprList_ = list;
    Disarm();
    BuildCalcMenu();
}

void TFormSingleCurve::BuildCalcMenu()
{
    PMICalc->clear();
    PopupMenuCalculations->clear();
    int added = 0;
    const int count = exprList_ ? exprList_->Count() : 0;
    for (int i = 0; i < count; ++i) {
        const TMathExpression& expression = *exprList_->Item(i);
        if (expression.GetMaxCurveIndex() != 1)
            continue;
        const QString caption = QString::fromStdString(expression.GetHint().empty() ? expression.GetCaption()
                                                                                     : expression.GetHint());
        const int tag = i + 1;
        QAction* item = PopupMenuCalculations->addAction(caption);
        item->setObjectName(QStringLiteral("MICalc") + QString::number(i));
        item->setData(tag);
        connect(item, &QAction::triggered, this, Command([this, tag] { PopupCalculationClick(tag); }));
        QAction* popupItem = PMICalc->addAction(caption);
        popupItem->setObjectName(QStringLiteral("MICalc") + QString::number(i) + QStringLiteral("_P"));
        popupItem->setData(tag);
        connect(popupItem, &QAction::triggered, this, Command([this, tag] { PMICalcClick(tag); }));
        ++added;
    }
    ui->TBCalculations->setEnabled(added > 0);
    PMICalc->setEnabled(added > 0);
}

void TFormSingleCurve::Disarm()
{
    armedCalculation_ = 0;
}

void TFormSingleCurve::ToolButtonClick(QAction* button)
{
    Disarm();
    ReleaseOtherToolButtons(ui->ToolBar1, button);
    firstBoundary_ = secondBoundary_ = {};
    zoomStart_ = zoomEnd_ = {-1, -1};
    pencilCurve_ = 0;
    if (button->isChecked() && !PanelMain->Interval.IsSet()) {
        if (button == ui->TBShiftAmplitude || button == ui->TBMultAmplitude)
            ApplyAtPoint(PanelMain->mapFromGlobal(QCursor::pos()));
    }
    PanelMain->Repaint();
}

// --- Panel mouse ---

void TFormSingleCurve::PanelMouseDown(QMouseEvent& event)
{
    if (!Alive())
        return;
    const QPoint at = event.position().toPoint();
    pressedCurve_ = PanelMain->GetCurrentCurve();
    if (ui->TBZoomSquare->isChecked()) {
        zoomStart_ = zoomEnd_ = at;
        return;
    }
    if (event.button() != Qt::LeftButton)
        return;
    if (ui->TBPencil->isChecked()) {
        TakeSnapshot("Карандаш");
        pencilCurve_ = pressedCurve_;
        lastPencilPoint_ = at;
    } else if (ui->TBPutBoundary->isChecked() && pressedCurve_ == 0) {
        firstBoundary_ = {at.y(), PanelMain->GetDepthArrayNumber(at.y()), PanelMain->GetDepthValue(at.y())};
        secondBoundary_ = {};
        PanelMain->Repaint();
    }
}

void TFormSingleCurve::PanelMouseMove(QMouseEvent& event)
{
    if (!Alive())
        return;
    const QPoint at = event.position().toPoint();
    const bool left = event.buttons().testFlag(Qt::LeftButton);
    if (ui->TBZoomSquare->isChecked() && zoomStart_.x() >= 0 && left) {
        zoomEnd_ = at;
        PanelMain->Repaint();
    } else if (ui->TBPencil->isChecked() && pencilCurve_ > 0) {
        PanelMain->SetLine(pencilCurve_ - 1, lastPencilPoint_.x(), lastPencilPoint_.y(), at.x(), at.y());
        lastPencilPoint_ = at;
        PanelMain->Repaint();
    } else if (ui->TBPutBoundary->isChecked() && left && firstBoundary_.y >= 0) {
        secondBoundary_ = {at.y(), PanelMain->GetDepthArrayNumber(at.y()), PanelMain->GetDepthValue(at.y())};
        PanelMain->Repaint();
    }
}

void TFormSingleCurve::PanelMouseUp(QMouseEvent& event)
{
    if (!Alive())
        return;
    const QPoint at = event.position().toPoint();
    if (ui->TBZoomSquare->isChecked() && zoomStart_.x() >= 0) {
        const QPoint start = zoomStart_;
        zoomStart_ = zoomEnd_ = {-1, -1};
        ui->TBZoomSquare->setChecked(false);
        ZoomToRect(start, at);
        return;
    }
    if (ui->TBPencil->isChecked() && event.button() == Qt::LeftButton) {
        pencilCurve_ = 0;
        return;
    }
    if (ui->TBPutBoundary->isChecked() && event.button() == Qt::LeftButton) {
        const float d1 = firstBoundary_.y >= 0 ? static_cast<float>(firstBoundary_.depth) : 0.0f;
        const float d2 = secondBoundary_.y >= 0 ? static_cast<float>(secondBoundary_.depth) : 0.0f;
        firstBoundary_ = secondBoundary_ = {};
        ui->TBPutBoundary->setChecked(false);
        PanelMain->Repaint();
        AddInterval(d1, d2);
        return;
    }
    if (event.button() == Qt::RightButton)
        ShowPopup(at);
}

void TFormSingleCurve::PanelDblClick(QMouseEvent& event)
{
    if (!Alive() || event.button() != Qt::LeftButton)
        return;
    // The height of the double click gives the range, not a pop-up dismissed before it.
    popupZone_ = ZoneNotFromPopup;
    ApplyAtPoint(event.position().toPoint());
}

void TFormSingleCurve::PaintOverlay(QPainter& painter)
{
    const QRect area = PanelMain->DrawingArea();
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    if (zoomStart_.x() >= 0 && zoomEnd_ != zoomStart_)
        painter.drawRect(QRect(zoomStart_, zoomEnd_).normalized());
    for (const Boundary* boundary : {&firstBoundary_, &secondBoundary_})
        if (boundary->y >= 0)
            painter.drawLine(area.left(), boundary->y, area.right(), boundary->y);
}

void TFormSingleCurve::DrawingAreaPaint(QPainter& canvas, const QRect& area, double firstDepth, double lastDepth,
                                        TRasterOp& op)
{
    IntervalManager* intervals = owner_ ? owner_->Intervals() : nullptr;
    if (!intervals)
        return;
    canvas.fillRect(area, Qt::black);
    intervals->DrawIntervals(canvas, area, static_cast<float>(firstDepth), static_cast<float>(lastDepth));
    op = SRCINVERT;
}

void TFormSingleCurve::ZoomToRect(QPoint corner1, QPoint corner2)
{
    TCurve* first = Curve();
    if (!first || !lasFile_ || lasFile_->GetCurvesCount() < 2)
        return;
    const QRect area = PanelMain->DrawingArea();
    const QRect square = QRect(QPoint(std::min(corner1.x(), corner2.x()), std::min(corner1.y(), corner2.y())),
                               QPoint(std::max(corner1.x(), corner2.x()), std::max(corner1.y(), corner2.y())))
                             .intersected(area);
    if (square.width() < 5)
        return;
    const PanelCoordinates coordinates = PanelMain->Coordinates();
    const double valueAtLeft = first->ValueAt(square.left(), coordinates);
    bool scaled = false;
    for (int i = 0; i < PanelMain->GetCurvesCount(); ++i) {
        TCurve* curve = PanelMain->GetCurve(i);
        if (!PanelMain->CurveBelongsSquare(i, square.topLeft(), square.bottomRight()))
            continue;
        curve->SetPixelsPerUnit(curve->PixelsPerUnit() * area.width() / square.width());
        scaled = true;
    }
    WriteScalesBack();
    if (scaled) {
        // The value under the rectangle's left edge stays under it.
        const double column = area.left() + first->XOffset() + (valueAtLeft - first->Minimum()) * first->PixelsPerUnit();
        PanelMain->XAxisInfo.SetOffset(static_cast<int>(
            std::clamp(column - square.left(), -double(kMaxPixelOffset), double(kMaxPixelOffset))));
    }
    PanelMain->Repaint();
}

// --- Pop-up menu and value operations ---

void TFormSingleCurve::ShowPopup(QPoint panelPoint)
{
    popupPoint_ = PanelMain->mapToGlobal(panelPoint);
    const TInterval& selection = PanelMain->Interval;
    const int index = PanelMain->Coordinates().NearestIndex(PanelMain->GetDepthValue(panelPoint.y()));
    const bool selected = selection.IsSet();
    ui->MIRemoveInterval->setEnabled(selected && index >= selection.First() && index <= selection.Last());
    ui->MIIntervalStat->setEnabled(selected);
    if (!selected)
        popupZone_ = ZoneNoSelection;
    else if (index < selection.First())
        popupZone_ = ZoneAbove;
    else if (index > selection.Last())
        popupZone_ = ZoneBelow;
    else
        popupZone_ = ZoneInside;
    PMenuInterval->popup(popupPoint_);
}

std::pair<int, int> TFormSingleCurve::OperationRange(int y) const
{
    const TInterval& selection = PanelMain->Interval;
    const int n = Curve() ? std::min(Curve()->Count(), PanelMain->YAxisInfo.DepthCount()) : 0;
    const int index = PanelMain->Coordinates().NearestIndex(PanelMain->GetDepthValue(y));
    return ValueRangeOfZone(popupZone_, selection.IsSet() ? selection.First() : -1,
                            selection.IsSet() ? selection.Last() : -1, index, n);
}

void TFormSingleCurve::ApplyAtPoint(QPoint point)
{
    if (!Alive() || !Curve())
        return;
    const auto [from, to] = OperationRange(point.y());
    if (ui->TBShiftAmplitude->isChecked())
        ApplyValueOperation(false, from, to);
    else if (ui->TBMultAmplitude->isChecked())
        ApplyValueOperation(true, from, to);
    else if (armedCalculation_ != 0 && exprList_)
        RunCalculation(from, to);
}

void TFormSingleCurve::ApplyValueOperation(bool multiply, int from, int to)
{
    const std::string caption = multiply ? "Умножение значений кривой" : "Сдвиг значений кривой";
    const std::string prompt = multiply ? "Множитель значений кривой" : "Величина, прибавляемая к значениям кривой";
    const double neutral = multiply ? 1.0 : 0.0;
    double value = neutral;
    const bool answered = AskNumber(caption, prompt, 4, -kValueLimit, kValueLimit, value);
    (multiply ? ui->TBMultAmplitude : ui->TBShiftAmplitude)->setChecked(false);
    // The document may have been replaced while the box was open.
    if (!answered || value == neutral || !Alive() || !Curve())
        return;
    TakeSnapshot(caption);
    TCurve& curve = *Curve();
    const int last = std::min(to, curve.Count() - 1);
    if (multiply)
        MultiplyValues(curve.Values(), from, last, curve.NullValue(), value);
    else
        ShiftValues(curve.Values(), from, last, curve.NullValue(), value);
    curve.Update();
    ApplyHorScale();
    PanelMain->Repaint();
}

void TFormSingleCurve::MIShiftAmplClick()
{
    ui->TBShiftAmplitude->setChecked(true);
    ReleaseOtherToolButtons(ui->ToolBar1, ui->TBShiftAmplitude);
    ApplyAtPoint(PanelMain->mapFromGlobal(popupPoint_));
    popupZone_ = ZoneNotFromPopup;
}

void TFormSingleCurve::MIMultAmplClick()
{
    ui->TBMultAmplitude->setChecked(true);
    ReleaseOtherToolButtons(ui->ToolBar1, ui->TBMultAmplitude);
    ApplyAtPoint(PanelMain->mapFromGlobal(popupPoint_));
    popupZone_ = ZoneNotFromPopup;
}

void TFormSingleCurve::MIRemoveIntervalClick()
{
    PanelMain->Interval.Clear();
    PanelMain->Repaint();
    popupZone_ = ZoneNotFromPopup;
}

void TFormSingleCurve::MIAAClick()
{
    popupZone_ = ZoneNotFromPopup;
    TBAntiAliasClick();
}

void TFormSingleCurve::MIAAByPointClick()
{
    popupZone_ = ZoneNotFromPopup;
    TBAAByPointsClick();
}

// --- Calculations ---

bool TFormSingleCurve::ArmCalculation(int tag)
{
    if (!Alive() || !exprList_ || tag < 1 || tag > exprList_->Count() ||
        exprList_->Item(tag - 1)->GetMaxCurveIndex() != 1)
        return false;
    armedCalculation_ = kArmedBase + tag;
    ReleaseOtherToolButtons(ui->ToolBar1, nullptr);
    return true;
}

void TFormSingleCurve::PopupCalculationClick(int tag)
{
    if (!ArmCalculation(tag))
        return;
    if (!PanelMain->Interval.IsSet())
        RunCalculation(0, Curve() ? Curve()->Count() - 1 : -1);
    else
        ui->TBCalculations->setChecked(true);
}

void TFormSingleCurve::PMICalcClick(int tag)
{
    if (!ArmCalculation(tag))
        return;
    ApplyAtPoint(PanelMain->mapFromGlobal(popupPoint_));
    popupZone_ = ZoneNotFromPopup;
}

void TFormSingleCurve::RunCalculation(int from, int to)
{
    const int number = armedCalculation_ - kArmedBase;
    Disarm();
    if (!Alive() || !exprList_ || number < 1 || number > exprList_->Count() || !Curve() || from > to)
        return;
    TMathExpression& expression = *exprList_->Item(number - 1);
    const QString text = QString::fromStdString(expression.GetValue());
    if (!expression.AskUserConstValues() || !Alive() || !Curve()) {
        ReleaseOtherToolButtons(ui->ToolBar1, nullptr);
        return;
    }
    TCurve& curve = *Curve();
    const int n = std::min(curve.Count(), lasFile_->GetPointCount());
    to = std::min(to, n - 1);
    FloatVector result(curve.Values(), curve.Values() + n);
    bool done = false;
    try {
        done = expression.Calculate({curve.Values()}, result, from, to, lasFile_->GetNullValue(),
                                    lasFile_->GetCurveData(0));
    } catch (const std::exception&) {
        done = false;
    }
    if (!done) {
        ReleaseOtherToolButtons(ui->ToolBar1, nullptr);
        const std::string& error = expression.GetLastError();
        platform::MessageBox(this,
                             QStringLiteral("При вычислении \n") + text + QStringLiteral("\nПроизошла ошибка:\n") +
                                 (error.empty() ? QStringLiteral("Неопознанная ошибка") : QString::fromStdString(error)),
                             QStringLiteral("Ошибка"), platform::MB_OK | platform::MB_ICONERROR);
        return;
    }
    const int answer = platform::MessageBox(
        this, QStringLiteral("Вычисление\n") + text + QStringLiteral("\nуспешно выполнено.\nПрименить?"),
        QStringLiteral("Вычисления"), platform::MB_OKCANCEL | platform::MB_ICONQUESTION);
    if (answer == platform::IDOK && Alive() && Curve()) {
        // Taken only now: a declined or failed calculation leaves the undo and redo steps as they were.
        TakeSnapshot("Вычисления");
        std::copy_n(result.begin(), std::min<std::size_t>(result.size(), std::size_t(Curve()->Count())),
                    Curve()->Values());
        Curve()->Update();
        PanelMain->UpdateCurves();
    }
    ReleaseOtherToolButtons(ui->ToolBar1, nullptr);
}

// --- Smoothing ---

namespace {
// The window's write-back of smoothed segments.
void WriteSmoothed(void* context, const ListOfFloatValuesWithIndex& list)
{
    auto* window = static_cast<TFormSingleCurve*>(context);
    TCurve* curve = window->Curve();
    if (!window->LasFile() || !curve)
        return;
    for (const FloatValuesWithIndex& segment : list) {
        const int start = segment.index;
        const int count = std::min(static_cast<int>(segment.values.size()), curve->Count() - start);
        if (start >= 0 && count > 0)
            std::copy_n(segment.values.begin(), count, curve->Values() + start);
    }
    curve->Update();
    window->PanelMain->UpdateCurves();
}
}  // namespace

void TFormSingleCurve::TBAntiAliasClick()
{
    Smooth(false);
}

void TFormSingleCurve::TBAAByPointsClick()
{
    Smooth(true);
}

void TFormSingleCurve::Smooth(bool byPoints)
{
    Disarm();
    if (!Alive() || !Curve())
        return;
    FloatPairList intervals;
    IntervalManager* manager = owner_ ? owner_->Intervals() : nullptr;
    if (!manager || manager->List.empty()) {
        intervals.push_back({lasFile_->GetTopDepth(), lasFile_->GetBottomDepth()});
    } else {
        TDlgSelectIntervalPart choice(this);
        choice.SetTopMessage(QStringLiteral("Сглаживание: выбор интервалов"));
        choice.Execute(*lasFile_, manager, intervals, -1);
    }
    if (intervals.empty() || !Alive() || !Curve())
        return;
    const IntPairVector ranges = IntervalsToIndexPairs(intervals, lasFile_->GetCurveData(0), lasFile_->GetPointCount());
    if (ranges.empty())
        return;
    const QString name = QString::fromStdString(lasFile_->GetCurveName(curveIndex_));
    TCurve& curve = *Curve();
    TakeSnapshot(byPoints ? "Сглаживание кривой по точкам" : "Сглаживание кривой по спектру");
    bool applied = false;
    if (byPoints) {
        TFormAntiAliasingByPoints dialog(this);
        applied = dialog.Init(this, WriteSmoothed, this, ranges, curve.Count(), curve.Values(), name, curve.NullValue());
    } else {
        TDlgAADegree dialog(this);
        applied = dialog.Execute(this, WriteSmoothed, this, ranges, curve.Count(), curve.Values(), name,
                                 curve.NullValue()) == 1;
    }
    // A cancel wrote the values back as found: undo and redo stay as they were.
    if (!applied && Alive())
        DiscardSnapshot();
}

// --- Intervals and statistics ---

void TFormSingleCurve::AddInterval(float depth1, float depth2)
{
    IntervalManager* manager = owner_ ? owner_->Intervals() : nullptr;
    if (std::fabs(depth1 - depth2) <= 0.00001f || !manager)
        return;
    const IntervalItem proposal{depth1, depth2, 0xEEEEFF, "New", true};
    IntervalItem result = proposal;
    TFormIntervalParams dialog(this);
    if (!dialog.Execute(proposal, manager->GetTop(), manager->GetBottom(), result, lasFile_) || !Alive() || !owner_)
        return;
    if (IntervalItem* added =
            manager->SetInterval(static_cast<float>(result.Top), static_cast<float>(result.Bottom))) {
        added->Name = result.Name;
        added->Color = result.Color;
        added->Active = true;
    }
    owner_->BroadcastRepaint(this);
    RepaintPanel();
}

QString TFormSingleCurve::StatisticsText(bool whole) const
{
    const TInterval& selection = PanelMain->Interval;
    const int first = selection.IsSet() ? selection.First() : -1;
    const int last = selection.IsSet() ? selection.Last() : -1;
    return whole ? CurveInformationText(*lasFile_, curveIndex_, first, last)
                 : CurveStatisticsText(*lasFile_, curveIndex_, first, last, false);
}

void TFormSingleCurve::MIIntervalStatClick()
{
    popupZone_ = ZoneNotFromPopup;
    if (!Alive() || !Curve() || Curve()->Count() < 1 || !PanelMain->Interval.IsSet())
        return;
    platform::MessageBox(this, StatisticsText(false), QStringLiteral("Статистика кривой в интервале"),
                         platform::MB_OK | platform::MB_ICONINFORMATION);
}

void TFormSingleCurve::TBInfoClick()
{
    if (!Alive() || !Curve() || Curve()->Count() < 1)
        return;
    platform::MessageBox(this, StatisticsText(true), QStringLiteral("Информация о кривой"),
                         platform::MB_OK | platform::MB_ICONINFORMATION);
}

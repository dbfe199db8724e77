// Main window: the hidden commands over the panel's selected range: clearing it and cutting
// the document down to it.
#include "app/MainUnit.h"

#include "core/Lasfile.h"
#include "editing/IntervalLimiter.h"
#include "platform/DialogRunner.h"
#include "ui_MainUnit.h"
#include "view/PanelWithCurves.h"

#include <QMenu>
#include <QMenuBar>
#include <vector>

void TFormMain::CreateIntervalCutCommands()
{
    Ui::TFormMain& f = *ui;
    DlgIntervalLimiter = new TDlgIntervalLimiter(this);
    MMIInterval = new QMenu(QStringLiteral("Инте&рвал"), this);
    MMIInterval->setObjectName(QStringLiteral("MMIInterval"));
    MMIIntervalSet = MMIInterval->addAction(QStringLiteral("Задать интервал..."));
    MMIIntervalRemove = MMIInterval->addAction(QStringLiteral("Убрать интервал"));
    MMIIntervalOnlyInterval = MMIInterval->addAction(QStringLiteral("Оставить только интервал"));
    f.MainMenu->insertMenu(f.MIView->menuAction(), MMIInterval);
    MMIInterval->menuAction()->setVisible(false);
    PMIIntervalCut = new QAction(QStringLiteral("Оставить только интервал..."), this);
    PMIIntervalCut->setVisible(false);
    PMenuBound->insertAction(f.PMIMergeCurrentIntWithNext, PMIIntervalCut);

    const std::pair<QAction*, void (TFormMain::*)()> commands[] = {
        {MMIIntervalSet, &TFormMain::MMIIntervalSetClick},
        {MMIIntervalRemove, &TFormMain::MMIIntervalRemoveClick},
        {MMIIntervalOnlyInterval, &TFormMain::MMIIntervalOnlyIntervalClick},
        {PMIIntervalCut, &TFormMain::MMIIntervalOnlyIntervalClick},
    };
    for (const auto& [action, handler] : commands)
        connect(action, &QAction::triggered, this, Command([this, handler = handler] { (this->*handler)(); }));
}

void TFormMain::MMIIntervalRemoveClick()
{
    if (!PanelCurves->Interval.IsSet())
        return;
    PanelCurves->Interval.Clear();
    PanelCurves->Repaint();
}

// The range's ends become the samples nearest to the two depths typed, so the cut stays inside
// the arrays whatever the header's STEP says.
void TFormMain::MMIIntervalOnlyIntervalClick()
{
    TInterval& range = PanelCurves->Interval;
    if (!lasFile_ || !range.IsSet()) {
        platform::MessageBox(this, QStringLiteral("Интервал не задан!"), QStringLiteral("Ошибка"),
                             platform::MB_OK | platform::MB_ICONWARNING);
        return;
    }
    DlgIntervalLimiter->setWindowTitle(QStringLiteral("Сокращение интервала до заданных границ"));
    DlgIntervalLimiter->SetInfoText(QStringLiteral("Задайте верхнюю и нижнюю границы интервала"));
    DlgIntervalLimiter->SetDepthLimits(lasFile_->DepthAt(0), lasFile_->DepthAt(lasFile_->GetPointCount() - 1),
                                       lasFile_->GetDepthDecimals());
    DlgIntervalLimiter->SetFrom(lasFile_->DepthAt(range.First()));
    DlgIntervalLimiter->SetTo(lasFile_->DepthAt(range.Last()));
    if (!DlgIntervalLimiter->Execute())
        return;
    const PanelCoordinates coordinates = PanelCurves->Coordinates();
    const int first = coordinates.NearestIndex(DlgIntervalLimiter->GetFrom());
    const int last = coordinates.NearestIndex(DlgIntervalLimiter->GetTo());
    if (first < 0 || last < first)
        return;
    const int n = last - first + 1;
    std::vector<std::vector<float>> kept(static_cast<std::size_t>(lasFile_->GetCurvesCount()));
    for (int c = 0; c < lasFile_->GetCurvesCount(); ++c) {
        const float* values = lasFile_->GetCurveData(c);
        kept[static_cast<std::size_t>(c)].assign(values + first, values + last + 1);
    }
    Snapshot("'Сокращение интервала'");
    lasFile_->SetDepthValues(n, kept[0].data());
    for (int c = 1; c < lasFile_->GetCurvesCount(); ++c)
        std::copy(kept[static_cast<std::size_t>(c)].begin(), kept[static_cast<std::size_t>(c)].end(),
                  lasFile_->GetCurveData(c));
    range.Clear();
    ReattachView();
}

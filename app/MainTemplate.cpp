// Main window: the curve print template it holds, bound to the document and filled from the
// view's selected curves.
#include "app/MainUnit.h"

#include "core/Lasfile.h"
#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "printing/BindDocument.h"
#include "printing/FormCurveTemplate.h"
#include "printing/FormPrnParams.h"
#include "printing/TemplateVariables.h"
#include "ui_MainUnit.h"
#include "view/PanelWithCurves.h"

#include <algorithm>

void TFormMain::SetUpCurveTemplate()
{
    FormCurveTemplate = new TFormCurveTemplate(this);
    FormCurveTemplate->SetSettings(settings_.get());
    // Each close of the editor hands its printed range and scale to the print-title variables.
    FormCurveTemplate->OnClosed = [editor = FormCurveTemplate] {
        SetPrintValueSources([editor] { return editor->GetPrintTopValue(); },
                             [editor] { return editor->GetPrintBottomValue(); },
                             [editor] { return editor->GetScaleDenominator(); });
    };
    connect(ui->MMIClearTemplate, &QAction::triggered, this, platform::Guarded([this] { MMIClearTemplateClick(); }));
}

void TFormMain::ClearTemplateBinding(bool release)
{
    if (!FormCurveTemplate)
        return;
    FormCurveTemplate->Bound = 0;
    if (release)
        FormCurveTemplate->ReleaseSource();
}

void TFormMain::BindCurveTemplate()
{
    if (!lasFile_) {
        platform::MessageBox(this, QStringLiteral("Файл не загружен."), QStringLiteral("Шаблон вывода кривых"),
                             platform::MB_OK | platform::MB_ICONINFORMATION);
        return;
    }
    FormCurveTemplate->SetSettings(settings_.get());
    // Every data curve is in the view, so file order is view order.
    BindAllCurves(FormCurveTemplate->Model, *lasFile_);
    FormCurveTemplate->SourceChanged();
}

void TFormMain::AddSelectedCurvesToTemplate(bool newColumn)
{
    if (GetSelectedCurveCount() == 0) {
        platform::MessageBox(this, QStringLiteral("Не выбрано ни одной кривой"), QStringLiteral("Ошибка"),
                             platform::MB_OK | platform::MB_ICONERROR);
        return;
    }
    TFormCurveTemplate& editor = *FormCurveTemplate;
    if (editor.Bound == 0) {
        BindCurveTemplate();
        editor.Bound = 1;
    }
    int column = newColumn || editor.Model.Columns.empty() ? editor.AddColumn()
                                                           : static_cast<int>(editor.Model.Columns.size()) - 1;
    editor.SelectColumn(column);
    // The column is as wide as the view's drawing area, but never wider than the room the
    // current sheet leaves it beside the depth track and the columns before it.
    const double pixelsPerCm = PanelCurves->logicalDpiX() / 2.54;
    TPrintingColumn& target = *editor.Model.Columns[static_cast<size_t>(column)];
    const double room = FormPrnParams->PrintableWidthCm() - (editor.Model.ColumnRightEdge(column) - target.Width);
    const double width = std::min(PanelCurves->width() / pixelsPerCm, std::max(1.0, room));
    if (width > 0.0)
        target.SetWidth(static_cast<float>(width));
    editor.UpdateBarTracks();

    std::vector<int> selected;
    for (int n = 0; n < GetSelectedCurveCount(); ++n)
        selected.push_back(GetSelectedCurveIndex(n));
    std::stable_sort(selected.begin(), selected.end(), [this](int a, int b) {
        return PanelCurves->GetCurve(a)->XOffset() < PanelCurves->GetCurve(b)->XOffset();
    });
    const TCurve& leftmost = *PanelCurves->GetCurve(selected.front());
    for (int index : selected) {
        const TCurve& view = *PanelCurves->GetCurve(index);
        TCurveForPrinting* curve = editor.AddCurveToColumn(index, column);
        if (!curve)
            continue;
        // The view's value units per screen centimetre; the other curves keep their offset
        // from the leftmost one.
        curve->SetScaleValue(static_cast<float>(pixelsPerCm / view.PixelsPerUnit()));
        curve->Color = static_cast<int>(view.Color());
        curve->Width = view.LineWidth() * 0.02f;
        if (&view != &leftmost)
            curve->SetLeftValue(static_cast<float>(view.Minimum() + (leftmost.XOffset() - view.XOffset()) / view.PixelsPerUnit()));
    }
    editor.FillCurveList();
}

void TFormMain::MMIClearTemplateClick()
{
    FormCurveTemplate->ClearColumns();
    FormCurveTemplate->Bound = 0;
}

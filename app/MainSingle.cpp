// Main window: the single-curve windows, their command and the notices they send back.
#include "app/MainUnit.h"

#include "core/Lasfile.h"
#include "ui_MainUnit.h"
#include "view/PanelWithCurves.h"

#include <QMenu>

namespace {
// The context is the main window; anything else is ignored.
TFormMain* MainOf(void* context)
{
    return qobject_cast<TFormMain*>(static_cast<QObject*>(context));
}
}  // namespace

void TFormMain::SetUpSingleWindows()
{
    SingleWindows.CallbackContext = static_cast<QObject*>(this);
    SingleWindows.OnUndoStateChanged = [](void* context) {
        if (TFormMain* main = MainOf(context))
            main->UpdateUndoRedoState(true);
    };
    SingleWindows.OnUndo = [](void* context) {
        if (TFormMain* main = MainOf(context))
            main->TBUndoClick();
    };
    SingleWindows.OnRedo = [](void* context) {
        if (TFormMain* main = MainOf(context))
            main->TBRedoClick();
    };
    SingleWindows.OnIntervalsChanged = [](void* context) {
        if (TFormMain* main = MainOf(context))
            main->RefreshIntervals();
    };
    MICurveToWindow = new QAction(QStringLiteral("Показать в отдельном окне"), this);
    MICurveToWindow->setObjectName(QStringLiteral("MICurveToWindow"));
    PMenuCurves->insertAction(ui->MICurveName, MICurveToWindow);
    connect(MICurveToWindow, &QAction::triggered, this, Command([this] { MICurveToWindowClick(); }));
}

void TFormMain::MICurveToWindowClick()
{
    const int curve = PopupDataCurve();
    if (curve <= 0)
        return;
    const TCurve* shown = PanelCurves->GetCurve(curve - 1);
    SingleWindows.OpenWindow(curve, shown ? shown->Color() : CurveColors[curve % 10], static_cast<float>(DepthScale));
}

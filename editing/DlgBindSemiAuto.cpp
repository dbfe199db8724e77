// Semi-automatic binding dialog.
#include "editing/DlgBindSemiAuto.h"

#include "core/Lasfile.h"
#include "editing/SemiAutoBind.h"
#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "ui_DlgBindSemiAuto.h"


namespace {
constexpr int kHelpTopic = 21;
}  // namespace

TDlgBindSemiAuto::TDlgBindSemiAuto(QWidget* parent)
    : TGradientDialog(parent, kHelpTopic), ui(std::make_unique<Ui::TDlgBindSemiAuto>())
{
    ui->setupUi(this);
    connect(ui->OKBtn, &QPushButton::clicked, this, platform::Guarded([this] { OKBtnClick(); }));
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(ui->ButtonSelectAll, &QPushButton::clicked, ui->ListBoxCurves, &QListWidget::selectAll);
    ConnectHelpButton(ui->BitBtnHelp);
}

TDlgBindSemiAuto::~TDlgBindSemiAuto() = default;

bool TDlgBindSemiAuto::Execute(bool baseStage, TLASFile& document, const std::vector<int>& candidates, int first,
                               int last, TSemiAutoBindCurves& state)
{
    baseStage_ = baseStage;
    document_ = &document;
    candidates_ = candidates;
    first_ = first;
    last_ = last;
    state_ = &state;
    Ui::TDlgBindSemiAuto& f = *ui;
    setWindowTitle(baseStage ? QStringLiteral("Определение Базовой кривой")
                             : QStringLiteral("Определение увязываемых кривых"));
    f.LabelBindcurve->setText(baseStage ? QStringLiteral("Базовая кривая") : QStringLiteral("Кривая для увязки"));
    f.ListBoxCurves->setSelectionMode(baseStage ? QAbstractItemView::SingleSelection
                                                : QAbstractItemView::ExtendedSelection);
    f.ButtonSelectAll->setVisible(!baseStage);
    f.ListBoxCurves->clear();
    for (int i = 1; i < document.GetCurvesCount(); ++i)
        f.ListBoxCurves->addItem(QString::fromStdString(document.GetCurveName(i)));
    f.ComboBindCurve->clear();
    for (int curve : candidates)
        f.ComboBindCurve->addItem(QString::fromStdString(document.GetCurveName(curve)));
    f.ComboBindCurve->setCurrentIndex(candidates.empty() ? -1 : 0);
    return platform::ExecDialog(*this) == QDialog::Accepted;
}

void TDlgBindSemiAuto::OKBtnClick()
{
    Ui::TDlgBindSemiAuto& f = *ui;
    const int chosen = f.ComboBindCurve->currentIndex();
    if (chosen < 0 || chosen >= static_cast<int>(candidates_.size())) {
        platform::MessageBox(this,
                             QStringLiteral("Не установлена ") + (baseStage_ ? QStringLiteral("базовая кривая!")
                                                                            : QStringLiteral("кривая для увязки!")),
                             windowTitle(), platform::MB_OK | platform::MB_ICONWARNING);
        return;
    }
    const int curve = candidates_[static_cast<std::size_t>(chosen)];
    const bool useMinimum = f.RadioMinimum->isChecked();
    if (baseStage_) {
        state_->SetBase(curve, first_, last_, useMinimum, document_);
        state_->FindBaseFeature(-1);
    } else {
        const int feature = state_->SetBoundFeature(state_->AddBound(curve, first_, last_, useMinimum), -1);
        // The other selected curves move together with the chosen one.
        for (int row = 0; row < f.ListBoxCurves->count(); ++row) {
            const int other = row + 1;
            if (f.ListBoxCurves->item(row)->isSelected() && other != curve && other != state_->Base().curve)
                state_->SetBoundFeature(state_->AddBound(other, first_, last_, useMinimum), feature);
        }
    }
    accept();
}

bool ShowBindSemiAutoDialog(TDlgBindSemiAuto& dialog, bool baseStage, TLASFile& document,
                            const std::vector<int>& candidates, int first, int last, TSemiAutoBindCurves& state)
{
    return dialog.Execute(baseStage, document, candidates, first, last, state);
}

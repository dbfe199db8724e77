// Curve names dialog.
#include "editing/DlgCurveNames.h"

#include "core/LasParser2.h"
#include "core/StringUtils.h"
#include "editing/CurveNameRules.h"
#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "ui_DlgCurveNames.h"

#include <QSignalBlocker>

namespace {
constexpr int kHelpTopic = 1;

QString WithoutInvalidChars(const QString& name)
{
    return QString::fromStdString(RemoveCurveNameInvalidChars(name.toStdString()));
}
}  // namespace

TDialogCurveNames::TDialogCurveNames(QWidget* parent)
    : TGradientDialog(parent, kHelpTopic), ui(std::make_unique<Ui::TDialogCurveNames>())
{
    ui->setupUi(this);
    ui->SGNames->setColumnWidth(0, 160);
    ui->SGNames->setColumnWidth(1, 164);
    connect(ui->SGNames, &QTableWidget::cellChanged, this,
            platform::Guarded([this](int row, int column) { CleanCell(row, column); }));
    connect(ui->OKBtn, &QPushButton::clicked, this, platform::Guarded([this] { OKBtnClick(); }));
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    ConnectHelpButton(ui->BitBtnHelp);
}

TDialogCurveNames::~TDialogCurveNames() = default;

bool TDialogCurveNames::Execute()
{
    FormShow();
    return platform::ExecDialog(*this) == QDialog::Accepted;
}

void TDialogCurveNames::FormShow()
{
    QTableWidget& grid = *ui->SGNames;
    const QSignalBlocker block(&grid);
    NewNames.clear();
    grid.clearContents();
    grid.setRowCount(std::max<int>(1, static_cast<int>(OldNames.size())));
    grid.setEnabled(!OldNames.isEmpty());
    for (int i = 0; i < OldNames.size(); ++i) {
        auto* old = new QTableWidgetItem(OldNames[i]);
        old->setFlags(old->flags() & ~Qt::ItemIsEditable);
        grid.setItem(i, 0, old);
        grid.setItem(i, 1, new QTableWidgetItem(OldNames[i]));
        NewNames.append(OldNames[i]);
    }
}

void TDialogCurveNames::CleanCell(int row, int column)
{
    QTableWidgetItem* cell = ui->SGNames->item(row, column);
    if (column != 1 || !cell)
        return;
    const QString clean = WithoutInvalidChars(cell->text());
    if (clean != cell->text()) {
        const QSignalBlocker block(ui->SGNames);
        cell->setText(clean);
    }
}

void TDialogCurveNames::OKBtnClick()
{
    NewNames.clear();
    for (int i = 0; i < OldNames.size(); ++i) {
        const QTableWidgetItem* cell = ui->SGNames->item(i, 1);
        const QString name = cell ? WithoutInvalidChars(cell->text()) : QString();
        if (!name.isEmpty() && Document &&
            RefusedCurveText(this, *Document, OldNames[i], TLasParsParsedString::kMnemonic, name)) {
            ui->SGNames->setCurrentCell(i, 1);
            return;
        }
        NewNames.append(name.isEmpty() ? OldNames[i] : name);
    }
    accept();
}

// Below the grid: a vertical gradient from pale blue to grey.
int TDialogCurveNames::GradientTop() const
{
    return ui->SGNames->geometry().bottom();
}

// Smoothing by spectrum dialog.
#include "editing/AntiAliasingDegree.h"

#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "ui_AntiAliasingDegree.h"
#include "view/PaintHelpers.h"

#include <QPainter>
#include <QSignalBlocker>

TDlgAADegree::TDlgAADegree(QWidget* parent) : TGradientDialog(parent, 2), ui(std::make_unique<Ui::TDlgAADegree>())
{
    ui->setupUi(this);
    QPalette palette = ui->RxSlider->palette();
    palette.setColor(QPalette::Window, QColor(0xE0, 0xE0, 0xFF));
    ui->RxSlider->setPalette(palette);
    connect(ui->RxSlider, &QSlider::valueChanged, this, platform::Guarded([this](int v) { RxSliderChanged(v); }));
    connect(ui->OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    ConnectHelpButton(ui->BitBtnHelp);
}

TDlgAADegree::~TDlgAADegree() = default;

int TDlgAADegree::Execute(QWidget* owner, SmoothingWriteBack writeBack, void* context, const IntPairVector& ranges,
                          int count, float* samples, const QString& curveName, float nullValue)
{
    if (!samples)
        return 0;
    (void)owner;  // the modal run disables every other window
    writeBack_ = writeBack;
    context_ = context;
    smoother_.emplace(PrepareSmoothingRanges(ranges, count, samples, nullValue), nullValue);
    ui->Label1->setText(QStringLiteral("Кривая ") + curveName + QStringLiteral("\nСглаживание по спектру"));
    {
        QSignalBlocker block(ui->RxSlider);
        ui->RxSlider->setValue(0);
    }
    const int result = platform::ExecDialog(*this);
    if (result != QDialog::Accepted)
        RestoreFound();
    FormClose();
    return result == QDialog::Accepted ? 1 : 2;
}

void TDlgAADegree::RxSliderChanged(int position)
{
    if (smoother_ && !smoother_->Empty() && writeBack_)
        writeBack_(context_, smoother_->Apply(position));
}

void TDlgAADegree::RestoreFound()
{
    if (smoother_ && !smoother_->Empty() && writeBack_)
        writeBack_(context_, smoother_->Found());
}

void TDlgAADegree::FormClose()
{
    smoother_.reset();
    QSignalBlocker block(ui->RxSlider);
    ui->RxSlider->setValue(0);
    writeBack_ = nullptr;
    context_ = nullptr;
}

void TDlgAADegree::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect slider = ui->RxSlider->geometry();
    FillGradientRect(painter, 0x808080, 0xFFE0E0, width(), slider.top(), 1);
    painter.translate(0, slider.bottom() + 1);
    FillGradientRect(painter, 0xFFE0E0, 0x808080, width(), height() - slider.bottom() - 1, 1);
}

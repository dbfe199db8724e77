// Smoothing by points dialog.
#include "editing/AntiAliasByPoints.h"

#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "ui_AntiAliasByPoints.h"

#include <QSignalBlocker>

TFormAntiAliasingByPoints::TFormAntiAliasingByPoints(QWidget* parent)
    : TGradientDialog(parent, 4), ui(std::make_unique<Ui::TFormAntiAliasingByPoints>())
{
    ui->setupUi(this);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(0xE0, 0xE0, 0xFF));
    setPalette(palette);
    auto change = platform::Guarded([this] { RxSpinEditChange(); });
    connect(ui->RxSpinEdit, &QSpinBox::valueChanged, this, change);
    connect(ui->RadioOrdinary, &QRadioButton::clicked, this, change);
    connect(ui->RadioRecursive, &QRadioButton::clicked, this, change);
    connect(ui->ButtonShowOriginal, &QPushButton::clicked, this,
            platform::Guarded([this] { ButtonShowOriginalClick(); }));
    connect(ui->ButtonOk, &QPushButton::clicked, this, platform::Guarded([this] { ButtonOkClick(); }));
    connect(ui->ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
    ConnectHelpButton(ui->BitBtnHelp);
}

TFormAntiAliasingByPoints::~TFormAntiAliasingByPoints() = default;

bool TFormAntiAliasingByPoints::Init(QWidget* owner, SmoothingWriteBack writeBack, void* context,
                                     const IntPairVector& ranges, int count, float* samples, const QString& curveName,
                                     float nullValue)
{
    (void)owner;  // the modal run disables every other window
    (void)curveName;
    if (!samples)
        return false;
    writeBack_ = writeBack;
    context_ = context;
    nullValue_ = nullValue;
    saved_ = PrepareSmoothingRanges(ranges, count, samples, nullValue);
    results_ = saved_;
    {
        QSignalBlocker block(ui->RxSpinEdit);
        ui->RxSpinEdit->setValue(1);
    }
    const bool applied = platform::ExecDialog(*this) == QDialog::Accepted;
    // Every way of closing writes the saved values: the result after Ok, the values as found otherwise.
    WriteBack(saved_);
    saved_.clear();
    results_.clear();
    writeBack_ = nullptr;
    context_ = nullptr;
    return applied;
}

void TFormAntiAliasingByPoints::WriteBack(const ListOfFloatValuesWithIndex& list)
{
    if (writeBack_ && !list.empty())
        writeBack_(context_, list);
}

void TFormAntiAliasingByPoints::RxSpinEditChange()
{
    const int v = ui->RxSpinEdit->value();
    const int w = ValidSmoothingWindow(v);
    if (w != v) {
        ui->RxSpinEdit->setValue(w);  // runs this handler again
        return;
    }
    if (w == 1) {
        ButtonShowOriginalClick();
        return;
    }
    if (ui->RadioOrdinary->isChecked())
        SmoothOrdinary(w, nullValue_, saved_, results_);
    else
        SmoothRecursive(w, nullValue_, saved_, results_);
    WriteBack(results_);
}

void TFormAntiAliasingByPoints::ButtonShowOriginalClick()
{
    {
        QSignalBlocker block(ui->RxSpinEdit);
        ui->RxSpinEdit->setValue(1);
    }
    // Ok keeps what is shown: the values as found.
    results_ = saved_;
    WriteBack(saved_);
}

void TFormAntiAliasingByPoints::ButtonOkClick()
{
    saved_ = results_;
    accept();
}

int TFormAntiAliasingByPoints::GradientTop() const
{
    return ui->RadioGroupAlgType->geometry().bottom() + 1;
}

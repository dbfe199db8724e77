// Interval parameters dialog.
#include "editing/IntervalParams.h"

#include "core/Lasfile.h"
#include "editing/IntervalManager.h"
#include "platform/Colors.h"
#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "ui_IntervalParams.h"

#include <QPaintEvent>
#include <QPainter>
#include <QValidator>
#include <algorithm>
#include <limits>

namespace {
constexpr int kDecimals = 4;  // of bounds with no document to show them as it holds them

// Takes no name longer than a session keeps; a longer typed or pasted text is refused whole.
class NameLengthValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        return input.toUtf8().size() <= kIntervalNameBytes ? Acceptable : Invalid;
    }
};
}  // namespace

TFormIntervalParams::TFormIntervalParams(QWidget* parent)
    : QDialog(parent), ui(std::make_unique<Ui::TFormIntervalParams>())
{
    ui->setupUi(this);
    ui->PaintBoxColor->installEventFilter(this);
    ui->EditName->setValidator(new NameLengthValidator(ui->EditName));
    connect(ui->PaintBoxColor, &QPushButton::clicked, this, platform::Guarded([this] { PaintBoxColorClick(); }));
    connect(ui->ButtonOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TFormIntervalParams::~TFormIntervalParams() = default;

bool TFormIntervalParams::Execute(const IntervalItem& proposal, float minDepth, float maxDepth, IntervalItem& result,
                                  const TLASFile* document)
{
    Ui::TFormIntervalParams& f = *ui;
    const auto decimal = [document](double depth) { return document ? document->DecimalDepthOf(depth) : depth; };
    const bool limited = minDepth < maxDepth;
    const double lowest = limited ? decimal(minDepth) : -std::numeric_limits<float>::max();
    const double highest = limited ? decimal(maxDepth) : std::numeric_limits<float>::max();
    for (TFloatSpinEdit* spin : {f.RxSpinEditTop, f.RxSpinEditBottom}) {
        spin->SetDisplayDecimals(document ? document->GetDepthDecimals() : kDecimals);
        spin->setRange(lowest, highest);
    }
    f.RxSpinEditTop->SetValue(std::clamp(decimal(proposal.Top), lowest, highest));
    f.RxSpinEditBottom->SetValue(std::clamp(decimal(proposal.Bottom), lowest, highest));
    color_ = proposal.Color;
    f.PaintBoxColor->update();
    f.EditName->setText(QString::fromStdString(proposal.Name));
    if (platform::ExecDialog(*this) != QDialog::Accepted)
        return false;
    result.Top = f.RxSpinEditTop->Value();
    result.Bottom = f.RxSpinEditBottom->Value();
    result.Color = color_;
    result.Name = f.EditName->text().toStdString();
    return true;
}

void TFormIntervalParams::PaintBoxColorClick()
{
    std::uint32_t color = color_;
    if (!platform::ChooseColor(this, color))
        return;
    color_ = color;
    ui->PaintBoxColor->update();
}

// The swatch: its colour framed in black.
bool TFormIntervalParams::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ui->PaintBoxColor && event->type() == QEvent::Paint) {
        QPainter painter(ui->PaintBoxColor);
        painter.setPen(Qt::black);
        painter.setBrush(platform::ToQColor(color_));
        painter.drawRect(ui->PaintBoxColor->rect().adjusted(1, 1, -2, -2));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

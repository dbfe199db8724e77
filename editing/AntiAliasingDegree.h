// Smoothing by spectrum: a slider from 0 (the values as found) to 100 (each range flat at its
// mean), each move written into the caller's curve at once.
#pragma once

#include "core/Smoothing.h"
#include "view/GradientDialog.h"

#include <memory>
#include <optional>

namespace Ui { class TDlgAADegree; }

class TDlgAADegree : public TGradientDialog
{
    Q_OBJECT
public:
    explicit TDlgAADegree(QWidget* parent = nullptr);
    ~TDlgAADegree() override;

    // Runs the dialog over the ranges of `samples` (count values); returns 1 on OK, 2 on Cancel,
    // 0 without samples. The curve is changed only through `writeBack`.
    int Execute(QWidget* owner, SmoothingWriteBack writeBack, void* context, const IntPairVector& ranges,
                int count, float* samples, const QString& curveName, float nullValue);

    Ui::TDlgAADegree& Form() const { return *ui; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void RxSliderChanged(int position);
    // Cancel, Esc and the close box put the ranges back as found.
    void RestoreFound();
    void FormClose();

    std::unique_ptr<Ui::TDlgAADegree> ui;
    SmoothingWriteBack writeBack_ = nullptr;
    void* context_ = nullptr;
    std::optional<SpectrumSmoother> smoother_;
};

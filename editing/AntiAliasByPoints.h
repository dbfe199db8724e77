// Smoothing by points: a moving window of 1 to 19 points, ordinary or recursive, each change
// written into the caller's curve at once.
#pragma once

#include "core/Smoothing.h"
#include "view/GradientDialog.h"

#include <memory>

namespace Ui { class TFormAntiAliasingByPoints; }

class TFormAntiAliasingByPoints : public TGradientDialog
{
    Q_OBJECT
public:
    explicit TFormAntiAliasingByPoints(QWidget* parent = nullptr);
    ~TFormAntiAliasingByPoints() override;

    // Runs the dialog over the ranges of `samples` (count values); the curve is changed only
    // through `writeBack`. True when closed with OK; nothing happens without samples.
    bool Init(QWidget* owner, SmoothingWriteBack writeBack, void* context, const IntPairVector& ranges, int count,
              float* samples, const QString& curveName, float nullValue);

    Ui::TFormAntiAliasingByPoints& Form() const { return *ui; }

protected:
    int GradientTop() const override;

private:
    void RxSpinEditChange();
    void ButtonShowOriginalClick();
    void ButtonOkClick();
    void WriteBack(const ListOfFloatValuesWithIndex& list);

    std::unique_ptr<Ui::TFormAntiAliasingByPoints> ui;
    SmoothingWriteBack writeBack_ = nullptr;
    void* context_ = nullptr;
    float nullValue_ = 0.0f;
    ListOfFloatValuesWithIndex results_;
    ListOfFloatValuesWithIndex saved_;
};

// The choice of depth ranges for an operation: the whole loaded range, all active intervals,
// all intervals, or one chosen interval. Made once; the choice carries over between runs.
#pragma once

#include "core/CoreTypes.h"

#include <QDialog>
#include <memory>

namespace Ui { class TDlgSelectIntervalPart; }
class IntervalManager;
class QButtonGroup;
class TLASFile;

class TDlgSelectIntervalPart : public QDialog {
    Q_OBJECT
public:
    explicit TDlgSelectIntervalPart(QWidget* parent = nullptr);
    ~TDlgSelectIntervalPart() override;

    // Runs the dialog on the manager's intervals, their depths shown as the document holds them,
    // offering interval `preselect` (-1: none) as the single choice; true on OK with the chosen
    // (top, bottom) pairs in `answer`. False at once, without the dialog, with no manager or an
    // empty loaded range.
    bool Execute(const TLASFile& document, IntervalManager* manager, FloatPairList& answer, int preselect);
    void SetTopMessage(const QString& text);

    Ui::TDlgSelectIntervalPart& Form() const { return *ui; }

private:
    void FillControls(const TLASFile& document);
    void CheckBox1Click();
    void RadioGroup1Click();
    // Builds Result; false (with the message) when the single interval is not chosen.
    bool BuildResult();
    bool HasIntervals() const;

    std::unique_ptr<Ui::TDlgSelectIntervalPart> ui;
    QButtonGroup* radio_ = nullptr;
    float LoadedTop = 0.0f;
    float LoadedBottom = 0.0f;
    IntervalManager* Manager = nullptr;
    FloatPairList Result;
    int Preselect = -1;
};

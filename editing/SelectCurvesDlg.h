// The choice of curves to shift: the document's curves with ticks, some of them excluded.
#pragma once

#include "view/GradientDialog.h"

#include <memory>
#include <vector>

namespace Ui { class TSelectCurvesDlg; }
class QListWidgetItem;
class TLASFile;

class TSelectCurvesDlg : public TGradientDialog {
    Q_OBJECT
public:
    explicit TSelectCurvesDlg(QWidget* parent = nullptr);
    ~TSelectCurvesDlg() override;

    // See ShowSelectCurvesDialog.
    bool Execute(const TLASFile& document, const std::vector<int>& excluded, int helpTopic, std::vector<bool>& flags);

    Ui::TSelectCurvesDlg& Form() const { return *ui; }

private:
    bool Excluded(int row) const;
    void CheckAll(bool checked);
    void ItemChanged(QListWidgetItem* item);
    void OKBtnClick();

    std::unique_ptr<Ui::TSelectCurvesDlg> ui;
    std::vector<int> excluded_;
    std::vector<bool>* flags_ = nullptr;
};

// Lists curves 1..n-1 of the document, the LAS indexes in `excluded` never ticked; F1 shows
// help topic `helpTopic`. On OK `flags` holds one flag per curve 1..n-1 (ticked) and the
// result is true; OK with nothing ticked is refused.
bool ShowSelectCurvesDialog(TSelectCurvesDlg& dialog, const TLASFile& document, const std::vector<int>& excluded,
                            int helpTopic, std::vector<bool>& flags);

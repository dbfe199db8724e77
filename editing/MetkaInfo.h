// The perforation-mark dialog: edits the one mark record of the program's run, which the
// printed mark block and the "met..." print-title variables read.
#pragma once

#include "core/KontrOsnMetkaInfo.h"
#include "view/GradientDialog.h"

#include <memory>

namespace Ui { class TDlgMetkaInfo; }

class TDlgMetkaInfo : public TGradientDialog {
    Q_OBJECT
public:
    explicit TDlgMetkaInfo(QWidget* parent = nullptr);
    ~TDlgMetkaInfo() override;

    // Shows the record; on OK the record takes the shown values and true is returned, on Cancel
    // it stays as it was.
    bool Execute();

    TKontrOsnMetkaInfo& Info() { return info_; }
    const TKontrOsnMetkaInfo& Info() const { return info_; }
    // By code: 1 gamma-log point, 2 perforator point, 3 control mark, 4 perforation bottom,
    // 5 distance; -1 for any other code.
    float GetMetkaValue(int code) const;

    Ui::TDlgMetkaInfo& Form() const { return *ui; }

private:
    void FormShow();
    void SpinEditKontrMetkaChange();
    void TakeShownValues();

    std::unique_ptr<Ui::TDlgMetkaInfo> ui;
    TKontrOsnMetkaInfo info_;
};

// The curve names dialog: the document's curve names and their new names side by side.
#pragma once

#include "view/GradientDialog.h"

#include <QStringList>
#include <memory>

class TLASFile;
namespace Ui { class TDialogCurveNames; }

class TDialogCurveNames : public TGradientDialog {
    Q_OBJECT
public:
    explicit TDialogCurveNames(QWidget* parent = nullptr);
    ~TDialogCurveNames() override;

    // Current names, one per data curve in curve order; filled by the caller.
    QStringList OldNames;
    // After OK: one new name per entry of OldNames (an empty cell keeps the old name); no
    // name holds a blank, a point or a colon.
    QStringList NewNames;
    // When set, OK keeps the dialog open on a new name this document cannot hold.
    const TLASFile* Document = nullptr;

    // Fills the grid from OldNames and runs the dialog; true on OK.
    bool Execute();

    Ui::TDialogCurveNames& Form() const { return *ui; }

protected:
    int GradientTop() const override;

private:
    void FormShow();
    void OKBtnClick();
    // Removes blanks, points and colons from a new name as its cell is committed.
    void CleanCell(int row, int column);

    std::unique_ptr<Ui::TDialogCurveNames> ui;
};

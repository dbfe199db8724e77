// Empty OK/Cancel dialog with the buttons stacked on the right; the base of small property dialogs.
#pragma once

#include <QDialog>
#include <memory>

namespace Ui { class TOKRightDlg; }
class QFrame;

class TOKRightDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TOKRightDlg(QWidget* parent = nullptr);
    ~TOKRightDlg() override;

    // The frame on the left that derived dialogs fill with their controls.
    QFrame* Bevel() const;

protected:
    std::unique_ptr<Ui::TOKRightDlg> ui;
};

// Choice of the curves to load when a file is opened.
#pragma once

#include <QDialog>
#include <memory>
#include <vector>

namespace Ui { class TFormChooseCurves; }
class QListWidget;
class TLASFile;

class TFormChooseCurves : public QDialog
{
    Q_OBJECT
public:
    explicit TFormChooseCurves(QWidget* parent = nullptr);
    ~TFormChooseCurves() override;

    // Shows the document's curves, all ticked; true on OK with the ticked document indexes
    // (at least one: OK with none ticked warns and keeps the dialog open).
    bool Execute(const TLASFile& document, std::vector<int>& chosen);
    QListWidget& CurveList() const;

private:
    std::unique_ptr<Ui::TFormChooseCurves> ui;
};

// The dialog "Правка заголовка файла": the fields of a log file header in a two-column grid,
// with the values already known to the library offered in a list.
#pragma once

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

namespace Ui { class TDlgLogFileHeaderEditor; }
class ILogFileHeader;
class LogFileDBManager;
class QComboBox;
class QTableWidget;

class TDlgLogFileHeaderEditor : public QDialog
{
    Q_OBJECT
public:
    explicit TDlgLogFileHeaderEditor(QWidget* parent = nullptr);
    ~TDlgLogFileHeaderEditor() override;

    // Edits the header in memory, modally; true when closed with OK. Without a manager no value
    // lists are offered.
    bool Execute(ILogFileHeader* header, LogFileDBManager* manager);

    QTableWidget* StringGrid = nullptr;
    // The value list over a cell; Tag is -1 while unused, else the grid row it edits.
    QComboBox* CBVariants = nullptr;
    int Tag = -1;

    // The grid's cell editor of a value cell is opening; false when the value list took its place.
    bool StringGridGetEditText(int row);
    void CBVariantsChange();
    void CBVariantsExit();
    // Stores the grid's values into the header; false (dialog stays open) when one is refused.
    bool OKBtnClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Fill();
    std::vector<std::string> Variants(const std::string& field);

    std::unique_ptr<Ui::TDlgLogFileHeaderEditor> ui;
    ILogFileHeader* header_ = nullptr;
    LogFileDBManager* manager_ = nullptr;
    std::vector<std::string> names_;
};

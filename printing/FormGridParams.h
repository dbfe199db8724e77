// The grid-line dialog: the seven program-wide grid values of a settings section.
#pragma once

#include <QDialog>
#include <memory>
#include <string>

namespace Ui { class TFormGridParams; }
class TRxIniFile;

class TFormGridParams : public QDialog {
    Q_OBJECT
public:
    explicit TFormGridParams(QWidget* parent = nullptr);
    ~TFormGridParams() override;

    // Shows the section's values modally; true when closed with OK (the values then written).
    bool Execute(TRxIniFile& settings, const std::string& section);
    Ui::TFormGridParams& Form() const { return *ui; }

private:
    void OKBtnClick();

    std::unique_ptr<Ui::TFormGridParams> ui;
    TRxIniFile* settings_ = nullptr;  // of the running Execute, not owned
    std::string section_;
};

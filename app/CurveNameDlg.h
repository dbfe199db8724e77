// Curve information dialog: name, unit, description, colour and decimals of one curve.
#pragma once

#include "app/okcancl2.h"
#include "platform/Colors.h"

#include <QString>

class TLASFile;
namespace Ui { class TCurveNameFields; }

struct TCurveInfo
{
    QString Name;
    QString Unit;
    QString Description;
    platform::ColorRef Color = 0;
    int Decimals = 2;
};

class TCurveNameDlg : public TOKRightDlg
{
    Q_OBJECT
public:
    explicit TCurveNameDlg(QWidget* parent = nullptr);
    ~TCurveNameDlg() override;

    // Shows the dialog on `info` of a curve of `document`; true on OK with the edited values
    // written back. OK keeps the dialog open while a text is one the document cannot hold.
    bool Execute(TCurveInfo& info, const TLASFile& document);

    void accept() override;

    Ui::TCurveNameFields& Fields() const { return *fields_; }

private:
    void ButtonColorClick();
    void ShowColor();

    std::unique_ptr<Ui::TCurveNameFields> fields_;
    platform::ColorRef color_ = 0;
    const TLASFile* document_ = nullptr;
    QString curve_;  // the name the curve had when the dialog opened
};

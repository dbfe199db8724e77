// A new curve from a few typed or pasted (depth, value) points, filled between them as steps,
// by a spline or by straight lines.
#pragma once

#include "core/CurveByValues.h"

#include <QDialog>
#include <QString>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace Ui { class TFormCreateCurveByValues; }

class TFormCreateCurveByValues : public QDialog
{
    Q_OBJECT
public:
    explicit TFormCreateCurveByValues(QWidget* parent = nullptr);
    ~TFormCreateCurveByValues() override;

    // Runs the dialog for a curve over `depths`, the first of them shown in the first row as
    // `firstDepth` (as the caller's document holds it); 1 on OK with the curve's values and name
    // written back, 0 otherwise (also without two depths, when nothing is shown).
    int SetPoints(FloatVector& values, QString& name, float nullValue, const FloatVector& depths,
                  const QString& firstDepth);
    // Most decimals of the values typed for the curve last accepted.
    int TypedDecimals() const { return typedDecimals_; }
    // By sample, the text typed for its value (repeated where the value is), for the writer.
    const std::vector<std::pair<int, std::string>>& ValueTexts() const { return valueTexts_; }

    // Latin letters, digits, "_", "$" and the Cyrillic letters А-я of `name`.
    static QString FilterCurveName(const QString& name);
    // Points from text, added at the current row; false (table unchanged) when the text does not parse.
    bool PastePoints(const QString& text);

    Ui::TFormCreateCurveByValues& Form() const { return *ui; }

public slots:
    void accept() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BitBtnAddPointClick();
    void BitBtnDeletePointClick();
    void BitBtnDeleteAllPointsClick();
    void ButtonPasteFromClpbClick();
    // 0, or 1 for a bad value cell, 2 for a bad depth cell.
    int ComputeValues();
    QString Cell(int row, int column) const;
    void SetCell(int row, int column, const QString& text);

    std::unique_ptr<Ui::TFormCreateCurveByValues> ui;
    FloatVector depths_;
    FloatVector values_;
    QString name_;
    float nullValue_ = 0.0f;
    int typedDecimals_ = 0;
    std::vector<std::pair<int, std::string>> valueTexts_;
};

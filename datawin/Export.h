// Export of chosen curves of the document over a depth range, every k-th row, to a text table or
// a LAS file. The dialog stays open for further exports until "Закрыть"; it never changes the
// document.
#pragma once

#include "platform/FileKinds.h"

#include <QDialog>
#include <memory>

namespace Ui { class TFormExport; }
class QButtonGroup;
class TLASFile;

class TFormExport : public QDialog
{
    Q_OBJECT
public:
    explicit TFormExport(QWidget* parent = nullptr);
    ~TFormExport() override;

    // Nothing without a document; else fills the dialog from it and shows it modally. `place`: the
    // path the document is known by (its own file when empty), naming it and the files offered.
    void Execute(TLASFile* document, const QString& place = {});
    // Depth text of a row in format `format` (the item index of RGDeptFormat).
    static QString FormatDepth(int format, float depth);

    Ui::TFormExport& Form() const { return *ui; }
    // Item indexes of the two radio groups.
    int DeptFormatIndex() const;
    int ExpTypeIndex() const;

private:
    void FillDialog();
    // The checks in order; the rows to write (start, start + k, ... up to end) when they pass,
    // else false with the message shown.
    bool Validate(int& start, int& k, int& end);
    void ButtonOkClick();
    void ComboBoxStepMesChange();
    void RGExpTypeClick();
    void WriteTextTable(int format, int start, int k, int end);
    // The format index carries nothing: LAS depths are numbers.
    void ExportLas(int format, int start, int k, int end);
    // Limits and decimals of the step edit for depth units or array numbers.
    void SetStepUnit(bool arrayNumbers);
    // The save dialog over the document's folder; empty when cancelled. A file of another kind
    // than `kind` at the chosen name, the open document above all, is named in a question.
    QString AskFileName(const QString& name, const QString& filter, const QString& suffix, platform::FileKind kind);
    void ReportWriteFailure(const QString& path, int systemError);

    std::unique_ptr<Ui::TFormExport> ui;
    QButtonGroup* deptFormat_ = nullptr;
    QButtonGroup* expType_ = nullptr;
    TLASFile* document_ = nullptr;
    QString place_;  // the path the document is known by
};

// The statistics report window: the report as editable plain text, saved whole or in part, printed.
#pragma once

#include <QStringList>
#include <QWidget>
#include <functional>
#include <vector>

class IntervalManager;
class QPlainTextEdit;
class QToolBar;
class QAction;
class TLASFile;

class TFormDetailStatistics : public QWidget
{
    Q_OBJECT
public:
    explicit TFormDetailStatistics(QWidget* parent = nullptr);

    // Builds the report into the text and shows the window (not modal). A PDF of it takes the
    // folder and name of `place`, by default the document's path.
    void BuildReport(const TLASFile& document, const std::vector<int>& selection, const IntervalManager& intervals,
                     int sections, const QString& place = QString());

    QPlainTextEdit* RE = nullptr;
    QToolBar* ToolBar1 = nullptr;
    QAction* TBSave = nullptr;
    QAction* TBSaveSelection = nullptr;
    QAction* TBPrint = nullptr;

    void TBSaveClick();
    void TBSaveSelectionClick();
    void TBPrintClick();

private:
    void SaveText(const QString& text);
    bool ShowBlocks(const QStringList& blocks, const std::function<bool(double)>& progress);

    QString documentPath_;  // of the report: the folder and name a PDF of it takes
};

// The statistics report window.
#include "editing/DetailStatistics.h"

#include "core/Lasfile.h"
#include "editing/ReportFiles.h"
#include "editing/StatisticsReport.h"
#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "platform/FileNames.h"
#include "platform/Printer.h"
#include "platform/WorkProgress.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QStyle>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolBar>
#include <QVBoxLayout>

TFormDetailStatistics::TFormDetailStatistics(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(QStringLiteral("Статистические данные"));
    setGeometry(192, 107, 696, 480);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    ToolBar1 = new QToolBar(this);
    ToolBar1->setFixedHeight(29);
    TBSave = ToolBar1->addAction(style()->standardIcon(QStyle::SP_DialogSaveButton), QString());
    TBSave->setToolTip(QStringLiteral("Сохранить все"));
    TBSaveSelection = ToolBar1->addAction(style()->standardIcon(QStyle::SP_FileIcon), QString());
    TBSaveSelection->setToolTip(QStringLiteral("Сохранить выделенный фрагмент"));
    ToolBar1->addSeparator();
    TBPrint = ToolBar1->addAction(style()->standardIcon(QStyle::SP_FileDialogDetailedView), QString());
    TBPrint->setToolTip(QStringLiteral("Распечатать"));
    layout->addWidget(ToolBar1);
    RE = new QPlainTextEdit(this);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(9);
    RE->setFont(font);
    RE->setTabStopDistance(QFontMetricsF(font).horizontalAdvance(QLatin1Char(' ')) * 8);
    RE->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(RE);
    connect(TBSave, &QAction::triggered, this, platform::Guarded([this] { TBSaveClick(); }));
    connect(TBSaveSelection, &QAction::triggered, this, platform::Guarded([this] { TBSaveSelectionClick(); }));
    connect(TBPrint, &QAction::triggered, this, platform::Guarded([this] { TBPrintClick(); }));
}

void TFormDetailStatistics::BuildReport(const TLASFile& document, const std::vector<int>& selection,
                                        const IntervalManager& intervals, int sections, const QString& place)
{
    documentPath_ = place.isEmpty() ? platform::FileNameFromBytes(document.GetFileName()) : place;
    platform::WorkProgressScope progress(QStringLiteral("Построение статистического отчета"));
    // The tables take about as long to compute as their text takes to enter the window.
    const std::optional<QStringList> blocks = TStatisticsReport(document, selection, intervals)
                                                  .Build(sections, [&](double part) { return progress.Step(part / 2); });
    if (!blocks || !ShowBlocks(*blocks, [&](double part) { return progress.Step(0.5 + part / 2); }))
        return;
    show();
    raise();
}

// The blocks joined by line feeds, entered one at a time so that the windows repaint between them;
// a cancelled entry leaves the text empty.
bool TFormDetailStatistics::ShowBlocks(const QStringList& blocks, const std::function<bool(double)>& progress)
{
    QTextDocument& text = *RE->document();
    text.setUndoRedoEnabled(false);  // a report is no edit to undo
    RE->setPlainText(blocks.value(0));
    QTextCursor end(&text);
    end.movePosition(QTextCursor::End);
    bool whole = true;
    for (qsizetype i = 1; i < blocks.size() && whole; ++i) {
        end.insertText(QLatin1Char('\n') + blocks[i]);
        whole = progress(double(i) / double(blocks.size()));
    }
    if (!whole)
        RE->clear();
    text.setUndoRedoEnabled(true);
    return whole;
}

void TFormDetailStatistics::SaveText(const QString& text)
{
    platform::FileDialogOptions options;
    options.title = QStringLiteral("Сохранение статистики");
    options.defaultSuffix = QStringLiteral("txt");
    options.kind = platform::FileKind::Text;
    options.filter = QStringLiteral("Текстовые файлы (*.txt);;Все файлы (*)");
    const QString path = platform::GetSaveFileName(this, options);
    if (path.isEmpty() || !SaveReportText(this, path, text))
        return;
    platform::MessageBox(this, QStringLiteral("Файл \n'") + platform::ShownFileName(path) + QStringLiteral("'\nуспешно сохранен"),
                         QStringLiteral("Сохранение статистики"), platform::MB_ICONINFORMATION);
}

void TFormDetailStatistics::TBSaveClick()
{
    SaveText(RE->toPlainText());
}

void TFormDetailStatistics::TBSaveSelectionClick()
{
    const QTextCursor cursor = RE->textCursor();
    if (!cursor.hasSelection()) {
        platform::MessageBox(this, QStringLiteral("Ничего не выбрано!"), QStringLiteral("Сохранение статистики"),
                             platform::MB_ICONWARNING);
        return;
    }
    SaveText(cursor.selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n')));
}

void TFormDetailStatistics::TBPrintClick()
{
    QPrinter printer;
    printer.setDocName(QStringLiteral("Статистика"));
    platform::PrintWithDialog(printer, this, documentPath_, [this](QPagedPaintDevice& device) { RE->print(&device); });
}

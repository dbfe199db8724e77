// The statistics report window.
#include "editing/DetailStatistics.h"

#include "core/Lasfile.h"
#include "editing/ReportFiles.h"
#include "editing/StatisticsReport.h"
#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "platform/Printer.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QStyle>
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
                                        const IntervalManager& intervals, int sections)
{
    documentPath_ = QString::fromStdString(document.GetFileName());
    RE->setPlainText(TStatisticsReport(document, selection, intervals).Build(sections).join(QLatin1Char('\n')));
    show();
    raise();
}

void TFormDetailStatistics::SaveText(const QString& text)
{
    platform::FileDialogOptions options;
    options.title = QStringLiteral("Сохранение статистики");
    options.defaultSuffix = QStringLiteral("txt");
    options.filter = QStringLiteral("Текстовые файлы (*.txt);;Все файлы (*)");
    const QString path = platform::GetSaveFileName(this, options);
    if (path.isEmpty() || !SaveReportText(this, path, text))
        return;
    platform::MessageBox(this, QStringLiteral("Файл \n'") + path + QStringLiteral("'\nУспешно сохранен"),
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
    platform::PrintWithDialog(printer, this, documentPath_, [this](QPrinter& device) { RE->print(&device); });
}

// LAS editor window: the plain-text page.
#include "datawin/LasEditor.h"

#include "core/AtomicFile.h"
#include "core/CodePages.h"
#include "datawin/TextFind.h"
#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "platform/FileErrors.h"
#include "platform/FileNames.h"
#include "ui_LasEditor.h"

#include <QFileInfo>
#include <QTextBlock>

#include <fstream>
#include <sstream>

void TFormEditor::LoadText(const QString& path)
{
    textReady_ = false;
    ui->Memo->clear();
    std::ifstream in(platform::FileNameToBytes(path), std::ios::binary);
    if (!in) {
        platform::ReportException(this, QStringLiteral("Не удалось открыть файл\n") + platform::ShownFileName(path));
        return;
    }
    std::stringstream buffer;
    buffer << in.rdbuf();
    std::string text;
    std::string error;
    if (!textFile_.Decode(buffer.str(), text, error)) {
        textReady_ = true;
        UpdateTextButtons();
        ReportUnloadedFile(this, platform::ShownFileName(path), QString::fromStdString(error));
        return;
    }
    const QString shown = QString::fromStdString(text);
    ui->Memo->setVisible(false);
    ui->Memo->setPlainText(shown);  // also empties the undo history
    ui->Memo->setVisible(true);
    textSaveName_ = QFileInfo(path).fileName();
    textSaveFolder_ = platform::FolderOfFile(path);
    ui->Memo->document()->setModified(false);
    textReady_ = true;
    UpdateTextButtons();
}

void TFormEditor::EmptyText()
{
    textReady_ = false;
    ui->Memo->clear();
    ui->Memo->document()->clearUndoRedoStacks();
    ui->Memo->document()->setModified(false);
    textReady_ = true;
    UpdateTextButtons();
}

bool TFormEditor::WriteText()
{
    if (ui->Memo->document()->blockCount() <= 1)
        return false;
    platform::FileDialogOptions options;
    options.title = QStringLiteral("Сохранить файл как");
    options.directory = textSaveFolder_;
    options.fileName = textSaveName_;
    options.filter = QStringLiteral("LAS файлы (*.las *.LAS *.Las);;Все файлы (*)");
    options.defaultSuffix = QStringLiteral("las");
    const QString path = platform::GetSaveFileName(this, options);
    if (path.isEmpty())
        return false;
    std::string bytes;
    std::string unwritable;
    int line = 0;
    if (!textFile_.Encode(MemoText().toStdString(), bytes, &line, &unwritable)) {
        static const char* const codes[] = {"CP866", "CP1251", "UTF-8", "UTF-16LE", "UTF-16BE"};
        platform::MessageBox(this,
                             QStringLiteral("Текст не записан: символ '") + QString::fromStdString(unwritable) +
                                 QStringLiteral("' в строке %1 нельзя записать в кодировке файла (").arg(line) +
                                 QString::fromLatin1(codes[int(textFile_.Encoding())]) + QStringLiteral(")"),
                             QStringLiteral("Ошибка"), platform::MB_OK | platform::MB_ICONERROR);
        return false;
    }
    AtomicFileWriter writer(platform::FileNameToBytes(path));
    writer.Write(bytes);
    if (!writer.Commit()) {
        platform::MessageBox(this, platform::WriteFailureText(path), QStringLiteral("Ошибка"),
                             platform::MB_OK | platform::MB_ICONERROR);
        return false;
    }
    textSaveName_ = QFileInfo(path).fileName();
    textSaveFolder_ = platform::FolderOfFile(path);
    return true;
}

// The blocks' own text: toPlainText would turn no-break spaces into blanks.
QString TFormEditor::MemoText() const
{
    QString text;
    for (QTextBlock block = ui->Memo->document()->begin(); block.isValid(); block = block.next()) {
        if (block != ui->Memo->document()->begin())
            text += QLatin1Char('\n');
        text += block.text();
    }
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

int TFormEditor::AskSaveText(bool* written)
{
    const int answer = platform::MessageBox(this, QStringLiteral("Сохранить изменения в файле?"),
                                            QStringLiteral("Подтверждение сохранения изменений"),
                                            platform::MB_YESNOCANCEL | platform::MB_ICONQUESTION);
    const bool wrote = answer == platform::IDYES && WriteText();
    if (written)
        *written = wrote;
    if (answer == platform::IDCANCEL)
        ui->PageControl->setCurrentWidget(ui->TSSimple);
    return answer;
}

void TFormEditor::UpdateTextButtons()
{
    QPlainTextEdit& memo = *ui->Memo;
    const bool text = !memo.document()->isEmpty();
    const bool selection = memo.textCursor().hasSelection();
    const std::pair<QToolButton*, bool> states[] = {{ui->TBFind, text},
                                                    {ui->TBReplace, text},
                                                    {ui->TBCopy, selection},
                                                    {ui->TBCut, selection},
                                                    {ui->TBUndo, memo.document()->isUndoAvailable()},
                                                    {ui->TBPaste, memo.canPaste()}};
    QAction* const items[] = {MISFind, MISReplace, MISCopy, MISCut, MISUndo, MISPaste};
    for (std::size_t i = 0; i < std::size(states); ++i) {
        states[i].first->setEnabled(states[i].second);
        items[i]->setEnabled(states[i].second);
    }
}

int TFormEditor::FindInText()
{
    const QString text = textFind_->FindText();
    if (text.isEmpty())
        return -1;
    const QTextCursor hit = ui->Memo->document()->find(text, ui->Memo->textCursor(), textFind_->Flags());
    if (hit.isNull())
        return -1;
    ui->Memo->setTextCursor(hit);
    ui->Memo->ensureCursorVisible();
    return hit.selectionStart();
}

void TFormEditor::TextFound()
{
    if (FindInText() < 0)
        platform::ShowMessage(QStringLiteral("Поиск в документе закончен"));
    else
        ui->Memo->setFocus();
}

void TFormEditor::TextReplace(bool all)
{
    QPlainTextEdit& memo = *ui->Memo;
    memo.setFocus();
    const QString replacement = textFind_->ReplaceText();
    const bool backward = textFind_->Backward();
    // The selection is replaced only when it is itself a hit of the search.
    auto selectionIsHit = [&] {
        const QTextCursor selection = memo.textCursor();
        if (!selection.hasSelection())
            return false;
        QTextCursor probe(memo.document());
        probe.setPosition(selection.selectionStart());
        const QTextCursor hit = memo.document()->find(textFind_->FindText(), probe,
                                                      textFind_->Flags() & ~QTextDocument::FindBackward);
        return !hit.isNull() && hit.selectionStart() == selection.selectionStart() &&
               hit.selectionEnd() == selection.selectionEnd();
    };
    // Replaces the selected hit; the next search goes on beyond the inserted text.
    auto replaceSelection = [&] {
        QTextCursor cursor = memo.textCursor();
        const int start = cursor.selectionStart();
        cursor.insertText(replacement);
        if (backward)
            cursor.setPosition(start);
        memo.setTextCursor(cursor);
    };
    if (textFind_->FindText().isEmpty())
        return;
    if (selectionIsHit() || FindInText() >= 0)
        replaceSelection();
    else if (!all)
        return;
    if (!all)
        return;
    while (FindInText() >= 0)
        replaceSelection();
    platform::ShowMessage(QStringLiteral("Операция замены завершена"));
}

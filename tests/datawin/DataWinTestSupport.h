// Shared set-up of the data window tests: a LAS editor window with its own save dialog, driven
// through the recording dialog runner over a temporary folder.
#pragma once

#include "datawin/LasEditor.h"
#include "datawin/LasGridView.h"
#include "datawin/LasTableModel.h"
#include "datawin/SaveToLas.h"
#include "platform/NumberText.h"
#include "platform/RecordingDialogRunner.h"
#include "tests/common/FileBytes.h"
#include "tests/common/TestPaths.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace strativ::test {

// Comment lines before the first section; depth 1000 .. 1001 by 0.5, GR with four decimals and
// RHOB with two, NULLs in both.
inline const char* const kSmallLas =
    "# Exported by a survey tool\r\n#-----\r\n"
    "~Version\r\n VERS.  2.0 : CWLS LAS 2.0\r\n WRAP.  NO : One line per depth step\r\n"
    "~Well\r\n STRT.M 1000.000 : START\r\n STOP.M 1001.000 : STOP\r\n STEP.M 0.500 : STEP\r\n"
    " NULL.  -999.25 : NULL VALUE\r\n WELL.  W-1 : WELL\r\n"
    "~Curve\r\n DEPT.M : DEPTH\r\n GR.API : GAMMA\r\n RHOB.G/CC : DENSITY\r\n"
    "~A\r\n1000.000 12.3456 2.30\r\n1000.500 -999.25 2.45\r\n1001.000 7.1000 -999.25\r\n";

// UTF-8 text as UTF-16 bytes, with or without the byte order mark.
inline std::string Utf16Bytes(const std::string& utf8, bool bigEndian, bool mark)
{
    std::string bytes;
    for (const char16_t unit : (mark ? u"\uFEFF" : u"") + QString::fromStdString(utf8).toStdU16String()) {
        const char high = char(unit >> 8);
        const char low = char(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

class LasEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::SetDecimalSeparator(QChar('.'));
        runner = std::make_unique<platform::RecordingDialogRunner>();
        saveDialog = std::make_unique<TFormSaveToLas>();
        editor = std::make_unique<TFormEditor>(*saveDialog);
        editor->resize(1000, 640);
        editor->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
        editor->SetFolder(QString::fromStdString(dir.path()));
    }

    void TearDown() override
    {
        editor.reset();
        saveDialog.reset();
        runner.reset();
        platform::SetDecimalSeparator(QChar());
    }

    Ui::TFormEditor& Form() const { return editor->Form(); }
    LasGridView& Grid() const { return *Form().StringGrid; }
    LasTableModel& Model() const { return editor->GridModel(); }

    std::string Write(const std::string& name, const std::string& bytes) const
    {
        WriteFileBytes(dir.file(name), bytes);
        editor->SetFolder({});
        editor->SetFolder(QString::fromStdString(dir.path()));
        return dir.file(name);
    }

    // Clicks the file in the window's file list.
    void Pick(const QString& name)
    {
        QListWidget& list = *Form().FileListBox;
        const QList<QListWidgetItem*> items = list.findItems(name, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << name.toStdString();
        const QRect rect = list.visualItemRect(items[0]);
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, rect.center());
    }

    // Types the text into a data cell and commits it with Enter.
    void Type(int col, int row, const QString& text)
    {
        Grid().setFocus();
        Grid().EditCell(col, row);
        auto* edit = qobject_cast<QLineEdit*>(Grid().indexWidget(Model().IndexOf(col, row)));
        ASSERT_NE(edit, nullptr);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
        // The item view commits a text on Enter through a queued call.
        QCoreApplication::sendPostedEvents();
        QApplication::processEvents();
    }

    std::string Cell(int col, int row) const { return Model().Text(col, row).toStdString(); }

    // The centre of a grid cell in the grid's viewport.
    QPoint CellPoint(int col, int row) const { return Grid().visualRect(Model().IndexOf(col, row)).center(); }

    // The save dialog answered with OK and this file name.
    void PushSave(const std::string& path, bool limit = false)
    {
        runner->PushDialog([path, limit](QDialog& dialog) {
            Ui::TFormSaveToLas& f = static_cast<TFormSaveToLas&>(dialog).Form();
            f.EditFileName->setText(QString::fromStdString(path));
            f.CheckBoxLimitDept->setChecked(limit);
            return int(QDialog::Accepted);
        });
    }

    // Messages asked so far, as "title|text", one a line.
    std::string Messages() const
    {
        QStringList out;
        for (const auto& request : runner->Requests())
            if (request.kind == platform::DialogKind::Message)
                out << request.title + "|" + request.text;
        return out.join("\n").toStdString();
    }
    static std::string Join(const QStringList& messages) { return messages.join("\n").toStdString(); }

    TempDir dir;
    std::unique_ptr<platform::RecordingDialogRunner> runner;
    std::unique_ptr<TFormSaveToLas> saveDialog;
    std::unique_ptr<TFormEditor> editor;
};

}  // namespace strativ::test

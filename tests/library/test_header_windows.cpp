// The header editor, the header information tree and the column editor, driven offscreen with
// real widgets and answered through the recording dialog runner.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

#include "core/CodePages.h"
#include "core/LasParser2.h"
#include "library/DlgLogFileHeaderEditor.h"
#include "library/FormLasBrowserColumns.h"
#include "library/LASFileHeader.h"
#include "library/LasTreeViewManage.h"
#include "library/LogFileDBManager.h"
#include "platform/Help.h"
#include "platform/RecordingDialogRunner.h"
#include "tests/common/FileBytes.h"
#include "tests/common/TestPaths.h"
#include "tests/library/LibraryFixtures.h"
#include "ui_FormLasBrowserColumns.h"

using platform::RecordingDialogRunner;
using strativ::test::ReadFileBytes;
using strativ::test::Strings;
using strativ::test::TempDir;

namespace {

Strings ColumnTexts(QTableWidget* grid, int column)
{
    Strings texts;
    for (int row = 0; row < grid->rowCount(); ++row)
        texts.push_back(grid->item(row, column)->text().toStdString());
    return texts;
}

Strings ComboItems(QComboBox* combo)
{
    Strings items;
    for (int i = 0; i < combo->count(); ++i)
        items.push_back(combo->itemText(i).toStdString());
    std::sort(items.begin(), items.end());
    return items;
}

Strings ChildTexts(const QTreeWidgetItem* node)
{
    Strings texts;
    for (int i = 0; i < node->childCount(); ++i)
        texts.push_back(node->child(i)->text(0).toStdString());
    return texts;
}

// A library of two files (wells W1 and W2) and the header of the first.
struct Library {
    TempDir dir;
    LogFileDBManager manager;
    std::string first = dir.file("d/a.las");

    Library()
    {
        strativ::test::WriteLas(first, {{"FLD", "F1"}, {"WELL", "W1"}});
        strativ::test::WriteLas(dir.file("d/b.las"), {{"FLD", "F1"}, {"WELL", "W2"}});
        manager.Open(dir.file("lib.db"));
        manager.AddFile(first);
        manager.AddFile(dir.file("d/b.las"));
    }
};

} // namespace

TEST(HeaderEditor, ChosenListValueIsTheOnlyChangedField)
{
    Library library;
    LASFileHeader header;
    ASSERT_EQ(header.Read(library.first), 0);
    TDlgLogFileHeaderEditor dialog;
    RecordingDialogRunner runner;
    runner.PushDialog([&](QDialog&) {
        dialog.show();
        QTableWidget* grid = dialog.StringGrid;
        EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), "Поле");
        EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), "Значение");
        EXPECT_EQ(ColumnTexts(grid, 0), (Strings{"Площадь", "Скважина", "Компания", "Исполнитель", "Дата", "Место"}));
        EXPECT_EQ(ColumnTexts(grid, 1), (Strings{"F1", "W1", "", "", "", ""}));
        // The date row never offers a list; the well row offers the library's wells.
        grid->editItem(grid->item(4, 1));
        EXPECT_EQ(dialog.Tag, -1);
        EXPECT_TRUE(dialog.CBVariants->isHidden());
        QWidget* dateEditor = grid->indexWidget(grid->model()->index(4, 1));
        EXPECT_NE(dateEditor, nullptr);
        if (dateEditor)
            QTest::keyClick(dateEditor, Qt::Key_Escape);
        grid->editItem(grid->item(1, 1));
        EXPECT_EQ(dialog.Tag, 1);
        EXPECT_FALSE(dialog.CBVariants->isHidden());
        EXPECT_EQ(ComboItems(dialog.CBVariants), (Strings{"W1", "W2"}));
        dialog.CBVariants->setCurrentIndex(dialog.CBVariants->findText("W2"));
        emit dialog.CBVariants->textActivated("W2");
        EXPECT_EQ(grid->item(1, 1)->text(), "W2");
        QTest::mouseClick(dialog.findChild<QPushButton*>("OKBtn"), Qt::LeftButton);
        dialog.hide();
        return dialog.result();
    });
    EXPECT_TRUE(dialog.Execute(&header, &library.manager));
    EXPECT_EQ(header.GetString("well"), "W2");
    for (const std::string& name : header.GetFieldNames())
        EXPECT_EQ(header.IsFieldChanged(name), name == "well") << name;
}

TEST(HeaderEditor, CancelAndNoManagerLeaveTheHeaderAlone)
{
    Library library;
    LASFileHeader header;
    ASSERT_EQ(header.Read(library.first), 0);
    TDlgLogFileHeaderEditor dialog;
    RecordingDialogRunner runner;
    runner.PushDialog([&](QDialog&) {
        dialog.StringGrid->editItem(dialog.StringGrid->item(1, 1));  // no manager: the grid's editor
        EXPECT_EQ(dialog.Tag, -1);
        dialog.StringGrid->item(1, 1)->setText("X");
        QTest::mouseClick(dialog.findChild<QPushButton*>("CancelBtn"), Qt::LeftButton);
        return dialog.result();
    });
    EXPECT_FALSE(dialog.Execute(&header, nullptr));
    EXPECT_EQ(header.GetString("well"), "W1");
    EXPECT_FALSE(header.IsFieldChanged("well"));
}

TEST(HeaderEditor, DatabaseErrorWhileListingIsShownWithItsText)
{
    Library library;
    strativ::test::LibraryDbProbe(library.dir.file("lib.db")).Execute("DROP TABLE logfiles;");
    LASFileHeader header;
    ASSERT_EQ(header.Read(library.first), 0);
    TDlgLogFileHeaderEditor dialog;
    RecordingDialogRunner runner;
    runner.PushDialog([&](QDialog&) {
        dialog.StringGrid->editItem(dialog.StringGrid->item(0, 1));
        return int(QDialog::Rejected);
    });
    dialog.Execute(&header, &library.manager);
    ASSERT_EQ(runner.Requests().size(), 2u);
    const platform::DialogRequest& shown = runner.Requests()[1];
    EXPECT_EQ(shown.title, "Ошибка");
    EXPECT_TRUE(shown.text.contains("no such table")) << shown.text.toStdString();
    EXPECT_EQ(dialog.Tag, -1);
}

TEST(HeaderEditor, ValueTheFileCannotHoldKeepsTheDialogOpen)
{
    TempDir dir;
    const std::string path = dir.file("oem.las");
    strativ::test::WriteLas(path, {{"FLD", AnsiToOemString("Поле")}});
    const std::string before = ReadFileBytes(path);
    LASFileHeader header;
    ASSERT_EQ(header.Read(path), 0);
    TDlgLogFileHeaderEditor dialog;
    RecordingDialogRunner runner;
    bool okRefused = false;
    runner.PushDialog([&](QDialog&) {
        dialog.StringGrid->item(1, 1)->setText("W₁");
        dialog.StringGrid->item(0, 1)->setText("Новое");
        okRefused = !dialog.OKBtnClick();
        return int(QDialog::Rejected);
    });
    EXPECT_FALSE(dialog.Execute(&header, nullptr));
    EXPECT_TRUE(okRefused);
    ASSERT_EQ(runner.Requests().size(), 2u);
    EXPECT_EQ(runner.Requests()[1].title, "Ошибка");
    EXPECT_EQ(runner.Requests()[1].text,
              "Значение поля 'Скважина' содержит символы, которые нельзя записать в LAS файл: '₁'");
    EXPECT_FALSE(header.IsFieldChanged("fld"));  // nothing stored while one value is refused
    EXPECT_EQ(header.Write(path), -1);
    EXPECT_EQ(ReadFileBytes(path), before);
}

TEST(LasTreeView, SectionsByModeWithTheirPictures)
{
    TempDir dir;
    const std::string path = dir.file("t.las");
    strativ::test::WriteFileBytes(path, "~V\n VERS. 2.0 : V\n~W\n STRT.M 1 : S\n STOP.M 2 : E\n STEP.M 1 : D\n"
                                        " WELL. W : WELL\n~C\n DEPT.M : D\n~P\n BHT.C 20 : T\n~O\ntext\n"
                                        "~X custom\nfree\n~A\n1\n2\n");
    TLasParser2Header header;
    ASSERT_TRUE(header.ParseFile(path));
    QTreeWidget tree;
    TLasTreeViewManage manage;
    manage.AttachTreeView(&tree);
    manage.SetHeader(&header);
    manage.SetMode(0);
    ASSERT_EQ(tree.topLevelItemCount(), 1);
    QTreeWidgetItem* root = tree.topLevelItem(0);
    EXPECT_EQ(root->text(0), "t.las");
    EXPECT_EQ(TLasTreeViewManage::ImageIndex(root), 0);
    EXPECT_EQ(ChildTexts(root),
              (Strings{"Версия", "Исследование", "Кривые", "Параметры", "Разное", "~X custom", "Данные"}));
    QTreeWidgetItem* well = root->child(1);
    EXPECT_EQ(TLasTreeViewManage::ImageIndex(well), 1);
    EXPECT_EQ(TLasTreeViewManage::NodeSection(well)->Section, &header.GetWellSection());
    EXPECT_EQ(ChildTexts(well), (Strings{"STRT", "STOP", "STEP", "WELL"}));
    const int pictures[] = {6, 7, 8, -1};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(TLasTreeViewManage::ImageIndex(well->child(i)), pictures[i]);
    EXPECT_EQ(TLasTreeViewManage::NodeLine(well->child(3)), header.GetWellSection().GetLine(3));
    EXPECT_EQ(TLasTreeViewManage::ImageIndex(root->child(2)->child(0)), 9);

    manage.SetMode(1);
    EXPECT_EQ(ChildTexts(tree.topLevelItem(0)),
              (Strings{"Версия", "Исследование", "Кривые", "Параметры", "Разное", "Данные"}));
    manage.SetMode(2);
    EXPECT_EQ(ChildTexts(tree.topLevelItem(0)), (Strings{"Исследование", "Кривые", "Данные"}));
    manage.SetHeader(nullptr);
    EXPECT_EQ(tree.topLevelItemCount(), 0);
    EXPECT_TRUE(manage.GetSections().empty());
    manage.SetMode(0);  // no header: only the mode is kept
    EXPECT_EQ(tree.topLevelItemCount(), 0);
    EXPECT_EQ(manage.GetMode(), 0);
}

TEST(LasBrowserColumns, ButtonsAndControlsEditTheSet)
{
    TLasListColSet set;
    TFormLasBrowserColumns form;
    Ui::TFormLasBrowserColumns& ui = form.Form();
    RecordingDialogRunner runner;
    int helpTopic = -1;
    platform::SetHelpHandler([&](int topic) { helpTopic = topic; });
    runner.PushDialog([&](QDialog&) {
        EXPECT_EQ(ui.ListBoxPredefined->count(), 18);
        EXPECT_EQ(ui.ListBoxCurrent->count(), 5);
        ui.ListBoxPredefined->setCurrentRow(0);  // VERS
        ui.ButtonAddPredefined->click();
        ui.ButtonAddCustom->click();
        EXPECT_EQ(ui.EditName->text(), "---");
        EXPECT_TRUE(ui.EditName->isEnabled());
        ui.EditCaption->clear();
        QTest::keyClicks(ui.EditCaption, "Drilled");
        ui.EditName->clear();
        QTest::keyClicks(ui.EditName, "PDAT");
        ui.SpinEditWidth->setValue(120);
        ui.ComboBoxSection->setCurrentIndex(3);
        emit ui.ComboBoxSection->activated(3);
        ui.BitBtnMoveUp->click();
        EXPECT_EQ(ui.ListBoxCurrent->currentRow(), 5);
        ui.ListBoxCurrent->setCurrentRow(0);
        EXPECT_FALSE(ui.EditName->isEnabled());  // a standard line is found by its code
        ui.ButtonRemove->click();
        QTest::keyClick(&form, Qt::Key_F1);
        return int(QDialog::Accepted);
    });
    EXPECT_TRUE(form.Execute(&set));
    platform::SetHelpHandler(nullptr);
    EXPECT_EQ(helpTopic, 14);
    Strings captions;
    for (int i = 0; i < set.Items.Count(); ++i)
        captions.push_back(set.Items[i].Caption);
    EXPECT_EQ(captions, (Strings{"Скважина", "Дата", "Исполнитель", "Компания", "Drilled", "Версия"}));
    const TLasColSetItem& custom = set.Items[4];
    EXPECT_EQ(custom.Name, "PDAT");
    EXPECT_EQ(custom.SearchType, 1);
    EXPECT_EQ(custom.Width, 120);
    EXPECT_EQ(custom.LASSection, 4);

    runner.PushDialog([&](QDialog&) {
        ui.ButtonRemoveAll->click();
        EXPECT_EQ(ui.ListBoxCurrent->count(), 0);
        return int(QDialog::Rejected);
    });
    EXPECT_FALSE(form.Execute(&set));
    EXPECT_EQ(set.Items.Count(), 0);  // edits go into the set; the browser reloads it after Cancel
    EXPECT_FALSE(form.Execute(nullptr));
}

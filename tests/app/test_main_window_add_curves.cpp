// Adding curves of another LAS file through the main window: the command, the dialog's answers,
// the view after it, and the hand-over question of a second instance.
#include "AppTestSupport.h"

#include "core/Lasfile.h"
#include "datawin/AddData.h"
#include "ui_AddData.h"
#include "view/PanelWithCurves.h"

#include "platform/Help.h"
#include "tests/common/FileBytes.h"

#include <QFileSystemModel>
#include <QPushButton>
#include <QTreeView>
#include <filesystem>

namespace strativ::test {
namespace {

class AddCurvesWindowTest : public MainWindowTest {
protected:
    // The add-curves dialog answered by pressing its buttons; `untickAll` first clears the ticks.
    void PushAddDialog(bool untickAll = false)
    {
        runner->PushDialog([untickAll](QDialog& dialog) {
            Ui::TFormAddData& f = static_cast<TFormAddData&>(dialog).Form();
            if (untickAll)
                f.ButtonUncheckAll->click();
            f.ButtonAdd->click();
            if (dialog.result() != QDialog::Accepted)
                f.ButtonCancel->click();
            return dialog.result();
        });
    }
};

TEST_F(AddCurvesWindowTest, AddedCurvesJoinTheViewAndTheDocumentGrows)
{
    EXPECT_FALSE(window->AddCurvesFromFile({}));
    EXPECT_EQ(Messages(), QStringList{"Добавление кривых|Не загружен файл.\nНе к чему добавлять данные"});

    ASSERT_TRUE(Open(WriteTestLas(dir.file("target.las"), 2, 21)));  // 100 .. 110
    const std::string source = WriteTestLas(dir.file("source.las"), 3, 41, 105.0, 0.5);  // 105 .. 125

    // Nothing ticked: the dialog says so and stays; Cancel then changes nothing.
    runner->Clear();
    PushAddDialog(true);
    EXPECT_FALSE(window->AddCurvesFromFile(QString::fromStdString(source)));
    EXPECT_EQ(Messages(), QStringList{platform::ApplicationTitle() + "|Не выбрано ни одной кривой для добавления"});
    EXPECT_EQ(window->LasFile()->GetCurvesCount(), 3);
    EXPECT_FALSE(window->IsModified());

    // The limit is the document's own range: three curves join, the rows stay.
    PushAddDialog();
    ASSERT_TRUE(window->AddCurvesFromFile(QString::fromStdString(source)));
    TLASFile& document = *window->LasFile();
    ASSERT_EQ(document.GetCurvesCount(), 6);
    EXPECT_EQ(document.GetPointCount(), 21);
    EXPECT_EQ(window->PanelCurves->GetCurvesCount(), 5);
    EXPECT_EQ(window->ListCurveNames->count(), 5);
    EXPECT_EQ(window->PanelCurves->GetCurve(4)->XOffset(), -400);
    EXPECT_EQ(document.GetCurveData(3)[10], GeneratedValue(1, 0));  // source's first row at 105 m
    EXPECT_TRUE(window->IsModified());
    ExpectViewFollowsDocument(*window, "limited");

    // Unticked limit: the document grows to the source's bottom.
    runner->PushDialog([](QDialog& dialog) {
        Ui::TFormAddData& f = static_cast<TFormAddData&>(dialog).Form();
        f.CheckBoxLimitDept->setChecked(false);
        f.ButtonAdd->click();
        return dialog.result();
    });
    ASSERT_TRUE(window->AddCurvesFromFile(QString::fromStdString(source)));
    EXPECT_EQ(window->LasFile()->GetPointCount(), 51);
    ExpectViewFollowsDocument(*window, "grown");
    EXPECT_EQ(window->StatusText(2), "Глубины: 100.0 - 125.0 M");
}

// The default limit is the document's own range as its depths are, not rounded to the two
// decimals shown: the last row, at 105.001 m, still takes the source's sample.
TEST_F(AddCurvesWindowTest, DefaultLimitKeepsTheFirstAndLastRowsOfDepthsWithMoreDecimals)
{
    ASSERT_TRUE(Open(WriteTestLas(dir.file("target.las"), 2, 11, 100.001, 0.5)));
    const std::string source = WriteTestLas(dir.file("source.las"), 1, 11, 100.001, 0.5);
    PushAddDialog();
    ASSERT_TRUE(window->AddCurvesFromFile(QString::fromStdString(source)));
    const TLASFile& document = *window->LasFile();
    ASSERT_EQ(document.GetPointCount(), 11);
    EXPECT_EQ(document.GetCurveData(3)[0], GeneratedValue(1, 0));
    EXPECT_EQ(document.GetCurveData(3)[10], GeneratedValue(1, 10));
}

TEST_F(AddCurvesWindowTest, AFileHandedOverAsksWhetherToOpenOrAdd)
{
    const std::string second = WriteTestLas(dir.file("second.las"), 1, 21);
    const QString message = "OPEN " + QString::fromStdString(second);

    // No document: opened without a question.
    PushCurveChoice();
    window->HandOverMessage(message);
    ASSERT_NE(window->LasFile(), nullptr);
    EXPECT_TRUE(Messages().isEmpty());

    const QString question = platform::ApplicationTitle() + "|Получен файл\n" + QString::fromStdString(second) +
                             "\n\nДа - открыть файл\nНет - добавить кривые к загруженному файлу";
    runner->Push(platform::IDCANCEL);
    window->HandOverMessage(message);
    EXPECT_EQ(Messages(), QStringList{question});
    EXPECT_EQ(runner->Requests().back().flags, platform::MB_YESNOCANCEL | platform::MB_ICONQUESTION);
    EXPECT_EQ(window->LasFile()->GetCurvesCount(), 2);

    runner->Clear();
    runner->Push(platform::IDNO);
    PushAddDialog();
    window->HandOverMessage(message);
    EXPECT_EQ(window->LasFile()->GetCurvesCount(), 3);

    runner->Clear();
    window->SetModified(false);
    runner->Push(platform::IDYES);
    PushCurveChoice();
    window->HandOverMessage(message);
    EXPECT_EQ(window->LasFile()->GetCurvesCount(), 2);
    EXPECT_EQ(runner->PendingAnswers(), 0);
}

// The dialog's own roads: a folder picked in the tree, a file the reader rejects, a source it
// cannot place, "Добавить" without a file, and its help.
TEST_F(AddCurvesWindowTest, TheDialogBrowsesFoldersAndReportsWhatItCannotAdd)
{
    ASSERT_TRUE(Open(WriteTestLas(dir.file("target.las"), 2, 21)));
    const std::string sub = dir.file("sub");
    std::filesystem::create_directory(sub);
    WriteTestLas(sub + "/UPPER.LAS", 1, 5);
    WriteFileBytes(sub + "/broken.las", "~A\r\n1 2\r\n");
    WriteFileBytes(sub + "/notes.txt", "not listed");
    WriteFileBytes(sub + "/single.las", "~V\r\n VERS. 2.0 :\r\n WRAP. NO :\r\n~W\r\n STEP.M 0 :\r\n NULL. -999.25 :\r\n"
                                      "~C\r\n DEPT.M :\r\n X. :\r\n~A\r\n100 1\r\n");
    std::vector<int> topics;
    platform::SetHelpHandler([&](int topic) { topics.push_back(topic); });
    runner->Clear();
    runner->PushDialog([&](QDialog& dialog) -> int {
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        Ui::TFormAddData& f = static_cast<TFormAddData&>(dialog).Form();
        const auto files = [&f] {
            QStringList names;
            for (int i = 0; i < f.FileListBox->count(); ++i)
                names << f.FileListBox->item(i)->text();
            names.sort();
            return names;
        };
        const auto pick = [&f](const QString& name) {
            const QList<QListWidgetItem*> found = f.FileListBox->findItems(name, Qt::MatchExactly);
            ASSERT_EQ(found.size(), 1) << name.toStdString();
            QTest::mouseClick(f.FileListBox->viewport(), Qt::LeftButton, {},
                              f.FileListBox->visualItemRect(found[0]).center());
        };

        // The document's folder, nothing picked: "Добавить" asks for a file and the dialog stays.
        EXPECT_EQ(files(), QStringList{"target.las"});
        f.ButtonAdd->click();
        EXPECT_EQ(Messages(), QStringList{platform::ApplicationTitle() + "|Не выбран файл"});
        EXPECT_TRUE(dialog.isVisible());

        // A click on a folder of the tree lists its LAS files in any letter case.
        QTreeView& tree = *f.DirectoryListBox;
        const QModelIndex folder = static_cast<QFileSystemModel*>(tree.model())->index(QString::fromStdString(sub));
        tree.scrollTo(folder);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !tree.visualRect(folder).isEmpty(); }, 2000));
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualRect(folder).center());
        EXPECT_EQ(files(), (QStringList{"UPPER.LAS", "broken.las", "single.las"}));

        // A file the reader rejects: its reason, and no curves.
        runner->Clear();
        pick("broken.las");
        EXPECT_EQ(runner->Requests().size(), 1u);
        EXPECT_EQ(runner->Last().title, "Ошибка");
        EXPECT_TRUE(runner->Last().text.startsWith("Не удалось загрузить файл\n" + QString::fromStdString(sub) +
                                                   "/broken.las\n"));
        EXPECT_GT(runner->Last().text.size(), QString::fromStdString(sub + "/broken.las").size() + 27);
        EXPECT_EQ(f.CheckListBox->count(), 0);

        pick("UPPER.LAS");
        EXPECT_EQ(f.CheckListBox->count(), 1);
        EXPECT_EQ(f.CheckListBox->count() > 0 ? f.CheckListBox->item(0)->text() : QString(), "C1");
        EXPECT_EQ(f.LabelDepthInterval->text(), "Начальная глубина: 100.0 Конечная глубина: 102.0");

        // A source of one row and no STEP cannot be placed: said so, and the dialog stays.
        runner->Clear();
        pick("single.las");
        f.ButtonAdd->click();
        EXPECT_EQ(Messages().size(), 1);
        EXPECT_TRUE(Messages().value(0).startsWith("Добавление кривых|Шаг по глубине")) << Messages().value(0).toStdString();
        EXPECT_TRUE(dialog.isVisible());

        f.BitBtnHelp->click();
        QTest::keyClick(&dialog, Qt::Key_F1);
        f.ButtonCancel->click();
        return dialog.result();
    });
    EXPECT_FALSE(window->AddCurvesFromFile({}));
    EXPECT_EQ(topics, (std::vector<int>{3, 3}));
    EXPECT_EQ(window->LasFile()->GetCurvesCount(), 3);
    EXPECT_EQ(window->LasFile()->GetPointCount(), 21);
    EXPECT_FALSE(window->IsModified());
}

TEST_F(AddCurvesWindowTest, AFileHandedOverWhileADialogIsOpenWaitsForItToClose)
{
    ASSERT_TRUE(Open(WriteTestLas(dir.file("target.las"), 2, 21)));
    const std::string second = WriteTestLas(dir.file("second.las"), 1, 21);
    runner->Clear();
    QDialog modal(window.get());
    modal.open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&modal));
    ASSERT_EQ(QApplication::activeModalWidget(), &modal);
    runner->Push(platform::IDCANCEL);
    window->HandOverMessage("OPEN " + QString::fromStdString(second));
    QTest::qWait(400);
    EXPECT_TRUE(Messages().isEmpty());
    modal.close();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Messages().isEmpty(); }, 3000));
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_TRUE(Messages()[0].contains("Получен файл\n" + QString::fromStdString(second)));
    EXPECT_EQ(window->LasFile()->GetCurvesCount(), 3);
}

}  // namespace
}  // namespace strativ::test

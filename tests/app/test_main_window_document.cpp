// The main window's document life cycle driven through its real widgets and the dialog runner.
#include "AppTestSupport.h"

#include "app/RecentFiles.h"
#include "datawin/Export.h"
#include "datawin/SaveToLas.h"
#include "core/Lasfile.h"
#include "core/SettingsFile.h"
#include "platform/FileNames.h"
#include "tests/common/FileBytes.h"
#include "tests/common/LasSaveCompare.h"
#include "ui_Export.h"
#include "ui_MainUnit.h"
#include "ui_SaveToLas.h"
#include "view/PanelWithCurves.h"

#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QStatusBar>
#include <filesystem>
#include <fstream>
#include <tuple>

namespace strativ::test {
namespace {

// The non-empty texts of the status bar's panels.
QStringList StatusTexts(TFormMain& window)
{
    QStringList texts;
    for (QLabel* label : window.statusBar()->findChildren<QLabel*>())
        if (!label->text().isEmpty())
            texts << label->text();
    return texts;
}

TEST_F(MainWindowTest, MenuOpenShowsOnlyTheChosenCurves)
{
    const std::string path = WriteTestLas(dir.file("three.las"), 3, 21);
    EXPECT_EQ(StatusTexts(*window), QStringList{"Файл не загружен"});
    runner->PushFiles({QString::fromStdString(path)});
    // OK with nothing ticked warns and keeps the choice open.
    runner->PushDialog([](QDialog& dialog) {
        static_cast<TFormChooseCurves&>(dialog).findChild<QPushButton*>("ButtonUncheckAll")->click();
        return int(QDialog::Accepted);
    });
    runner->Push(platform::IDOK);
    PushCurveChoice({1});  // C2 left out
    window->Form().MMIFileOpen->trigger();
    EXPECT_EQ(Messages(), QStringList{"Ошибка|Не выбрано ни одной кривой!"});

    ASSERT_NE(window->LasFile(), nullptr);
    EXPECT_EQ(window->LasFile()->GetCurvesCount(), 3);
    ASSERT_EQ(window->PanelCurves->GetCurvesCount(), 2);
    ASSERT_EQ(window->ListCurveNames->count(), 2);
    EXPECT_EQ(window->ListCurveNames->item(1)->text(), "C3");
    // Each panel curve shows the document curve of index + 1.
    EXPECT_EQ(window->PanelCurves->GetCurve(1)->Values(), window->LasFile()->GetCurveData(2));
    EXPECT_FLOAT_EQ(window->PanelCurves->GetCurve(1)->Values()[0], GeneratedValue(3, 0));
    EXPECT_EQ(StatusTexts(*window), (QStringList{"Кривых: 2", "Глубины: 100.0 - 110.0 M", "Шаг: 0.5"}));
    EXPECT_EQ(window->windowTitle(), "Strativ - " + QString::fromStdString(path));
    EXPECT_FALSE(window->IsModified());

    // Cancel of the choice keeps the document.
    runner->PushCancel();
    EXPECT_FALSE(window->OpenLasFile(QString::fromStdString(WriteTestLas(dir.file("other.las"), 1, 5))));
    EXPECT_EQ(window->LasFile()->GetFileName(), path);
}

TEST_F(MainWindowTest, FileThatFailsToLoadLeavesTheDocumentUntouched)
{
    STRATIV_REQUIRE_CORPUS();
    ASSERT_TRUE(Open(WriteTestLas(dir.file("good.las"), 2, 10)));
    TLASFile* before = window->LasFile();
    window->SetModified();

    struct Case {
        std::string path;
        QString start;
    };
    const Case cases[] = {
        {CorpusDir() + "/not_a_las_file.las",
         "Ошибка|Не удалось загрузить файл\n" + QFileInfo(QString::fromStdString(CorpusDir())).absoluteFilePath()},
        {dir.file("missing.las"), "Ошибка|Файл не найден:\n" + QString::fromStdString(dir.file("missing.las"))},
        // Depths alone would leave no curve to choose.
        {WriteTestLas(dir.file("depth_only.las"), 0, 5),
         "Ошибка|Не удалось загрузить файл\n" + QString::fromStdString(dir.file("depth_only.las")) +
             "\nВ файле нет данных кривых"},
    };
    for (const Case& c : cases) {
        runner->Clear();
        EXPECT_FALSE(window->OpenLasFile(QString::fromStdString(c.path))) << c.path;
        ASSERT_EQ(Messages().size(), 1) << c.path;
        EXPECT_TRUE(Messages()[0].startsWith(c.start)) << Messages()[0].toStdString();
        EXPECT_EQ(runner->Requests()[0].flags, platform::MB_OK | platform::MB_ICONERROR);
        EXPECT_EQ(window->LasFile(), before);
        EXPECT_TRUE(window->IsModified());
    }
    EXPECT_EQ(window->PanelCurves->GetCurvesCount(), 2);
}

TEST_F(MainWindowTest, ModifiedDocumentIsAskedAboutBeforeItIsReplaced)
{
    ASSERT_TRUE(Open(WriteTestLas(dir.file("first.las"), 2, 10)));
    const std::string second = WriteTestLas(dir.file("second.las"), 4, 10);

    // Cancel: the modified document stays as it was.
    window->SetModified();
    TLASFile* first = window->LasFile();
    runner->Clear();
    PushCurveChoice();
    runner->Push(platform::IDCANCEL);
    EXPECT_FALSE(window->OpenLasFile(QString::fromStdString(second)));
    EXPECT_EQ(Messages(), QStringList{"Strativ|Сохранить изменения в файле\nfirst.las?"});
    EXPECT_EQ(runner->Requests().back().flags, platform::MB_YESNOCANCEL | platform::MB_ICONQUESTION);
    EXPECT_EQ(window->LasFile(), first);
    EXPECT_EQ(window->PanelCurves->GetCurvesCount(), 2);
    EXPECT_TRUE(window->IsModified());

    // Yes with a save dialog that writes nothing: still kept.
    PushCurveChoice();
    runner->Push(platform::IDYES);
    runner->PushCancel();
    EXPECT_FALSE(window->OpenLasFile(QString::fromStdString(second)));
    EXPECT_EQ(window->LasFile(), first);

    // No: replaced without saving; the new document is not modified.
    PushCurveChoice();
    runner->Push(platform::IDNO);
    EXPECT_TRUE(window->OpenLasFile(QString::fromStdString(second)));
    EXPECT_EQ(window->PanelCurves->GetCurvesCount(), 4);
    EXPECT_FALSE(window->IsModified());

    // Closing asks the same question; Cancel keeps the window and writes nothing.
    window->SetModified();
    runner->Push(platform::IDCANCEL);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(std::filesystem::exists(dir.file("strativ.ini")));
    runner->Push(platform::IDNO);
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(std::filesystem::exists(dir.file("strativ.ini")));
}

// Seventeen curves saved elsewhere go into two files; saved into their own file, edited, into that
// one file, of which only the edited line changes.
TEST_F(MainWindowTest, SavingSeventeenCurvesWritesTwoFilesTheCoreReadsBack)
{
    const std::string own = WriteTestLas(dir.file("wide.las"), 17, 30);
    const std::string original = strativ::test::ReadFileBytes(own);
    ASSERT_TRUE(Open(own));
    window->SetModified();
    const std::string target = dir.file("out.las");
    runner->PushDialog([&](QDialog& dialog) {
        static_cast<TFormSaveToLas&>(dialog).Form().EditFileName->setText(QString::fromStdString(target));
        return int(QDialog::Accepted);
    });
    EXPECT_TRUE(window->SaveDocument());
    EXPECT_TRUE(window->IsModified());  // written elsewhere, in parts: the document's own file is not saved
    EXPECT_FALSE(std::filesystem::exists(target));
    EXPECT_EQ(Messages(), QStringList{"Сохранение|Записаны файлы:\n" + QString::fromStdString(dir.file("out_1.las")) +
                                      "\n" + QString::fromStdString(dir.file("out_2.las"))});

    for (const auto& [name, curves, firstCurve] : {std::tuple{"out_1.las", 16, 1}, std::tuple{"out_2.las", 1, 17}}) {
        TLASFile read(dir.file(name), 2);
        ASSERT_EQ(read.GetCurvesCount(), curves + 1) << name << ": " << read.GetLoadError();
        EXPECT_EQ(read.GetPointCount(), 30);
        for (int c = 1; c <= curves; ++c) {
            EXPECT_EQ(read.GetCurveName(c), "C" + std::to_string(firstCurve + c - 1));
            for (int r : {0, 13, 29})
                EXPECT_FLOAT_EQ(read.GetCurveData(c)[r], GeneratedValue(firstCurve + c - 1, r));
        }
    }
    // The document keeps its own file name.
    EXPECT_EQ(window->LasFile()->GetFileName(), dir.file("wide.las"));

    runner->Clear();
    window->LasFile()->GetCurveData(17)[13] += 1.0f;
    runner->PushDialog([](QDialog&) { return int(QDialog::Accepted); });
    runner->Push(platform::IDYES);  // replace the file
    EXPECT_TRUE(window->SaveDocument());
    EXPECT_FALSE(window->IsModified());
    EXPECT_EQ(Messages(), QStringList{"Сохранение|Файл\n" + QString::fromStdString(own) + "\nуже существует. Заменить?"});
    EXPECT_FALSE(std::filesystem::exists(dir.file("wide_1.las")));
    EXPECT_EQ(strativ::test::ChangedLines(original, strativ::test::ReadFileBytes(own), {}).size(), 1u);
    TLASFile read(own, 2);
    ASSERT_EQ(read.GetCurvesCount(), 18) << read.GetLoadError();
    EXPECT_FLOAT_EQ(read.GetCurveData(17)[13], GeneratedValue(17, 13) + 1.0f);

    // Saved through a link to its own file: the one file, and the document is saved.
    const std::string alias = dir.file("alias.las");
    std::filesystem::create_symlink(own, alias);
    window->LasFile()->GetCurveData(17)[14] += 1.0f;
    window->SetModified();
    runner->PushDialog([&](QDialog& dialog) {
        static_cast<TFormSaveToLas&>(dialog).Form().EditFileName->setText(QString::fromStdString(alias));
        return int(QDialog::Accepted);
    });
    runner->Push(platform::IDYES);
    EXPECT_TRUE(window->SaveDocument());
    EXPECT_FALSE(window->IsModified());
    EXPECT_FALSE(std::filesystem::exists(dir.file("alias_1.las")));
    EXPECT_FLOAT_EQ(TLASFile(own, 2).GetCurveData(17)[14], GeneratedValue(17, 14) + 1.0f);
}

TEST_F(MainWindowTest, TypedFileNamesAreTakenInTheDocumentsFolderWithTheDialogsExtension)
{
    const std::string folder = dir.file("well");
    std::filesystem::create_directory(folder);
    ASSERT_TRUE(Open(WriteTestLas(folder + "/doc.las", 2, 5)));
    const auto save = [&](std::function<void(Ui::TFormSaveToLas&)> fill, int result) {
        runner->PushDialog([=](QDialog& dialog) {
            fill(static_cast<TFormSaveToLas&>(dialog).Form());
            return result;
        });
        window->SaveDocument();
    };
    // Digits after the last dot are a part of the name, not its type.
    for (const auto& [typed, written] : {std::pair{"new", "/new.las"}, std::pair{"part.txt", "/part.txt"},
                                         std::pair{"Well 1.2", "/Well 1.2.las"}, std::pair{"-999.25", "/-999.25.las"},
                                         std::pair{"end.", "/end.las"}}) {
        save([typed = typed](Ui::TFormSaveToLas& f) { f.EditFileName->setText(typed); }, QDialog::Accepted);
        EXPECT_EQ(TLASFile(folder + written, 2).GetPointCount(), 5) << typed;
    }
    EXPECT_FALSE(std::filesystem::exists(folder + "/new"));
    EXPECT_FALSE(std::filesystem::exists("new"));
    // Dots alone name no file: refused, and the dialog is shown again.
    runner->Clear();
    save([](Ui::TFormSaveToLas& f) { f.EditFileName->setText("..."); }, QDialog::Accepted);
    EXPECT_EQ(Messages(), QStringList{"Ошибка|Недопустимое имя файла:\n..."});
    EXPECT_EQ(runner->Requests().back().kind, platform::DialogKind::Modal);

    // A bare name picked in the file dialog is completed the same way.
    QString shown;
    save(
        [&](Ui::TFormSaveToLas& f) {
            runner->PushFiles({"picked"});
            f.ButtonBrowse->click();
            shown = f.EditFileName->text();
        },
        QDialog::Rejected);
    EXPECT_EQ(shown, QString::fromStdString(folder + "/picked.las"));
}

TEST_F(MainWindowTest, SaveDialogLimitsTheRowsAndAsksBeforeReplacing)
{
    ASSERT_TRUE(Open(WriteTestLas(dir.file("doc.las"), 3, 21)));  // 100 .. 110 by 0.5
    const std::string target = dir.file("part.las");
    const auto answerSave = [&](double from, double to, const std::string& path) {
        runner->PushDialog([=](QDialog& dialog) {
            Ui::TFormSaveToLas& f = static_cast<TFormSaveToLas&>(dialog).Form();
            f.EditFileName->setText(QString::fromStdString(path));
            f.CheckBoxLimitDept->setChecked(true);
            f.EditLimitFrom->setValue(from);
            f.EditLimitTo->setValue(to);
            f.ListCurves->item(0)->setCheckState(Qt::Unchecked);
            return int(QDialog::Accepted);
        });
    };
    // The limits are swapped when reversed; rows from trunc to ceil of the step positions.
    for (const auto& [from, to, rows, firstDepth] :
         {std::tuple{102.0, 104.0, 5, 102.0f}, std::tuple{104.2, 101.2, 8, 101.0f}}) {
        std::filesystem::remove(target);
        answerSave(from, to, target);
        ASSERT_TRUE(window->SaveDocument());
        TLASFile read(target, 2);
        EXPECT_EQ(read.GetCurvesCount(), 3);
        EXPECT_EQ(read.GetPointCount(), rows) << from;
        EXPECT_FLOAT_EQ(read.GetTopDepth(), firstDepth);
    }

    // A range of one row is saved; an existing file is replaced only when the user agrees.
    runner->Clear();
    answerSave(103.0, 103.0, target);
    runner->Push(platform::IDYES);
    ASSERT_TRUE(window->SaveDocument());
    EXPECT_EQ(TLASFile(target, 2).GetPointCount(), 1);
    runner->Clear();
    answerSave(100.0, 110.0, target);
    runner->Push(platform::IDNO);
    runner->PushCancel();
    const auto before = std::filesystem::file_size(target);
    EXPECT_FALSE(window->SaveDocument());
    EXPECT_EQ(Messages(), (QStringList{"Сохранение|Файл\n" + QString::fromStdString(target) +
                                       "\nуже существует. Заменить?"}));
    EXPECT_EQ(std::filesystem::file_size(target), before);
}

TEST_F(MainWindowTest, DepthsShowTheFilesDecimalsWithoutFloatNoise)
{
    // Written bottom up: depths of seven decimals that no float holds exactly, and eight digits
    // a float rounds (3600.1524 is 3600.15234375), as read and shifted.
    const struct {
        const char* rows;
        const char* shift;
        QString from;
        QString to;
        QString step;
    } cases[] = {
        {"136.6000000 1\r\n136.5000000 2\r\n136.4000000 3\r\n136.3000000 4\r\n136.2000000 5\r\n136.1000000 6\r\n",
         "", "136,1000000", "136,6000000", "0,1000000"},
        {"3600.6096 1\r\n3600.4572 2\r\n3600.3048 3\r\n3600.1524 4\r\n", "", "3600,1524", "3600,6096", "0,1524"},
        {"3600.6096 1\r\n3600.4572 2\r\n3600.3048 3\r\n3600.1524 4\r\n", "0,1", "3600,2524", "3600,7096", "0,1524"},
    };
    platform::SetDecimalSeparator(QChar(','));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rows);
        const std::string path = dir.file("upward.las");
        std::ofstream(path, std::ios::binary)
            << "~V\r\n VERS. 2.0 :\r\n WRAP. NO :\r\n~W\r\n NULL. -999.25 :\r\n~C\r\n DEPT.M :\r\n C1. :\r\n~A\r\n"
            << c.rows;
        ASSERT_TRUE(Open(path));
        if (*c.shift) {
            runner->PushText(c.shift);
            F().TBShiftDept->trigger();
        }
        EXPECT_EQ(window->StatusText(2), "Глубины: " + c.from + " - " + c.to + " M");
        EXPECT_EQ(window->StatusText(3), "Шаг: " + c.step);
        runner->PushDialog([&](QDialog& dialog) {
            const Ui::TFormSaveToLas& f = static_cast<TFormSaveToLas&>(dialog).Form();
            EXPECT_EQ(f.EditLimitFrom->text(), c.from);
            EXPECT_EQ(f.EditLimitTo->text(), c.to);
            return int(QDialog::Rejected);
        });
        window->SaveDocument();
        EXPECT_EQ(runner->PendingAnswers(), 0);
        window->SetModified(false);
    }
}

TEST_F(MainWindowTest, RecentFilesAndViewSettingsSurviveARestart)
{
    std::vector<std::string> paths;
    for (int i = 0; i < 9; ++i)
        paths.push_back(WriteTestLas(dir.file("f" + std::to_string(i) + ".las"), 1, 4));
    // A name holding control bytes comes back as it was.
    paths[5] = WriteTestLas(dir.file("f5\nвторая строка\t\x7f.las"), 1, 4);
    for (const std::string& path : paths)
        ASSERT_TRUE(Open(path));
    ASSERT_TRUE(Open(paths[3]));  // listed already: moves to the front
    window->SetDepthScale(500);
    window->Form().MIShowCurveCaptions->setChecked(false);

    ASSERT_TRUE(window->close());
    window.reset();
    CreateWindow();
    QStringList expected;
    for (int i : {3, 8, 7, 6, 5, 4, 2, 1})
        expected << QString::fromStdString(paths[i]);
    EXPECT_EQ(window->RecentFiles().Items(), expected);
    TRxIniFile stored(dir.file("strativ.ini"));
    EXPECT_EQ(stored.ReadString("RecentFiles", "File0", ""), paths[3]);
    EXPECT_EQ(stored.ReadString("RecentFiles", "File7", ""), paths[1]);
    EXPECT_FALSE(stored.ValueExists("RecentFiles", "File8"));
    EXPECT_EQ(window->DepthScale, 500);
    EXPECT_TRUE(window->Form().MIScale500->isChecked());
    EXPECT_FALSE(window->Form().MIShowCurveCaptions->isChecked());

    // The recent menu opens its entries; a vanished file is reported and dropped.
    QList<QAction*> items = window->Form().MMIRecent->actions();
    ASSERT_EQ(items.size(), 8);
    std::filesystem::remove(paths[1]);
    items[7]->trigger();
    EXPECT_EQ(Messages(), QStringList{"Ошибка|Файл не найден:\n" + expected[7]});
    EXPECT_EQ(window->RecentFiles().Items().size(), 7);
    PushCurveChoice();
    window->Form().MMIRecent->actions()[2]->trigger();
    EXPECT_EQ(window->LasFile()->GetFileName(), paths[7]);
    EXPECT_EQ(window->RecentFiles().First(), expected[2]);
}

TEST_F(MainWindowTest, SettingsThatCannotBeWrittenAreReported)
{
    std::filesystem::create_directory(dir.file("strativ.ini"));  // a folder where the file should go
    EXPECT_TRUE(window->close());
    ASSERT_EQ(Messages().size(), 1);
    EXPECT_EQ(Messages()[0], "Ошибка|Не удалось сохранить настройки программы\n" +
                                 QString::fromStdString(dir.file("strativ.ini")) + "\nНа месте файла находится папка");
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("strativ.ini")));
}

TEST_F(MainWindowTest, DroppedLasFileAndHandedOverPathAreOpened)
{
    const std::string dropped = WriteTestLas(dir.file("dropped.LAS"), 2, 6);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir.file("notes.txt"))),
                  QUrl::fromLocalFile(QString::fromStdString(dropped))});
    // Qt delivers a drop only to the widget that accepted the drag's entry.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    runner->Push(platform::IDOK);  // the missing name is told first
    PushCurveChoice();
    QApplication::sendEvent(window.get(), &drop);
    for (int i = 0; i < 50 && !window->LasFile(); ++i)
        QTest::qWait(10);
    ASSERT_NE(window->LasFile(), nullptr);
    EXPECT_EQ(window->LasFile()->GetFileName(), dropped);

    // A handed-over path asks whether to open it ("Да" here); while a dialog is open (it may
    // hold the document) the path waits for it to close, and only then asks.
    const std::string handed = WriteTestLas(dir.file("handed.las"), 3, 6);
    window->HandOverMessage("SHOW");
    QDialog open(window.get());
    open.setModal(true);
    open.show();
    runner->Push(platform::IDYES);
    PushCurveChoice();
    window->HandOverMessage(QString::fromStdString("OPEN " + handed));
    QTest::qWait(300);
    EXPECT_EQ(window->LasFile()->GetFileName(), dropped);
    open.close();
    for (int i = 0; i < 50 && window->LasFile()->GetFileName() != handed; ++i)
        QTest::qWait(20);
    EXPECT_EQ(window->LasFile()->GetFileName(), handed);
    EXPECT_EQ(Messages().size(), 2);
    EXPECT_TRUE(Messages().value(1).contains("Да - открыть файл"));
}

// Names whose bytes are not UTF-8 (Latin-1, CP866), given on the command line or dropped from a
// file manager: the file opens, a depth shift is saved over it as over any other name, the recent
// list reopens it after a restart, and its export is offered beside it.
TEST_F(MainWindowTest, FileNamedInAnotherEncodingIsOpenedAndSavedOver)
{
    const auto shiftAndSave = [&] {
        runner->PushText("0.25");
        F().TBShiftDept->trigger();
        runner->PushDialog([](QDialog&) { return int(QDialog::Accepted); });
        runner->Push(platform::IDYES);  // replace the file
        ASSERT_TRUE(window->SaveDocument());
    };
    ASSERT_TRUE(Open(WriteTestLas(dir.file("plain.las"), 2, 6)));
    shiftAndSave();
    const std::string expected = ReadFileBytes(dir.file("plain.las"));

    int n = 0;
    for (const std::string name : {"caf\xe9.las", "\x8f\xe0\xa8\xac\xa5\xe0 1.LAS"}) {
        for (const bool dropped : {false, true}) {
            SCOPED_TRACE(name + (dropped ? " dropped" : " on the command line"));
            const std::string folder = dir.file(std::to_string(++n) + "\xe9");
            std::filesystem::create_directory(folder);
            const std::string path = WriteTestLas(folder + "/" + name, 2, 6);
            const QString shown = platform::ShownFileName(path);
            runner->Clear();
            PushCurveChoice();
            if (dropped) {
                QMimeData data;
                data.setUrls({QUrl::fromEncoded("file://" + QByteArray::fromStdString(path).toPercentEncoding("/"))});
                QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(window.get(), &enter);
                QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(window.get(), &drop);
            } else {  // as main() takes a name given relative to the current folder
                const std::filesystem::path current = std::filesystem::current_path();
                std::filesystem::current_path(folder);
                window.reset();
                window = std::make_unique<TFormMain>();
                window->SetStartupFile(platform::AbsoluteFileName(platform::FileNameFromBytes(name)));
                std::filesystem::current_path(current);
                window->show();
            }
            for (int i = 0; i < 50 && (!window->LasFile() || window->LasFile()->GetFileName() != path); ++i)
                QTest::qWait(10);
            ASSERT_NE(window->LasFile(), nullptr);
            EXPECT_EQ(window->LasFile()->GetFileName(), path);
            EXPECT_EQ(window->windowTitle(), "Strativ - " + shown);

            shiftAndSave();
            EXPECT_EQ(Messages(), QStringList{"Сохранение|Файл\n" + shown + "\nуже существует. Заменить?"});
            EXPECT_FALSE(window->IsModified());
            EXPECT_EQ(ReadFileBytes(path), expected);
            std::vector<std::string> files;
            for (const auto& entry : std::filesystem::directory_iterator(folder))
                files.push_back(entry.path().string());
            EXPECT_EQ(files, std::vector<std::string>{path});

            // Quit and start again: the recent list shows the name readable and reopens its bytes.
            ASSERT_TRUE(window->close());
            window.reset();
            CreateWindow();
            ASSERT_FALSE(F().MMIRecent->actions().isEmpty());
            EXPECT_EQ(F().MMIRecent->actions()[0]->text(), shown);
            runner->Clear();
            PushCurveChoice();
            F().MMIRecent->actions()[0]->trigger();
            ASSERT_NE(window->LasFile(), nullptr);
            EXPECT_EQ(window->LasFile()->GetFileName(), path);

            // The text export is offered beside the document under the document's own name.
            runner->Clear();
            runner->PushDialog([&](QDialog& dialog) {
                runner->PushFiles({platform::FileNameFromBytes(path + ".txt")});
                runner->Push(platform::IDNO);  // not opened in an editor
                static_cast<TFormExport&>(dialog).Form().ButtonOk->click();
                return int(QDialog::Rejected);
            });
            window->TBExport->trigger();
            ASSERT_EQ(runner->Requests().size(), 3u);
            const platform::FileDialogOptions& offered = runner->Requests()[1].file;
            EXPECT_EQ(platform::FileNameToBytes(platform::FileInFolder(offered.directory, offered.fileName)),
                      path + ".txt");
            EXPECT_TRUE(std::filesystem::is_regular_file(path + ".txt"));
        }
    }
}

// Names dropped together: the first existing LAS file opens, and one message names every file left
// and why.
TEST_F(MainWindowTest, DropOpensTheFirstLasFileAndNamesWhatItLeaves)
{
    const auto las = [&](const char* name) { return QString::fromStdString(WriteTestLas(dir.file(name), 1, 5)); };
    const QString a = las("a.las"), b = las("b.LAS"), c = las("c.las");
    const QString folder = QString::fromStdString(dir.file("old.las"));
    std::filesystem::create_directory(folder.toStdString());
    const QString notes = QString::fromStdString(dir.file("notes.txt"));
    std::ofstream(notes.toStdString()) << "text";
    const QString missing = QString::fromStdString(dir.file("missing.las"));
    const QString link = "http://example.com/well.las";
    const QString left = " - открытым может быть только один документ";
    const QString opening = "\n\nОткрывается файл\n";
    const std::tuple<QStringList, QString, QString> cases[] = {  // dropped, opened (empty: none), message
        {{missing, a, b, c}, a,
         "Не открыты:\n" + missing + " - файл не найден\n" + b + left + "\n" + c + left + opening + a},
        {{folder, b}, b, "Не открыты:\n" + folder + " - папка"},
        {{link, notes, c}, c, "Не открыты:\n" + link + " - не файл этого компьютера\n" + notes + " - не LAS файл"},
        {{a, b, c}, a, "Не открыты:\n" + b + left + "\n" + c + left + opening + a},
        {{notes}, {}, "Не открыты:\n" + notes + " - не LAS файл"},
    };
    for (const auto& [dropped, opened, message] : cases) {
        runner->Clear();
        runner->Push(platform::IDOK);
        if (!opened.isEmpty())
            PushCurveChoice();
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& name : dropped)
            urls << (name == link ? QUrl(name) : QUrl::fromLocalFile(name));
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &drop);
        for (int i = 0; i < 50 && runner->PendingAnswers() > 0; ++i)
            QTest::qWait(10);
        EXPECT_EQ(Messages(), QStringList{"Открытие файла|" + message}) << dropped.join(' ').toStdString();
        EXPECT_EQ(QString::fromStdString(Document().GetFileName()), opened.isEmpty() ? a : opened);
    }
}

}  // namespace
}  // namespace strativ::test

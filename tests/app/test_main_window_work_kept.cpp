// The main window keeps the user's work: the view through undo, the saved state in the undo
// history, saves that would lose curves, reopening the own file, and sessions that fail or are damaged.
#include "AppTestSupport.h"

#include "app/DlgSessions.h"
#include "datawin/SaveToLas.h"
#include "app/StrativSession.h"
#include "core/Lasfile.h"
#include "tests/common/FileBytes.h"
#include "tests/common/FileSizeLimit.h"
#include "tests/common/LasSaveCompare.h"
#include "ui_MainUnit.h"
#include "ui_SaveToLas.h"
#include "view/PanelWithCurves.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTreeWidget>
#include <filesystem>
#include <random>

namespace strativ::test {
namespace {

class WorkKeptTest : public MainWindowTest {
protected:
    // A pencil stroke over curve 0 from depth index `from` to `to`, moved sideways.
    void PencilStroke(int from, int to)
    {
        window->Form().TBPencil->setChecked(true);
        window->TBPencilClick();
        const auto at = [&](int i, int dx) { return PointOf(0, i) + QPoint(dx, 0); };
        QTest::mouseMove(&Panel(), at(from, 0));
        QTest::mousePress(&Panel(), Qt::LeftButton, Qt::NoModifier, at(from, 0));
        QTest::mouseMove(&Panel(), at(to, 30));
        QTest::mouseRelease(&Panel(), Qt::LeftButton, Qt::NoModifier, at(to, 30));
        window->Form().TBPencil->setChecked(false);
        window->TBPencilClick();
    }

    // The save dialog accepted as it opens, or with these curve rows unticked.
    void PushSave(const QString& path = {}, std::vector<int> untick = {}, double from = 0, double to = 0)
    {
        runner->PushDialog([=](QDialog& dialog) {
            Ui::TFormSaveToLas& f = static_cast<TFormSaveToLas&>(dialog).Form();
            if (!path.isEmpty())
                f.EditFileName->setText(path);
            for (int row : untick)
                f.ListCurves->item(row)->setCheckState(Qt::Unchecked);
            if (from < to) {
                f.CheckBoxLimitDept->setChecked(true);
                f.EditLimitFrom->setValue(from);
                f.EditLimitTo->setValue(to);
            }
            return int(QDialog::Accepted);
        });
    }
};

// Every corpus file that loads, saved over itself unchanged, comes back byte for byte but for the
// depth lines that disagree with its data, in one file whatever its curves; one edited sample
// changes one line, and the rows lacking values (two of issue83.las) are then written whole.
TEST_F(WorkKeptTest, SavingAnOpenedFileGivesItBackByteForByte)
{
    STRATIV_REQUIRE_CORPUS();
    int n = 0;
    int saved = 0;
    for (const std::string& name : LoadableCorpusFiles()) {
        SCOPED_TRACE(name);
        const std::string original = ReadFileBytes(CorpusDir() + "/" + name);
        const std::string path = dir.file("corpus" + std::to_string(++n) + ".las");
        WriteFileBytes(path, original);
        runner->Clear();
        if (!TLASFile(path, 2).GetOmittedData().empty())
            runner->Push(platform::IDOK);  // a last row cut short is named at open
        ASSERT_TRUE(Open(path));
        const std::vector<std::string> recomputed = DisagreeingDepthLines(Document());
        const size_t edited = Document().GetParser().GetDataSource().rowsComplete ? 1 : 2;
        ++saved;
        for (int pass = 0; pass < 2; ++pass) {
            PushSave();
            runner->Push(platform::IDYES);  // replace the file
            ASSERT_TRUE(window->SaveDocument());
            EXPECT_EQ(ChangedLines(original, ReadFileBytes(path), recomputed).size(), pass * edited);
            if (pass == 0) {
                EditOneSample(Document());
                window->SetModified(true);
            }
        }
    }
    EXPECT_GT(saved, 60);
}

TEST_F(WorkKeptTest, UndoAndRedoKeepTheDepthShownAndTheSavedPositionDecidesModified)
{
    const std::string path = WriteTestLas(dir.file("long.las"), 2, 4001, 1000.0, 0.1);  // 1000 .. 1400 m
    ASSERT_TRUE(Open(path));
    window->SetDepthScale(100);
    Panel().GotoDepth(1284);
    const double shown = Panel().GetFirstVisibleDepth();
    const int middle = int(std::lround((1284 - 1000) / 0.1));
    PencilStroke(middle - 5, middle + 5);
    ASSERT_TRUE(window->IsModified());

    Ui::TFormMain& f = window->Form();
    f.TBUndo->trigger();
    EXPECT_NEAR(Panel().GetFirstVisibleDepth(), shown, 0.05);
    EXPECT_EQ(window->DepthScale, 100);
    EXPECT_FALSE(window->IsModified());  // back at the state that was opened
    f.TBRedo->trigger();
    EXPECT_NEAR(Panel().GetFirstVisibleDepth(), shown, 0.05);
    EXPECT_TRUE(window->IsModified());

    // Saved: undo past the save is a change, redo back to it is not.
    PushSave();
    runner->Push(platform::IDYES);  // replace the file
    ASSERT_TRUE(window->SaveDocument());
    EXPECT_FALSE(window->IsModified());
    f.TBUndo->trigger();
    EXPECT_TRUE(window->IsModified());
    f.TBRedo->trigger();
    EXPECT_FALSE(window->IsModified());

    // A new step after an undo drops the saved state from the history for good.
    f.TBUndo->trigger();
    PencilStroke(middle + 20, middle + 25);
    f.TBUndo->trigger();
    EXPECT_TRUE(window->IsModified());
    f.TBRedo->trigger();
    EXPECT_TRUE(window->IsModified());

    // A press on a curve that draws nothing leaves no step behind.
    const QString undoText = f.MIUndo->text();
    window->Form().TBPencil->setChecked(true);
    window->TBPencilClick();
    ClickCurve(Panel(), 0);
    EXPECT_EQ(f.MIUndo->text(), undoText);

    // The modified document asks at close: the undone state is not lost silently.
    runner->Push(platform::IDCANCEL);
    EXPECT_FALSE(window->close());
    EXPECT_EQ(Messages().last(), platform::ApplicationTitle() + "|Сохранить изменения в файле\nlong.las?");
}

TEST_F(WorkKeptTest, SavingOverTheLoadedFileNamesWhatItWouldLoseAndPartsLeaveTheDocumentModified)
{
    const std::string path = WriteTestLas(dir.file("seven.las"), 7, 41);  // 100 .. 120 m
    const std::string original = ReadFileBytes(path);
    PushCurveChoice({1, 2, 3, 4, 5, 6});
    ASSERT_TRUE(window->OpenLasFile(QString::fromStdString(path)));

    // One curve of seven: the question names it, "Нет" is the default and keeps the file.
    PushSave();
    runner->Push(platform::IDNO);
    runner->PushCancel();
    EXPECT_FALSE(window->SaveDocument());
    const platform::DialogRequest* question = nullptr;
    for (const auto& request : runner->Requests())
        if (request.kind == platform::DialogKind::Message)
            question = &request;
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(question->text, "Файл\n" + QString::fromStdString(path) +
                                  "\nбудет заменен, из него будут потеряны данные.\n"
                                  "В файле останется 1 из 7 кривых: C1\nЗаменить файл?");
    EXPECT_EQ(question->flags, platform::MB_YESNO | platform::MB_ICONWARNING | platform::MB_DEFBUTTON2);
    EXPECT_EQ(ReadFileBytes(path), original);

    // A shorter depth range of all curves is named the same way.
    ASSERT_TRUE(Open(path));
    const auto expectRangeNamed = [&](const QString& named) {
        runner->Clear();
        PushSave({}, {}, 105, 110);
        runner->Push(platform::IDNO);
        runner->PushCancel();
        EXPECT_FALSE(window->SaveDocument());
        EXPECT_TRUE(Messages().value(0).contains(named)) << Messages().join("/").toStdString();
    };
    expectRangeNamed("В файле останутся глубины 105.0 - 110.0 из 100.0 - 120.0\n");
    EXPECT_EQ(ReadFileBytes(path), original);

    // A shift of all curves keeps every row: nothing is named. The range saved is named as it was
    // shown, whatever the decimals of the depths since.
    runner->Clear();
    runner->PushText("0.25");
    F().TBShiftDept->trigger();
    PushSave();
    runner->Push(platform::IDYES);
    ASSERT_TRUE(window->SaveDocument());
    EXPECT_EQ(Messages(), QStringList{"Сохранение|Файл\n" + QString::fromStdString(path) + "\nуже существует. Заменить?"});
    F().TBUndo->trigger();
    expectRangeNamed("В файле останутся глубины 105.0 - 110.0 из 100.25 - 120.25\n");

    // Part of the document saved (one curve, part of the range, another file) leaves it modified,
    // and opening another file asks.
    PencilStroke(10, 14);
    PushSave(QString::fromStdString(dir.file("part.las")), {1, 2, 3, 4, 5, 6}, 102, 108);
    ASSERT_TRUE(window->SaveDocument());
    EXPECT_TRUE(window->IsModified());
    runner->Clear();
    PushCurveChoice();
    runner->PushCancel();
    EXPECT_FALSE(window->OpenLasFile(QString::fromStdString(WriteTestLas(dir.file("other.las"), 1, 5))));
    EXPECT_EQ(Messages(), QStringList{platform::ApplicationTitle() + "|Сохранить изменения в файле\nseven.las?"});
}

// Data the read left out are named when the file opens and before a save would drop them for
// good; a STEP beyond the thousandths an int holds is drawn all the same.
TEST_F(WorkKeptTest, PartlyLoadedFileWarnsAtOpenAndBeforeItIsSavedOver)
{
    const std::string path = dir.file("partial.las");
    WriteFileBytes(path, "~V\r\n VERS. 2.0 :\r\n WRAP. NO :\r\n~W\r\n STEP.M 10000000 :\r\n"
                         " NULL. -999.25 :\r\n~C\r\n DEPT.M :\r\n A.U :\r\n~A\r\n0 1\r\n"
                         "10000000 2 7\r\n~O\r\n20000000 3\r\n");
    const std::string original = ReadFileBytes(path);
    const QString omitted = "В строке 12 файла значений больше, чем кривых в секции ~C (2), лишние значения не "
                            "загружены\nСтрока 13 файла начинается с '~' внутри секции ~A: она и все строки после "
                            "нее не загружены\n";
    runner->Push(platform::IDOK);
    ASSERT_TRUE(Open(path));
    EXPECT_EQ(Messages(), QStringList{"Предупреждение|Файл\n" + QString::fromStdString(path) +
                                      "\nзагружен не полностью:\n" + omitted});
    EXPECT_EQ(Values(1), (std::vector<float>{1, 2}));

    runner->Clear();
    PushSave();
    runner->Push(platform::IDNO);
    runner->PushCancel();
    EXPECT_FALSE(window->SaveDocument());
    ASSERT_FALSE(runner->Requests().empty());
    const platform::DialogRequest& question = runner->Requests()[1];
    EXPECT_EQ(question.text, "Файл\n" + QString::fromStdString(path) +
                                 "\nбудет заменен, из него будут потеряны данные.\n"
                                 "Не загруженные при открытии данные файла:\n" +
                                 omitted + "Заменить файл?");
    EXPECT_EQ(question.flags, platform::MB_YESNO | platform::MB_ICONWARNING | platform::MB_DEFBUTTON2);
    EXPECT_EQ(ReadFileBytes(path), original);

    // Once saved over, the file holds the whole document and nothing more is asked.
    runner->Clear();
    PushSave();
    runner->Push(platform::IDYES);
    ASSERT_TRUE(window->SaveDocument());
    runner->Clear();
    PushSave();
    runner->Push(platform::IDYES);
    ASSERT_TRUE(window->SaveDocument());
    EXPECT_EQ(Messages(), QStringList{"Сохранение|Файл\n" + QString::fromStdString(path) + "\nуже существует. Заменить?"});
}

// A file cut inside its last row, plain or wrapped, or with a DOS end-of-file byte inside its
// data, is named when it opens; before a save over it the text after the byte is named as lost,
// while a row cut short loses nothing of the file. "Нет" leaves the file as it was.
TEST_F(WorkKeptTest, FileCutShortWarnsAtOpenAndBeforeItIsSavedOver)
{
    const struct {
        const char* wrap;
        const char* data;
        const char* omitted;
    } cases[] = {
        {"NO", "0 1 2\r\n10 2\r\n",
         "Последняя строка данных неполная (строка 13 файла, глубина 10): не хватает 1 значения из "
         "3, вместо недостающих загружен NULL\n"},
        {"YES", "0\r\n 1 2\r\n10\r\n",
         "Последняя строка данных неполная (строка 14 файла, глубина 10): не хватает 2 значений из "
         "3, вместо недостающих загружен NULL\n"},
        {"NO", "0 1 2\r\n\x1A" "10 2 3\r\n",
         "В строке 13 файла стоит символ конца файла DOS (0x1A): текст после него не загружен\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.data);
        const std::string path = dir.file("cut.las");
        WriteFileBytes(path, std::string("~V\r\n VERS. 2.0 :\r\n WRAP. ") + c.wrap +
                                 " :\r\n~W\r\n STEP.M 10 :\r\n NULL. -999.25 :\r\n~C\r\n"
                                 " DEPT.M :\r\n A.U :\r\n B.U :\r\n~A\r\n" + c.data);
        const std::string original = ReadFileBytes(path);
        runner->Clear();
        runner->Push(platform::IDOK);
        ASSERT_TRUE(Open(path));
        EXPECT_EQ(Messages(), QStringList{"Предупреждение|Файл\n" + QString::fromStdString(path) +
                                          "\nзагружен не полностью:\n" + c.omitted});

        runner->Clear();
        PushSave();
        runner->Push(platform::IDNO);
        runner->PushCancel();
        EXPECT_FALSE(window->SaveDocument());
        ASSERT_EQ(Messages().size(), 1);
        const bool cut = QString(c.omitted).startsWith("Последняя строка");
        EXPECT_EQ(Messages()[0], "Сохранение|Файл\n" + QString::fromStdString(path) +
                                     (cut ? QString("\nуже существует. Заменить?")
                                          : "\nбудет заменен, из него будут потеряны данные.\n"
                                            "Не загруженные при открытии данные файла:\n" +
                                                QString(c.omitted) + "Заменить файл?"));
        EXPECT_EQ(runner->Requests()[1].flags,
                  cut ? platform::MB_YESNO | platform::MB_ICONQUESTION
                      : platform::MB_YESNO | platform::MB_ICONWARNING | platform::MB_DEFBUTTON2);
        EXPECT_EQ(ReadFileBytes(path), original);
    }
}

TEST_F(WorkKeptTest, ReopeningTheModifiedOwnFileSavesBeforeItReads)
{
    const std::string path = WriteTestLas(dir.file("own.las"), 2, 21);
    ASSERT_TRUE(Open(path));
    PencilStroke(5, 9);
    const float edited = window->LasFile()->GetCurveData(1)[7];
    ASSERT_NE(edited, GeneratedValue(1, 7));

    runner->Push(platform::IDYES);
    PushSave();
    runner->Push(platform::IDYES);  // replace the file
    PushCurveChoice();
    ASSERT_TRUE(window->OpenLasFile(QString::fromStdString(path)));
    EXPECT_FLOAT_EQ(window->LasFile()->GetCurveData(1)[7], edited);
    EXPECT_FALSE(window->IsModified());
    EXPECT_EQ(runner->PendingAnswers(), 0);
}

// The session folder's files, as names.
QStringList SessionFiles(const std::string& folder)
{
    return QDir(QString::fromStdString(folder)).entryList(QDir::Files, QDir::Name);
}

TEST_F(WorkKeptTest, AFailedSessionSaveLeavesThePreviousSessionWhole)
{
    ASSERT_TRUE(Open(WriteTestLas(dir.file("small.las"), 2, 10)));
    const std::string session = dir.file("s.vxs");
    ASSERT_TRUE(window->SaveSession(QString::fromStdString(session)));
    const std::string before = ReadFileBytes(session);
    const QStringList files = SessionFiles(dir.path());

    // A file-size limit between the LAS copy and the session file: the copy is written, the
    // session file is not (as on a disk that fills up between the two).
    ASSERT_GT(before.size(), 3000u);
    window->LasFile()->GetCurveData(1)[0] = 777.0f;
    const bool saved = WithFileSizeLimit(2000, [&] { return window->SaveSession(QString::fromStdString(session)); });
    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadFileBytes(session), before);
    EXPECT_EQ(SessionFiles(dir.path()), files);  // no new copy left behind

    EXPECT_TRUE(window->LoadSession(QString::fromStdString(session)));
    EXPECT_EQ(window->LasFile()->GetCurveData(1)[0], GeneratedValue(1, 0));
}

TEST_F(WorkKeptTest, ASessionWhoseCopyWasCutIsRefused)
{
    ASSERT_TRUE(Open(WriteTestLas(dir.file("rows.las"), 2, 200)));
    const std::string session = dir.file("cut.vxs");
    ASSERT_TRUE(window->SaveSession(QString::fromStdString(session)));
    StrativSession stored;
    std::string error;
    ASSERT_TRUE(stored.Load(session, error));
    const std::string copy = dir.file(stored.LasCopyName);
    const std::string whole = ReadFileBytes(copy);
    ASSERT_TRUE(Open(WriteTestLas(dir.file("other.las"), 1, 5)));
    const TLASFile* open = window->LasFile();

    // The file up to the end of the second value of the row that starts after `at`.
    const auto cutInRow = [&](size_t at) {
        size_t end = at;
        for (int token = 0; token < 2; ++token) {
            end = whole.find_first_not_of(' ', end);
            end = whole.find(' ', end);
        }
        return whole.substr(0, end);
    };
    const size_t middle = whole.rfind('\n', whole.size() / 2) + 1;
    const size_t lastRow = whole.rfind('\n', whole.size() - 2) + 1;
    for (const std::string& cut : {whole.substr(0, middle), cutInRow(middle), cutInRow(lastRow)}) {
        WriteFileBytes(copy, cut);
        runner->Clear();
        EXPECT_FALSE(window->LoadSession(QString::fromStdString(session)));
        EXPECT_EQ(Messages().join("/").toStdString(), "Ошибка|Файл сессии поврежден или имеет неизвестный формат");
        EXPECT_EQ(window->LasFile(), open);
    }
    WriteFileBytes(copy, whole);
    EXPECT_TRUE(window->LoadSession(QString::fromStdString(session)));
    EXPECT_EQ(window->LasFile()->GetPointCount(), 200);
}

TEST_F(WorkKeptTest, DeletingTheSessionOfTheOpenDocumentLeavesItOpenWithoutAFile)
{
    ASSERT_TRUE(Open(WriteTestLas(dir.file("w.las"), 2, 10)));
    const QString sessions = QString::fromStdString(window->SessionsDir);
    ASSERT_TRUE(window->SaveSession(sessions + "keep.vxs"));
    ASSERT_TRUE(window->LoadSession(sessions + "keep.vxs"));
    // Saving the loaded session again moves the document to the new copy.
    ASSERT_TRUE(window->SaveSession(sessions + "keep.vxs"));
    EXPECT_TRUE(QFile::exists(QString::fromStdString(window->LasFile()->GetFileName())));
    EXPECT_EQ(SessionFiles(window->SessionsDir).size(), 2);

    runner->PushDialog([](QDialog& dialog) {
        dialog.findChild<QTreeWidget*>("ListSessions")->setCurrentItem(
            dialog.findChild<QTreeWidget*>("ListSessions")->topLevelItem(0));
        QTest::mouseClick(dialog.findChild<QPushButton*>("BtnDelete"), Qt::LeftButton);
        return int(QDialog::Rejected);
    });
    runner->Push(platform::IDYES);
    window->Form().MMIFileSessions->trigger();
    EXPECT_EQ(Messages().value(0),
              "Удалить|Удалить сессию 'keep'?\n\nОткрытый документ загружен из этой сессии. Он останется открытым, "
              "но не будет сохранен ни в одном файле: при сохранении нужно будет указать имя файла.");
    EXPECT_TRUE(SessionFiles(window->SessionsDir).isEmpty());
    ASSERT_NE(window->LasFile(), nullptr);
    EXPECT_EQ(window->LasFile()->GetFileName(), "");
    EXPECT_TRUE(window->IsModified());

    // The next save asks for a name and makes it the document's file.
    const QString target = QString::fromStdString(dir.file("named.las"));
    runner->Clear();
    runner->PushFiles({target});
    PushSave();
    ASSERT_TRUE(window->SaveDocument());
    EXPECT_EQ(runner->Requests().front().kind, platform::DialogKind::File);
    EXPECT_EQ(QString::fromStdString(window->LasFile()->GetFileName()), target);
    EXPECT_FALSE(window->IsModified());
    EXPECT_EQ(TLASFile(target.toStdString(), 2).GetPointCount(), 10);
}

// Settings files holding random bytes are named in one message at start with the copy each was
// kept as, and not read; a later damaged start keeps its copy beside the earlier one.
TEST_F(WorkKeptTest, DamagedSettingsFilesAreToldOnceAndKeptAsBackups)
{
    window->close();
    window.reset();
    std::filesystem::create_directories(dir.file("templates"));
    std::mt19937 random(7);
    std::string noise;
    for (int i = 0; i < 300; ++i)
        noise += static_cast<char>(random() & 0xFF);
    // The macro file of another kind is named in the same message.
    const std::vector<std::string> damaged = {dir.file("strativ.ini"), dir.file("templates/templates.ini"),
                                              dir.file("DefaultTempl.ctl"), dir.file("templates/Macros.mcr")};
    const std::string unknown = "[Future]\r\nKey=1\r\n; note\r\n\r\n[Options]\r\nDViewVisible=1\r\n";
    WriteFileBytes(dir.file("lasbrowse.ini"), unknown);
    for (const std::string suffix : {".bak", ".1.bak"}) {
        window.reset();
        for (const std::string& path : damaged)
            WriteFileBytes(path, noise + suffix);
        runner->Clear();
        CreateWindow();
        QTest::qWait(20);
        QString told = "Strativ|Файлы настроек повреждены или другого формата и не прочитаны:";
        for (const std::string& path : damaged) {
            told += "\n" + QString::fromStdString(path) + " - сохранен как " + QString::fromStdString(path + suffix);
            EXPECT_EQ(ReadFileBytes(path + suffix), noise + suffix) << path;
        }
        EXPECT_EQ(Messages(), QStringList{told});
        window->close();
    }
    EXPECT_EQ(ReadFileBytes(dir.file("lasbrowse.ini")), unknown);
    EXPECT_FALSE(std::filesystem::exists(dir.file("lasbrowse.ini.bak")));
    // The next start finds sound files and says nothing.
    window.reset();
    runner->Clear();
    CreateWindow();
    QTest::qWait(20);
    EXPECT_EQ(Messages(), QStringList{});
}

// Settings files a person edited (comments, blank lines, a name alone on its line, LF or CR LF,
// a byte order mark) are read as they are at start: nothing is set aside, their settings hold.
TEST_F(WorkKeptTest, HandEditedSettingsFilesAreReadAsTheyAre)
{
    const std::string recent = WriteTestLas(dir.file("recent.las"), 1, 4);
    window->close();
    window.reset();
    std::filesystem::create_directories(dir.file("templates"));
    const std::pair<std::string, std::string> files[] = {
        {"strativ.ini", "# note\n\n[View]\nDepthScale=500\nBareKey\n[RecentFiles]\nFile0=" + recent + "\n"},
        {"lasbrowse.ini", "\xEF\xBB\xBF; note\r\n# note\r\n\r\n[Options]\r\nBareKey\r\n"},
        {"templates/templates.ini", "[Macros]\r\n# note\r\nListBoxW\r\n"},
        {"DefaultTempl.ctl", "# note\n[TemlateInfo]\nVersion=1\nBareKey\n"},
    };
    for (const auto& [name, text] : files)
        WriteFileBytes(dir.file(name), text);
    runner->Clear();
    CreateWindow();
    QTest::qWait(20);
    EXPECT_EQ(Messages(), QStringList{});
    for (const auto& [name, text] : files) {
        EXPECT_EQ(ReadFileBytes(dir.file(name)), text) << name;
        EXPECT_FALSE(std::filesystem::exists(dir.file(name + ".bak"))) << name;
    }
    EXPECT_EQ(window->DepthScale, 500);
    EXPECT_EQ(window->RecentFiles().Items(), QStringList{QString::fromStdString(recent)});
}

TEST_F(WorkKeptTest, AFailedWriteNamesTheFileAndTheReason)
{
    ASSERT_TRUE(Open(WriteTestLas(dir.file("w.las"), 2, 10)));
    const QString target = QString::fromStdString(dir.file("no such folder/out.las"));
    PushSave(target);
    runner->PushCancel();
    EXPECT_FALSE(window->SaveDocument());
    EXPECT_EQ(Messages(), QStringList{"Ошибка|Не удалось записать файл\n" + target + "\nПапка не существует"});

    runner->Clear();
    std::filesystem::create_directory(dir.file("taken.vxs"));  // a folder where the session file goes
    EXPECT_FALSE(window->SaveSession(QString::fromStdString(dir.file("taken.vxs"))));
    EXPECT_EQ(Messages(), QStringList{"Ошибка|Не удалось записать файл\n" + QString::fromStdString(dir.file("taken.vxs")) +
                                      "\nНа месте файла находится папка"});
    EXPECT_EQ(SessionFiles(dir.path()), QStringList{"w.las"});  // the new LAS copy is not left behind
}

}  // namespace
}  // namespace strativ::test

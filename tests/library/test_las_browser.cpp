// The library browser on temporary folders: listing and order, the hand-back, header editing,
// the header panel, settings and bookmarks, the folder tree with drops, and the idle scan.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDropEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <map>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <filesystem>
#include <memory>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include "core/IniStore.h"
#include "core/SettingsFile.h"
#include "library/DirTreeView.h"
#include "library/DlgLogFileHeaderEditor.h"
#include "library/FileDragData.h"
#include "library/FormLasBrowserColumns.h"
#include "library/FormSQLiteEditor.h"
#include "library/LasBrowser.h"
#include "library/LogFileDBManager.h"
#include "platform/RecordingDialogRunner.h"
#include "tests/common/FileBytes.h"
#include "tests/common/ScriptedProgress.h"
#include "tests/common/TestPaths.h"
#include "tests/library/LibraryFixtures.h"

namespace fs = std::filesystem;
using platform::RecordingDialogRunner;
using strativ::test::ReadFileBytes;
using strativ::test::Strings;
using strativ::test::WriteFileBytes;

namespace {

Strings RowCaptions(QTreeWidget* list, int column = 0)
{
    Strings rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        rows.push_back(list->topLevelItem(i)->text(column).toStdString());
    return rows;
}

Strings HeaderCaptions(QTreeWidget* list)
{
    Strings captions;
    for (int i = 0; i < list->columnCount(); ++i)
        captions.push_back(list->headerItem()->text(i).toStdString());
    return captions;
}

QTreeWidgetItem* Row(QTreeWidget* list, const std::string& caption)
{
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (list->topLevelItem(i)->text(0).toStdString() == caption)
            return list->topLevelItem(i);
    return nullptr;
}

// A program folder and a profile of its own, and a browser over them.
class BrowserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("STRATIV_HOME", (dir.path() + "/program").c_str(), 1);
        setenv("HOME", (dir.path() + "/home").c_str(), 1);
        fs::create_directories(dir.path() + "/program");
        fs::create_directories(folder + "sub");
        strativ::test::WriteLas(folder + "b.las", {{"FLD", "F2"}, {"WELL", "W2"}});
        strativ::test::WriteLas(folder + "a.las", {{"FLD", "F1"}, {"WELL", "W1"}});
        WriteFileBytes(folder + "x.txt", "text");
        WriteFileBytes(folder + "bad.las", "not a LAS file\n");
    }
    void TearDown() override
    {
        browser.reset();
        unsetenv("STRATIV_HOME");
    }

    std::string Settings() const { return dir.path() + "/program/lasbrowse.ini"; }

    TFormLasBrowser& Open() { return Open(manager, dir.path() + "/lib.db"); }
    TFormLasBrowser& Open(LogFileDBManager& library, const std::string& database)
    {
        LasBrowserServices services;
        services.DBManager = &library;
        services.DatabasePath = database;
        services.HeaderEditor = &headerEditor;
        services.ColumnsEditor = &columnsEditor;
        browser = std::make_unique<TFormLasBrowser>(services);
        return *browser;
    }

    strativ::test::TempDir dir;
    std::string folder = dir.path() + "/d/";
    RecordingDialogRunner runner;
    LogFileDBManager manager;
    TDlgLogFileHeaderEditor headerEditor;
    TFormLasBrowserColumns columnsEditor;
    std::unique_ptr<TFormLasBrowser> browser;
};

} // namespace

TEST_F(BrowserTest, FolderIsListedWithHeaderColumnsInTheirOrder)
{
    WriteFileBytes(Settings(), "[Sort]\nColNumber=0\nType=1\n");
    TFormLasBrowser& b = Open();
    b.ShowForPath(folder);
    EXPECT_EQ(RowCaptions(b.ListView), (Strings{"..", "sub", "a.las", "b.las"}));
    EXPECT_EQ(b.windowTitle().toStdString(), "Обзор файлов Las - " + folder);
    EXPECT_EQ(HeaderCaptions(b.ListView), (Strings{"Файл", "Площадь", "Скважина", "Дата", "Исполнитель", "Компания"}));
    QTreeWidgetItem* a = Row(b.ListView, "a.las");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ((Strings{a->text(1).toStdString(), a->text(2).toStdString(), a->text(3).toStdString(),
                       a->text(4).toStdString(), a->text(5).toStdString()}),
              (Strings{"F1", "W1", "", "", ""}));

    // Clicks on a column: ascending, descending, ascending; another column starts ascending.
    b.ListViewColumnClick(0);
    EXPECT_EQ(RowCaptions(b.ListView), (Strings{"..", "sub", "b.las", "a.las"}));
    b.ListViewColumnClick(0);
    EXPECT_EQ(RowCaptions(b.ListView), (Strings{"..", "sub", "a.las", "b.las"}));
    b.ListViewColumnClick(2);
    EXPECT_EQ(b.SortDirection, 1);
    b.ListViewColumnClick(2);
    EXPECT_EQ(RowCaptions(b.ListView), (Strings{"..", "sub", "b.las", "a.las"}));
}

TEST_F(BrowserTest, EnterHandsTheFileBackOnceAndMinimises)
{
    TFormLasBrowser& b = Open();
    b.ShowForPath(folder);
    // Without OnOpenFile nothing happens, not even entering a folder.
    b.ListView->setCurrentItem(Row(b.ListView, "sub"));
    QTest::keyClick(b.ListView, Qt::Key_Return);
    EXPECT_EQ(b.DirTreeView->GetCurrentFolder(), folder);

    QStringList opened;
    QStringList added;
    b.OnOpenFile = [&](const QString& path) { opened.append(path); };
    b.OnAddCurves = [&](const QString& path) { added.append(path); };
    b.ListView->setCurrentItem(Row(b.ListView, "a.las"));
    QTest::keyClick(b.ListView, Qt::Key_Return);
    EXPECT_EQ(opened, QStringList{QString::fromStdString(folder + "a.las")});
    EXPECT_TRUE(b.isMinimized());
    b.MMIFileAddToLoaded->trigger();
    EXPECT_EQ(added, QStringList{QString::fromStdString(folder + "a.las")});

    b.showNormal();
    b.ListView->setCurrentItem(Row(b.ListView, "sub"));
    QTest::keyClick(b.ListView, Qt::Key_Return);
    EXPECT_EQ(b.DirTreeView->GetCurrentFolder(), folder + "sub/");
    EXPECT_EQ(RowCaptions(b.ListView), (Strings{".."}));
    b.OpenSelected(false);  // ".." goes up
    EXPECT_EQ(b.DirTreeView->GetCurrentFolder(), folder);
    EXPECT_EQ(opened.size(), 1);
}

TEST_F(BrowserTest, HeaderEditWritesTheFileAndTheLibraryRow)
{
    TFormLasBrowser& b = Open();
    ASSERT_TRUE(manager.IsOpen());
    manager.AddLookupPath(folder);
    manager.RescanAllPaths();
    b.ShowForPath(folder);
    b.ListView->setCurrentItem(Row(b.ListView, "a.las"));
    runner.PushDialog([&](QDialog&) {
        headerEditor.StringGrid->item(1, 1)->setText("NEW");
        QTest::mouseClick(headerEditor.findChild<QPushButton*>("OKBtn"), Qt::LeftButton);
        return headerEditor.result();
    });
    b.PMIFilesEditFileHeader->trigger();
    EXPECT_NE(ReadFileBytes(folder + "a.las").find(" WELL.  NEW :  WELL line\n"), std::string::npos);
    strativ::test::LibraryDbProbe probe(dir.path() + "/lib.db");
    EXPECT_EQ(probe.Rows("SELECT well FROM logfiles WHERE file='" + folder + "a.las';"), Strings{"NEW"});

    // A file gone before the write: the failure is told, nothing is reported as written.
    runner.Clear();
    runner.PushDialog([&](QDialog&) {
        headerEditor.StringGrid->item(1, 1)->setText("LOST");
        fs::remove(folder + "a.las");
        QTest::mouseClick(headerEditor.findChild<QPushButton*>("OKBtn"), Qt::LeftButton);
        return headerEditor.result();
    });
    b.PMIFilesEditFileHeader->trigger();
    ASSERT_FALSE(runner.Requests().empty());
    EXPECT_EQ(runner.Last().title, "Ошибка");
    EXPECT_EQ(runner.Last().text.toStdString(), "Не удалось записать заголовок файла\n" + folder + "a.las");
    EXPECT_EQ(probe.Rows("SELECT well FROM logfiles WHERE file='" + folder + "a.las';"), Strings{"NEW"});
}

TEST_F(BrowserTest, HeaderPanelNeverShowsAFreedHeader)
{
    TFormLasBrowser& b = Open();
    b.ShowForPath(folder);
    b.ListView->setCurrentItem(Row(b.ListView, "a.las"));
    ASSERT_EQ(b.TVLasInfo->topLevelItemCount(), 1);
    EXPECT_EQ(b.TVLasInfo->topLevelItem(0)->text(0), "a.las");
    QTreeWidgetItem* well = b.TVLasInfo->topLevelItem(0)->child(1);
    b.TVLasInfo->setCurrentItem(well->child(4));  // the FLD line
    EXPECT_EQ(b.MemoInfo->toPlainText(), "Unit = \n-------\nЗначение = F1\nКомментарий = FLD line");

    // Another listing frees the headers: choosing another display mode must not reach them.
    b.DirTreeView->SetFolder(folder + "sub");
    EXPECT_EQ(b.TVLasInfo->topLevelItemCount(), 0);
    EXPECT_TRUE(b.MemoInfo->toPlainText().isEmpty());
    b.MIShortAddInfo->trigger();
    EXPECT_EQ(b.TVLasInfo->topLevelItemCount(), 0);

    // A deleted row likewise; answering No keeps the file. The question names the open document.
    b.DirTreeView->SetFolder(folder);
    b.ListView->setCurrentItem(Row(b.ListView, "b.las"));
    b.OpenDocumentPath = [&] { return folder + "sub/../b.las"; };
    runner.Push(platform::IDNO);
    b.PMFDelete->trigger();
    EXPECT_TRUE(fs::exists(folder + "b.las"));
    EXPECT_TRUE(runner.Last().text.endsWith("\nЭто документ, открытый в главном окне: он останется открытым, "
                                            "а файл будет удалён с диска."));
    runner.Push(platform::IDYES);
    b.PMFDelete->trigger();
    EXPECT_EQ(runner.Last().title, "Удаление файла");
    EXPECT_FALSE(fs::exists(folder + "b.las"));
    EXPECT_EQ(Row(b.ListView, "b.las"), nullptr);
    EXPECT_EQ(b.TVLasInfo->topLevelItemCount(), 0);
    b.MIAllAddInfo->trigger();
    EXPECT_EQ(b.TVLasInfo->topLevelItemCount(), 0);
}

TEST_F(BrowserTest, MonitoredFolderIsRelistedKeepingTheSelection)
{
    TFormLasBrowser& b = Open();
    b.show();
    b.ShowForPath(folder);
    b.ListView->setCurrentItem(Row(b.ListView, "a.las"));
    strativ::test::WriteLas(folder + "c.las", {{"WELL", "W3"}});
    ASSERT_TRUE(QTest::qWaitFor([&] { return Row(b.ListView, "c.las") != nullptr; }, 10000));
    ASSERT_EQ(b.ListView->selectedItems().size(), 1);
    EXPECT_EQ(b.ListView->selectedItems()[0]->text(0), "a.las");
    fs::rename(folder + "a.las", folder + "A.LAS");
    ASSERT_TRUE(QTest::qWaitFor([&] { return Row(b.ListView, "A.LAS") != nullptr; }, 10000));
    ASSERT_EQ(b.ListView->selectedItems().size(), 1);  // same name ignoring case
    fs::rename(folder + "A.LAS", folder + "e.las");
    ASSERT_TRUE(QTest::qWaitFor([&] { return Row(b.ListView, "e.las") != nullptr; }, 10000));
    EXPECT_TRUE(b.ListView->selectedItems().isEmpty());

    // While the library page is shown the monitor leaves its listing alone.
    b.PageControl->setCurrentWidget(b.TSLib);
    EXPECT_EQ(b.ListView->topLevelItemCount(), 0);
    strativ::test::WriteLas(folder + "f.las", {{"WELL", "W4"}});
    QTest::qWait(1200);
    EXPECT_EQ(b.ListView->topLevelItemCount(), 0);
}

TEST_F(BrowserTest, SettingsAndColumnsSurviveARestart)
{
    Open().ShowForPath(folder);
    browser->ListView->header()->resizeSection(1, 137);  // a width set by hand is kept
    browser.reset();
    TSettingsFile file(Settings());
    std::string value;
    const struct {
        const char* section;
        const char* key;
        const char* value;
    } expected[] = {{"Options", "DViewVisible", "true"}, {"Options", "AddInfoVisible", "true"},
                    {"Options", "Mode", "0"},           {"Lib", "IdleScan", "-5"},
                    {"Sort", "ColNumber", "0"},         {"Sort", "Type", "0"}};
    for (const auto& e : expected) {
        ASSERT_TRUE(file.ReadString(e.section, e.key, value)) << e.key;
        EXPECT_EQ(value, e.value) << e.key;
    }
    EXPECT_GE(file.FindSection("LLCSettings"), 0);

    TFormLasBrowser& again = Open();
    again.ShowForPath(folder);
    EXPECT_EQ(HeaderCaptions(again.ListView),
              (Strings{"Файл", "Площадь", "Скважина", "Дата", "Исполнитель", "Компания"}));
    EXPECT_EQ(again.ListView->columnWidth(1), 137);
}

TEST_F(BrowserTest, FileColumnFitsTheNamesUnlessAWidthIsStoredOrSetByHand)
{
    const std::string longName = "sample_write_sect_widths_20_narrow.las";
    strativ::test::WriteLas(folder + longName, {{"WELL", "W3"}});
    const struct {
        const char* stored;  // "FileColWidth" in the settings file, empty: none
        int treeWidth;       // "DViewWidth" in the settings file, 0: none
        QSize size;          // the starting size, or maximised on a 1920 x 1080 screen
        int setByHand;       // a width the user drags the column to, 0: none
        const char* saved;   // "FileColWidth" after the browser closed, empty: none
    } cases[] = {
        {"", 0, QSize(696, 480), 0, ""},
        {"", 0, QSize(1920, 1040), 0, ""},
        {"120", 0, QSize(696, 480), 0, "120"},
        {"", 0, QSize(696, 480), 200, "200"},
        {"", 200, QSize(696, 480), 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.stored) + " " + std::to_string(c.treeWidth) + " " + std::to_string(c.size.width()) + " " +
                     std::to_string(c.setByHand));
        fs::remove(Settings());
        WriteFileBytes(Settings(), std::string("[Options]\n") +
                                       (*c.stored ? "FileColWidth=" + std::string(c.stored) + "\n" : "") +
                                       (c.treeWidth ? "DViewWidth=" + std::to_string(c.treeWidth) + "\n" : ""));
        TFormLasBrowser& b = Open();
        b.resize(c.size);
        b.show();
        b.ShowForPath(folder);
        QTreeWidgetItem* row = Row(b.ListView, longName);
        ASSERT_NE(row, nullptr);
        if (*c.stored) {
            EXPECT_EQ(b.ListView->columnWidth(0), std::stoi(c.stored));
        } else {
            const int icon = b.ListView->style()->pixelMetric(QStyle::PM_SmallIconSize);
            EXPECT_GE(b.ListView->columnWidth(0), b.ListView->fontMetrics().horizontalAdvance(row->text(0)) + icon);
            EXPECT_LE(b.ListView->columnWidth(0), 350);
            // The pane shows the whole column, the folder pane keeping its stored or default width.
            EXPECT_GE(b.ListView->viewport()->width(), b.ListView->columnWidth(0));
            EXPECT_EQ(b.PageControl->width(), c.treeWidth ? c.treeWidth : 150);
        }
        if (c.setByHand) {
            b.ListView->header()->resizeSection(0, c.setByHand);
            b.ShowFolder(folder);  // a new listing keeps it
            EXPECT_EQ(b.ListView->columnWidth(0), c.setByHand);
        }
        browser.reset();
        std::string saved;
        TSettingsFile(Settings()).ReadString("Options", "FileColWidth", saved);
        EXPECT_EQ(saved, c.saved);
    }
}

// At the starting size (widened for the list) the folder tree shows the chosen folder's name
// whole, the pane within half the window; maximised, no header value is cut while the list has
// room for it.
TEST_F(BrowserTest, TreeAndColumnsShowTheirNamesWhole)
{
    const std::string deep = folder + std::string(20, 'a') + "/" + std::string(20, 'b') + "/" + std::string(20, 'c');
    strativ::test::WriteLas(deep + "/w.las", {{"FLD", "ANY ET AL OIL FIELD NORTH"},
                                               {"WELL", "Jonah Federal 12-34 Unit"},
                                               {"COMP", "Stratigraphic Services Company Ltd"},
                                               {"SRVC", "Schlumberger Wireline"},
                                               {"DATE", "13-DEC-1986"}});
    for (const QSize size : {QSize(696, 480), QSize(1920, 1040)}) {
        SCOPED_TRACE(size.width());
        fs::remove(Settings());
        TFormLasBrowser& b = Open();
        b.resize(size);
        b.ShowForPath(deep);
        QTest::qWait(50);
        TDirTreeView& tree = *b.DirTreeView;
        const QRect node = tree.visualRect(tree.currentIndex());
        EXPECT_EQ(tree.currentItem()->text(0).toStdString(), std::string(20, 'c'));
        EXPECT_GE(node.left(), 0);
        EXPECT_LE(node.left() + tree.fontMetrics().horizontalAdvance(tree.currentItem()->text(0)),
                  tree.viewport()->width());
        EXPECT_TRUE(tree.viewport()->rect().contains(node.center()));
        EXPECT_LE(b.PageControl->width(), b.width() / 2);
        if (size.width() > 1000) {
            QTreeWidgetItem* row = Row(b.ListView, "w.las");
            ASSERT_NE(row, nullptr);
            for (int k = 1; k < b.ListView->columnCount(); ++k)
                EXPECT_GT(b.ListView->columnWidth(k), b.ListView->fontMetrics().horizontalAdvance(row->text(k)))
                    << row->text(k).toStdString();
        }
        browser.reset();
    }
}

TEST_F(BrowserTest, BookmarksTheSettingsFileCannotHoldAreRefused)
{
    fs::create_directories(dir.path() + "/a\nb");
    fs::create_directories(dir.path() + "/e");
    TFormLasBrowser& b = Open();
    b.ShowForPath(folder);
    const auto add = [&](const QString& name) {
        runner.PushText(name);
        b.MMIFavsAdd->trigger();
    };
    const std::string refusal = "Недопустимое имя закладки или слишком длинный путь";
    const std::pair<QString, std::string> refused[] = {
        {"line\nbreak", kBadIniNameMessage}, {";comment", kBadIniNameMessage}, {"k=v", refusal}};
    for (const auto& [name, message] : refused) {
        runner.Clear();
        add(name);
        EXPECT_EQ(runner.Last().text.toStdString(), message) << name.toStdString();
        EXPECT_EQ(b.Bookmarks.Count(), 0);
    }
    b.DirTreeView->SetFolder(dir.path() + "/a\nb");
    add("odd");
    EXPECT_EQ(runner.Last().text.toStdString(), refusal);
    EXPECT_EQ(b.Bookmarks.Count(), 0);

    // Accepted adds and renames come back in order from the file at the next start.
    b.DirTreeView->SetFolder(folder);
    add("Data");
    b.DirTreeView->SetFolder(dir.path() + "/e");
    add("Второй");
    b.DirTreeView->SetFolder(folder + "sub");
    add("DATA");  // the same name ignoring case points it elsewhere
    ASSERT_EQ(b.ListViewFavorites->topLevelItemCount(), 2);
    b.ListViewFavorites->topLevelItem(1)->setText(0, "Третий");
    b.ListViewFavorites->topLevelItem(0)->setText(0, "третий");  // taken: refused
    EXPECT_EQ(runner.Last().title, "Изменение имени закладки");
    b.ListViewFavorites->topLevelItem(0)->setText(0, "x\ny");
    EXPECT_EQ(runner.Last().text.toStdString(), kBadIniNameMessage);
    EXPECT_EQ(b.ListViewFavorites->topLevelItem(0)->text(0), "DATA");
    b.ListViewFavorites->topLevelItem(0)->setText(0, "");  // empty: the old name back
    EXPECT_EQ(b.ListViewFavorites->topLevelItem(0)->text(0), "DATA");
    browser.reset();

    TFormLasBrowser& again = Open();
    ASSERT_EQ(again.Bookmarks.Count(), 2);
    EXPECT_EQ(again.Bookmarks[0].Name, "DATA");
    EXPECT_EQ(again.Bookmarks[0].Path, folder + "sub/");
    EXPECT_EQ(again.Bookmarks[1].Name, "Третий");
    EXPECT_EQ(again.Bookmarks[1].Path, dir.path() + "/e/");
    EXPECT_EQ(RowCaptions(again.ListViewFavorites, 1), (Strings{folder + "sub/", dir.path() + "/e/"}));
}

TEST_F(BrowserTest, FolderTreeFindsFoldersAndDropsNeverOverwrite)
{
    const std::string t = dir.path();
    fs::create_directories(t + "/a/b");
    fs::create_directories(t + "/target");
    fs::create_directories(t + "/src");
    WriteFileBytes(t + "/target/x.las", "kept");
    WriteFileBytes(t + "/src/x.las", "dropped");
    WriteFileBytes(t + "/src/y.las", "moved");
    TDirTreeView tree;
    tree.ReadInitial();
    tree.SetFolder(t + "/a/b");
    EXPECT_EQ(tree.GetCurrentFolder(), t + "/a/b/");
    tree.LevelUp();
    EXPECT_EQ(tree.GetCurrentFolder(), t + "/a/");
    tree.SetFolder(t + "/a/missing");  // no such folder: nothing changes
    EXPECT_EQ(tree.GetCurrentFolder(), t + "/a/");

    tree.SetFolder(t + "/target");
    QTreeWidgetItem* target = tree.currentItem();
    QAction* answer = nullptr;
    tree.SetMenuRunner([&](QMenu&, const QPoint&) { return answer; });
    answer = tree.PMICopy;
    tree.DropFiles(target, {QString::fromStdString(t + "/src/x.las")}, {});
    EXPECT_EQ(ReadFileBytes(t + "/target/x.las"), "kept");
    EXPECT_EQ(runner.Last().title, "Ошибка");
    EXPECT_EQ(runner.Last().text.toStdString(), "Не удалось скопировать или переместить файлы:\n" + t + "/src/x.las");
    answer = tree.PMICancel;
    tree.DropFiles(target, {QString::fromStdString(t + "/src/y.las")}, {});
    EXPECT_TRUE(fs::exists(t + "/src/y.las"));
    EXPECT_FALSE(fs::exists(t + "/target/y.las"));
    answer = tree.PMIMove;
    tree.DropFiles(target, {QString::fromStdString(t + "/src/y.las")}, {});
    EXPECT_FALSE(fs::exists(t + "/src/y.las"));
    EXPECT_EQ(ReadFileBytes(t + "/target/y.las"), "moved");

    std::unique_ptr<QMimeData> files(MakeFileDragData({QString::fromStdString(t + "/src/x.las")}));
    EXPECT_EQ(files->urls(), QList<QUrl>{QUrl::fromLocalFile(QString::fromStdString(t + "/src/x.las"))});
    const Qt::DropActions both = Qt::CopyAction | Qt::MoveAction;
    EXPECT_EQ(ChooseDropEffect(files.get(), Qt::NoModifier, both), Qt::MoveAction);
    EXPECT_EQ(ChooseDropEffect(files.get(), Qt::ControlModifier, both), Qt::CopyAction);
    EXPECT_EQ(ChooseDropEffect(files.get(), Qt::ControlModifier | Qt::ShiftModifier, both), Qt::IgnoreAction);
    QMimeData text;
    text.setText("x.las");
    EXPECT_EQ(ChooseDropEffect(&text, Qt::NoModifier, both), Qt::IgnoreAction);

    // A drop of a web link with a local file takes the file.
    WriteFileBytes(t + "/src/z.las", "z");
    QMimeData mixed;
    mixed.setUrls({QUrl("https://example.com/w.las"), QUrl::fromLocalFile(QString::fromStdString(t + "/src/z.las"))});
    tree.SetAcceptDropFiles(true);
    tree.resize(400, 400);
    tree.show();
    tree.SetFolder(t + "/target");
    const QPoint at = tree.visualItemRect(tree.currentItem()).center();
    QDragEnterEvent enter(at, both, &mixed, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree.viewport(), &enter);
    QDropEvent drop(at, both, &mixed, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree.viewport(), &drop);
    EXPECT_EQ(ReadFileBytes(t + "/target/z.las"), "z");
}

TEST_F(BrowserTest, ClipboardCopyCarriesTheFile)
{
    TFormLasBrowser& b = Open();
    b.ShowForPath(folder);
    b.ListView->setCurrentItem(Row(b.ListView, "b.las"));
    b.MMIEditCopyClick();
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(DroppedLocalFiles(copied), QStringList{QString::fromStdString(folder + "b.las")});
}

TEST_F(BrowserTest, IdleScanIndexesNewFilesAndStopsCleanlyAtExit)
{
    const std::string libFolder = dir.path() + "/lib/";
    strativ::test::MakeLibrary(libFolder, 1, 3);
    {
        LogFileDBManager setup;
        setup.Open(dir.path() + "/lib.db");
        setup.AddLookupPath(libFolder);
    }
    WriteFileBytes(Settings(), "[Lib]\nIdleScan=1\n");
    TFormLasBrowser& b = Open();
    b.ShowForPath(folder);
    EXPECT_TRUE(b.MMILibIdleScan->isChecked());
    b.TimerLibScan->setInterval(50);
    b.TimerLibScan->start();
    strativ::test::WriteLas(libFolder + "new.las", {{"FLD", "NEWFLD"}});
    strativ::test::LibraryDbProbe probe(dir.path() + "/lib.db");
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return !probe.Rows("SELECT fld FROM logfiles WHERE file='" + libFolder + "new.las';").empty();
    }, 10000));

    // Leaving while a long scan runs.
    strativ::test::MakeLibrary(libFolder + "many", 4, 150, 200);
    {
        LogFileDBManager setup;
        setup.Open(dir.path() + "/lib.db");
        setup.AddLookupPath(libFolder + "many/field0");
        setup.AddLookupPath(libFolder + "many/field1");
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return b.LibScanner != nullptr; }, 10000));
    b.TimerLibScan->setInterval(60000);
    browser.reset();
    EXPECT_EQ(probe.Rows("PRAGMA integrity_check;"), Strings{"ok"});
    TSettingsFile file(Settings());
    std::string idle;
    ASSERT_TRUE(file.ReadString("Lib", "IdleScan", idle));
    EXPECT_EQ(idle, "1");  // kept on, though its timer waits while a scan runs
}

namespace {

// The scanning child stops itself at the row it writes in the middle of its scan, its folder
// marked before and some of its rows committed.
void StopAtRow(void*, int, const char*, const char*, sqlite3_int64)
{
    static int rows = 0;
    if (++rows == 250)
        raise(SIGSTOP);
}

int InstallStopAtRow(sqlite3* db, char**, const sqlite3_api_routines*)
{
    sqlite3_update_hook(db, StopAtRow, nullptr);
    return SQLITE_OK;
}

// A process of this program rescanning the library of the database, stopped half-way; -1 on failure.
pid_t StartStoppedScan(const std::string& database)
{
    // No connection is open across the fork.
    const pid_t scanner = strativ::test::ForkRescan(database, &InstallStopAtRow);
    int status = 0;
    return scanner > 0 && waitpid(scanner, &status, WUNTRACED) == scanner && WIFSTOPPED(status) ? scanner : -1;
}

} // namespace

// A scan whose process was killed or terminated goes on when the library is next opened, and the
// library page says that the library is incomplete until it has ended; a scan that another
// instance is still running is left to it.
TEST_F(BrowserTest, UnfinishedScanIsResumedAndTheLibrarySaysItIsIncompleteMeanwhile)
{
    const std::string libFolder = dir.path() + "/lib";
    strativ::test::MakeLibrary(libFolder, 4, 100);
    const struct {
        const char* what;
        int signal;  // 0: left running
        bool resumed;
    } ends[] = {{"killed", SIGKILL, true}, {"terminated", SIGTERM, true}, {"running", 0, false}};
    for (const auto& end : ends) {
        SCOPED_TRACE(end.what);
        const std::string database = dir.path() + "/" + end.what + ".db";
        {
            LogFileDBManager setup;
            setup.Open(database);
            setup.AddLookupPath(libFolder);
        }
        const pid_t scanner = StartStoppedScan(database);
        ASSERT_GT(scanner, 0);
        if (end.signal) {
            kill(scanner, end.signal);
            kill(scanner, SIGCONT);
            int status = 0;
            waitpid(scanner, &status, 0);
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == end.signal);
        }
        EXPECT_LT(strativ::test::LibraryDbProbe(database).Count("logfiles"), 400);
        LogFileDBManager library;
        TFormLasBrowser& b = Open(library, database);
        b.ShowForPath(folder);
        b.PageControl->setCurrentWidget(b.TSLib);
        EXPECT_TRUE(b.LabelLibIncomplete->isVisible());
        EXPECT_EQ(b.LabelLibIncomplete->text(), "Библиотека неполна: сканирование каталогов не закончено.");
        EXPECT_EQ(b.LibScanner != nullptr, end.resumed);
        if (end.resumed) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return !b.LibScanner; }, 60000));
            EXPECT_FALSE(b.LabelLibIncomplete->isVisible());
            EXPECT_EQ(strativ::test::LibraryDbProbe(database).Count("logfiles"), 400);
        } else {
            kill(scanner, SIGKILL);
            waitpid(scanner, nullptr, 0);
        }
        browser.reset();
    }
}

namespace {

Strings ChildTexts(const QTreeWidgetItem* node)
{
    Strings texts;
    for (int i = 0; i < node->childCount(); ++i)
        texts.push_back(node->child(i)->text(0).toStdString());
    std::sort(texts.begin(), texts.end());
    return texts;
}

QTreeWidgetItem* Child(QTreeWidgetItem* node, const std::string& text)
{
    for (int i = 0; i < node->childCount(); ++i)
        if (node->child(i)->text(0).toStdString() == text)
            return node->child(i);
    return nullptr;
}

// The library page over three files (f1: A/1, f2: A/2, f3: B/1) and any more given.
class LibraryPageTest : public BrowserTest {
protected:
    TFormLasBrowser& OpenLibrary(const std::map<std::string, std::pair<std::string, std::string>>& more = {})
    {
        std::map<std::string, std::pair<std::string, std::string>> files = {
            {"f1", {"A", "1"}}, {"f2", {"A", "2"}}, {"f3", {"B", "1"}}};
        files.insert(more.begin(), more.end());
        for (const auto& [name, values] : files)
            strativ::test::WriteLas(lib + name + ".las", {{"FLD", values.first}, {"WELL", values.second}});
        TFormLasBrowser& b = Open();
        manager.AddLookupPath(lib);
        manager.RescanAllPaths();
        b.ShowForPath(folder);
        b.PageControl->setCurrentWidget(b.TSLib);
        return b;
    }
    QTreeWidgetItem* Root() { return browser->TreeViewLib->topLevelItem(0); }
    void Select(QTreeWidgetItem* node) { browser->TreeViewLib->setCurrentItem(node); }

    std::string lib = dir.path() + "/lib/";
};

} // namespace

TEST_F(LibraryPageTest, TreeGroupsFilesAndListsTheNodeFiles)
{
    TFormLasBrowser& b = OpenLibrary();
    ASSERT_NE(Root(), nullptr);
    EXPECT_EQ(Root()->text(0), "/");
    EXPECT_EQ(ChildTexts(Root()), (Strings{"A", "B"}));
    QTreeWidgetItem* a = Child(Root(), "A");
    a->setExpanded(true);
    EXPECT_EQ(ChildTexts(a), (Strings{"1", "2"}));
    Select(Child(a, "1"));
    EXPECT_EQ(RowCaptions(b.ListView), Strings{"f1.las"});
    EXPECT_EQ(b.ListView->topLevelItem(0)->text(1), "A");
    Select(Root());
    EXPECT_EQ(b.ListView->topLevelItemCount(), 0);

    // The selection survives a rebuild; the search narrows the first level.
    Select(Child(a, "2"));
    b.RefreshLibraryTree();
    ASSERT_NE(b.TreeViewLib->currentItem(), nullptr);
    EXPECT_EQ(b.TreeViewLib->currentItem()->text(0), "2");
    EXPECT_EQ(RowCaptions(b.ListView), Strings{"f2.las"});
    b.EditLibSearch->setText("B");
    EXPECT_EQ(ChildTexts(Root()), Strings{"B"});
    EXPECT_EQ(b.BuildSearchCondition(""), "fld LIKE '%%'  OR well LIKE '%%' ");

    // Another grouping: field, then date.
    b.EditLibSearch->clear();
    b.ComboLibGroupBy->setCurrentIndex(1);
    EXPECT_EQ(b.GroupByColumns, (Strings{"fld", "date"}));
    EXPECT_EQ(ChildTexts(Root()), (Strings{"A", "B"}));
}

TEST_F(LibraryPageTest, NewGroupTakesTheSelectedFiles)
{
    TFormLasBrowser& b = OpenLibrary();
    QTreeWidgetItem* a = Child(Root(), "A");
    Select(a);
    ASSERT_EQ(b.ListView->topLevelItemCount(), 2);
    runner.Clear();
    b.MMIAddFilesToGroupNew->trigger();  // nothing selected
    EXPECT_EQ(runner.Last().text, "Не выбраны файлы!");
    b.ListView->selectAll();
    runner.PushText("my group");
    b.MMIAddFilesToGroupNew->trigger();
    strativ::test::LibraryDbProbe probe(dir.path() + "/lib.db");
    EXPECT_EQ(probe.Rows("SELECT gr_name, file FROM groups ORDER BY file;"),
              (Strings{"mygroup|" + lib + "f1.las", "mygroup|" + lib + "f2.las"}));
    EXPECT_NE(b.findChild<QAction*>("MILibAddToGroupItem_0"), nullptr);
    b.UpdateLibraryMenus();  // as the popup does when it opens
    QAction* popupItem = b.findChild<QAction*>("PMFAddToGroupItem_0");
    ASSERT_NE(popupItem, nullptr);
    EXPECT_EQ(popupItem->text(), "mygroup");
    EXPECT_NE(b.findChild<QAction*>("MILibRemoveGroupItem_0"), nullptr);
    EXPECT_EQ(b.findChild<QAction*>("MILibRemovePathItem_0")->text().toStdString(), lib);

    // Grouped by groups, the group lists its files; removing it empties the level.
    b.ComboLibGroupBy->setCurrentIndex(3);
    EXPECT_EQ(ChildTexts(Root()), Strings{"mygroup"});
    Select(Child(Root(), "mygroup"));
    EXPECT_EQ(RowCaptions(b.ListView), (Strings{"f1.las", "f2.las"}));
    b.findChild<QAction*>("MILibRemoveGroupItem_0")->trigger();
    EXPECT_EQ(ChildTexts(Root()), Strings{});
    EXPECT_EQ(b.findChild<QAction*>("MILibRemoveGroupItem_0"), nullptr);
}

TEST_F(LibraryPageTest, ApostrophesInValuesStayInsideTheirLiterals)
{
    TFormLasBrowser& b = OpenLibrary({{"f4", {"O'Brien", "7"}}, {"f5", {"x' OR '1'='1", "8"}}});
    EXPECT_EQ(ChildTexts(Root()), (Strings{"A", "B", "O'Brien", "x' OR '1'='1"}));
    QTreeWidgetItem* brien = Child(Root(), "O'Brien");
    brien->setExpanded(true);
    EXPECT_EQ(ChildTexts(brien), Strings{"7"});
    Select(Child(brien, "7"));
    EXPECT_EQ(RowCaptions(b.ListView), Strings{"f4.las"});
    Select(Child(Root(), "x' OR '1'='1"));
    EXPECT_EQ(RowCaptions(b.ListView), Strings{"f5.las"});
    EXPECT_EQ(runner.Requests().size(), 0u);
}

TEST_F(LibraryPageTest, RescanFailureAndMissingFilesAreReported)
{
    TFormLasBrowser& b = OpenLibrary();
    runner.Push(platform::IDOK);
    b.MMILibRescan->trigger();
    EXPECT_EQ(runner.Last().text, "Сканирование каталогов закончено!\nПросканировано 3 файлов");
    strativ::test::LibraryDbProbe probe(dir.path() + "/lib.db");
    probe.Execute("CREATE TRIGGER refuse BEFORE INSERT ON logfiles BEGIN SELECT RAISE(ABORT, 'disk refused'); END;");
    b.MMILibRescan->trigger();
    EXPECT_EQ(runner.Last().title, "Библиотека");
    EXPECT_EQ(runner.Last().flags & platform::MB_ICONMASK, platform::MB_ICONERROR);
    EXPECT_TRUE(runner.Last().text.startsWith("Сканирование каталогов прервано из-за ошибки:\n"));
    EXPECT_TRUE(runner.Last().text.contains("disk refused"));
    EXPECT_TRUE(runner.Last().text.endsWith("\nПросканировано 0 файлов"));

    fs::remove(lib + "f3.las");
    runner.Clear();
    b.MMILibRemoveMissingFiles->trigger();
    EXPECT_EQ(runner.Last().text, "Удалено из базы 1 записей.");
    EXPECT_EQ(runner.Last().title, "Очистка базы");

    // A delete the database refuses is told as every failed query is, and nothing is removed.
    probe.Execute("CREATE TRIGGER kept BEFORE DELETE ON logfiles BEGIN SELECT RAISE(ABORT, 'disk refused'); END;");
    fs::remove(lib + "f2.las");
    b.MMILibRemoveMissingFiles->trigger();
    EXPECT_EQ(runner.Last().title, "Ошибка");
    EXPECT_EQ(runner.Last().text, "Ошибка при запросе к базе:\nSQLITE_CONSTRAINT[19]: disk refused\n"
                                  "Код ошибки - SQLITE_CONSTRAINT");
    EXPECT_EQ(probe.Count("logfiles"), 2);
}

// Adding a folder scans it alone; while another connection holds the write lock the add says who
// holds it, and a folder added twice is said to be listed and is rescanned.
TEST_F(LibraryPageTest, AddedFolderAloneIsScannedAndALockOrASecondAddIsTold)
{
    TFormLasBrowser& b = OpenLibrary();
    strativ::test::LibraryDbProbe probe(dir.path() + "/lib.db");
    const std::string other = dir.path() + "/other";
    strativ::test::WriteLas(other + "/g1.las", {{"FLD", "C"}, {"WELL", "9"}});
    strativ::test::WriteLas(lib + "f1.las", {{"FLD", "Z"}, {"WELL", "1"}});  // not rescanned below
    const QString addTwice = QString::fromStdString("Каталог уже есть в библиотеке:\n" + other) +
                             "\nОн просканирован заново.\nПросканировано 1 файлов";
    const struct {
        bool locked;
        const char* fld;
        QString message;
        Strings rows;
    } adds[] = {
        {true, "C", QStringLiteral("держит блокировку записи в ней"), {"A", "A", "B"}},
        {false, "C", QString(), {"A", "A", "B", "C"}},
        {false, "D", addTwice, {"A", "A", "B", "D"}},
    };
    for (const auto& add : adds) {
        SCOPED_TRACE(add.fld);
        strativ::test::WriteLas(other + "/g1.las", {{"FLD", add.fld}, {"WELL", "9"}});
        if (add.locked)
            probe.Execute("BEGIN IMMEDIATE; INSERT INTO selections VALUES('held', 1);");
        runner.Clear();
        runner.PushFiles({QString::fromStdString(other)});
        b.MMILibSelectAndAddPath->trigger();
        if (add.locked) {
            probe.Execute("ROLLBACK;");
            EXPECT_EQ(runner.Last().title, "Библиотека");
            EXPECT_TRUE(runner.Last().text.contains(add.message)) << runner.Last().text.toStdString();
            EXPECT_TRUE(runner.Last().text.contains(QStringLiteral("занята: процесс %1").arg(getpid())))
                << runner.Last().text.toStdString();
        } else if (add.message.isEmpty()) {
            EXPECT_EQ(runner.Requests().size(), 1u);  // the folder's choice alone
        } else {
            EXPECT_EQ(runner.Last().text, add.message);
        }
        EXPECT_EQ(probe.Rows("SELECT fld FROM logfiles ORDER BY file;"), add.rows);
    }
    EXPECT_EQ(ChildTexts(Root()), (Strings{"A", "B", "D"}));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// "Отмена" in the progress stops a rescan between files; it then reports no end.
TEST_F(LibraryPageTest, CancelledRescanStopsEarlyAndReportsNoEnd)
{
    TFormLasBrowser& b = OpenLibrary();
    strativ::test::MakeLibrary(lib + "many", 30, 100);
    ScriptedProgress cancelling(1);
    runner.Clear();
    b.MMILibRescan->trigger();
    EXPECT_EQ(cancelling.ended, 1);
    EXPECT_EQ(runner.Requests().size(), 0u);
    EXPECT_LT(strativ::test::LibraryDbProbe(dir.path() + "/lib.db").Count("logfiles"), 3003);
}

TEST(SQLiteEditor, OpensAFileAndKeepsItsFolders)
{
    strativ::test::TempDir dir;
    RecordingDialogRunner runner;
    TFormSQLiteEditor editor;
    const std::string file = dir.file("new.db");
    runner.PushFiles({QString::fromStdString(file)});
    editor.Button1->click();
    EXPECT_EQ(editor.LabelDB->text().toStdString(), file);
    EXPECT_EQ(editor.ListBoxPaths->count(), 0);
    EXPECT_EQ(editor.ListBoxFields->count(), 0);
    EXPECT_EQ(strativ::test::LibraryDbProbe(file).Count("sqlite_master WHERE type='table'"), 5);

    runner.PushFiles({QString::fromStdString(dir.path())});
    editor.ButtonAddPath->click();
    runner.PushFiles({QString::fromStdString(dir.path())});
    editor.ButtonAddPath->click();
    EXPECT_EQ(runner.Last().text.toStdString(), "Каталог уже есть в библиотеке:\n" + dir.path());
    EXPECT_EQ(editor.ListBoxPaths->count(), 1);

    runner.Clear();
    editor.ButtonRescan->click();
    EXPECT_EQ(runner.Last().text, "Сканирование закончено!");
    editor.ListBoxPaths->setCurrentRow(0);
    editor.ButtonDelPath->click();
    EXPECT_EQ(editor.ListBoxPaths->count(), 0);

    // A file that is no database: the reason is shown and nothing of the old file stays.
    strativ::test::WriteFileBytes(dir.file("foreign.db"), std::string(4096, 'x'));
    runner.PushFiles({QString::fromStdString(dir.file("foreign.db"))});
    editor.Button1->click();
    EXPECT_EQ(runner.Last().title, "Ошибка");
    EXPECT_TRUE(runner.Last().text.contains("file is not a database"));
    EXPECT_TRUE(runner.Last().text.contains("Файл не является базой данных SQLite; файл не изменён"));
    EXPECT_EQ(strativ::test::ReadFileBytes(dir.file("foreign.db")), std::string(4096, 'x'));
    EXPECT_TRUE(editor.LabelDB->text().isEmpty());

    // Another program's database is refused untouched; an empty file becomes a library.
    const std::string other = dir.file("other.db");
    strativ::test::LibraryDbProbe(other).Execute("CREATE TABLE wells(name TEXT); INSERT INTO wells VALUES('7');");
    const std::string otherBytes = strativ::test::ReadFileBytes(other);
    runner.PushFiles({QString::fromStdString(other)});
    editor.Button1->click();
    EXPECT_EQ(runner.Last().title, "Ошибка");
    EXPECT_EQ(runner.Last().text.toStdString(), "Ошибка при инициализации базы:\n" + other +
                                                    "\nВ файле другая база данных, без таблиц библиотеки; "
                                                    "файл не изменён");
    EXPECT_EQ(strativ::test::ReadFileBytes(other), otherBytes);
    EXPECT_TRUE(editor.LabelDB->text().isEmpty());
    strativ::test::WriteFileBytes(dir.file("empty.db"), "");
    runner.PushFiles({QString::fromStdString(dir.file("empty.db"))});
    editor.Button1->click();
    EXPECT_EQ(strativ::test::LibraryDbProbe(dir.file("empty.db")).Count("sqlite_master WHERE type='table'"), 5);
}

// Another program's database, chosen as the library or in the SQLite editor, is refused before
// anything is written to it; a rescan or a folder added then says that no library is open.
TEST_F(BrowserTest, ForeignDatabaseIsRefusedUntouched)
{
    const std::string db = dir.path() + "/lib.db";
    const QString refusal = QString::fromStdString("Ошибка при инициализации базы:\n" + db +
                                                   "\nВ файле другая база данных, без таблиц библиотеки; "
                                                   "файл не изменён");
    const QString notOpen = QStringLiteral("База данных библиотеки не открыта; сканирование не выполнено");
    const char* const schemas[] = {
        "CREATE TABLE groups(id INTEGER PRIMARY KEY, title TEXT); INSERT INTO groups(title) VALUES('g');",
        "CREATE TABLE groups(gr_name TEXT, file TEXT); INSERT INTO groups VALUES('g', '/a.las');",
        "PRAGMA journal_mode=WAL; CREATE TABLE groups(gr_name TEXT, file TEXT);",
    };
    for (const char* schema : schemas) {
        SCOPED_TRACE(schema);
        fs::remove(db);
        strativ::test::LibraryDbProbe(db).Execute(schema);
        const std::string bytes = ReadFileBytes(db);
        const auto expectUntouched = [&] {
            EXPECT_EQ(ReadFileBytes(db), bytes);
            EXPECT_FALSE(fs::exists(db + "-wal"));
            EXPECT_FALSE(fs::exists(db + "-shm"));
        };
        runner.Clear();
        TFormLasBrowser& b = Open();
        EXPECT_EQ(runner.Last().text, refusal);
        for (QAction* scan : {b.MMILibRescan, b.MMILibAddFolder, b.MMILibSelectAndAddPath}) {
            runner.Clear();
            scan->trigger();
            EXPECT_EQ(runner.Last().text, notOpen) << scan->text().toStdString();
        }
        browser.reset();
        expectUntouched();

        TFormSQLiteEditor editor;
        runner.PushFiles({QString::fromStdString(db)});
        editor.Button1->click();
        EXPECT_EQ(runner.Last().text, refusal);
        editor.ButtonRescan->click();
        EXPECT_EQ(runner.Last().text, notOpen);
        expectUntouched();
    }
}

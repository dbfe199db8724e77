// Dialog services: the Qt runner's message boxes driven by real keys and clicks, its file dialog's
// Russian sizes and dates, and the recording runner that tests of every window rely on.
#include "platform/DialogRunner.h"
#include "platform/ErrorReport.h"
#include "platform/FileNames.h"
#include "platform/NumberText.h"
#include "platform/RecordingDialogRunner.h"
#include "tests/common/TestPaths.h"

#include <QApplication>
#include <QDateTime>
#include <QDialog>
#include <QHeaderView>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <stdexcept>

namespace {

// Acts on the modal window once it is up (the Qt runner blocks in exec until then).
void WhenModal(std::function<void(QWidget*)> action)
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, [poll, action] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            poll->stop();
            poll->deleteLater();
            action(modal);
        }
    });
    poll->start(10);
}

void PressButton(QWidget* box, const QString& caption)
{
    for (QPushButton* button : box->findChildren<QPushButton*>()) {
        if (button->text() == caption) {
            button->click();
            return;
        }
    }
    ADD_FAILURE() << "no button " << caption.toStdString();
}

struct ButtonCase {
    int flags;
    const char* button;  // null: Esc
    int expected;
};

TEST(QtDialogRunner, MessageBoxButtonSetsReturnWindowsCodesAndEscMeansCancelOrNo)
{
    const ButtonCase cases[] = {
        {platform::MB_OK, "OK", platform::IDOK},
        {platform::MB_OK, nullptr, platform::IDOK},
        {platform::MB_OKCANCEL | platform::MB_ICONQUESTION, "OK", platform::IDOK},
        {platform::MB_OKCANCEL | platform::MB_ICONQUESTION, "Отмена", platform::IDCANCEL},
        {platform::MB_OKCANCEL, nullptr, platform::IDCANCEL},
        {platform::MB_YESNOCANCEL | platform::MB_ICONQUESTION, "Да", platform::IDYES},
        {platform::MB_YESNOCANCEL, "Нет", platform::IDNO},
        {platform::MB_YESNOCANCEL, nullptr, platform::IDCANCEL},
        {platform::MB_YESNO | platform::MB_ICONQUESTION, "Да", platform::IDYES},
        {platform::MB_YESNO, "Нет", platform::IDNO},
        {platform::MB_YESNO, nullptr, platform::IDNO},
    };
    for (const ButtonCase& c : cases) {
        QString title;
        WhenModal([&](QWidget* box) {
            title = box->windowTitle();
            if (c.button)
                PressButton(box, QString::fromUtf8(c.button));
            else
                QTest::keyClick(box, Qt::Key_Escape);
        });
        EXPECT_EQ(platform::MessageBox(nullptr, "Текст", "Ошибка", c.flags), c.expected)
            << "flags " << c.flags << " button " << (c.button ? c.button : "Esc");
        EXPECT_EQ(title, "Ошибка");
    }
}

TEST(QtDialogRunner, InputBoxGivesTheDefaultBackOnCancel)
{
    WhenModal([](QWidget* dialog) {
        dialog->findChild<QLineEdit*>()->setText("новое");
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(platform::InputBox("Добавление кривой", "Введите имя", "старое"), "старое");

    WhenModal([](QWidget* dialog) {
        dialog->findChild<QLineEdit*>()->setText("новое");
        QTest::keyClick(dialog->findChild<QLineEdit*>(), Qt::Key_Return);
    });
    QString value = "старое";
    EXPECT_TRUE(platform::InputQuery("Добавление кривой", "Введите имя", value));
    EXPECT_EQ(value, "новое");
}

TEST(QtDialogRunner, FileDialogShowsSizesAndDatesInRussianWithTheLocaleSeparator)
{
    strativ::test::TempDir dir;
    const QString path = QString::fromStdString(dir.file("a.las"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(2048, 'x'));
    file.flush();
    ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2026, 12, 7), QTime(15, 4)), QFileDevice::FileModificationTime));
    file.close();

    platform::SetDecimalSeparator(QChar(','));
    QStringList details;
    WhenModal([&](QWidget* dialog) {
        QTreeView* view = dialog->findChild<QTreeView*>("treeView");
        const auto row = [&] {
            const QModelIndex root = view->rootIndex();
            for (int r = 0; r < view->model()->rowCount(root); ++r)
                if (view->model()->index(r, 0, root).data().toString() == "a.las")
                    return r;
            return -1;
        };
        EXPECT_TRUE(QTest::qWaitFor([&] { return row() >= 0; }, 5000));
        for (int column : {1, 3})
            details << view->model()->index(row(), column, view->rootIndex()).data().toString();
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    platform::FileDialogOptions options;
    options.directory = QString::fromStdString(dir.path());
    EXPECT_TRUE(platform::GetOpenFileName(nullptr, options).isEmpty());
    platform::SetDecimalSeparator(QChar());
    EXPECT_EQ(details, (QStringList{"2,00 КБ", "07.12.2026 15:04"}));
}

TEST(QtDialogRunner, FileDialogStartsWithWholeNamesSizesAndDates)
{
    strativ::test::TempDir dir;
    for (const char* name : {"Фамилия_скважины_Северная_2024_обработка.LAS", "a.las"}) {
        QFile file(QString::fromStdString(dir.file(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(599318));  // 585,27 КБ
        ASSERT_TRUE(file.setFileTime(QDateTime(QDate(2026, 12, 8), QTime(9, 45)), QFileDevice::FileModificationTime));
    }
    platform::SetDecimalSeparator(QChar(','));
    QStringList cut;
    WhenModal([&](QWidget* dialog) {
        const QAbstractItemView* view = dialog->findChild<QTreeView*>("treeView");
        const QHeaderView& header = *static_cast<const QTreeView*>(view)->header();
        const auto whole = [&](int column) {
            return header.sectionSize(column) >= view->sizeHintForColumn(column) &&
                   header.sectionViewportPosition(column) + header.sectionSize(column) <= view->viewport()->width();
        };
        const auto listed = [&] { return view->model()->rowCount(view->rootIndex()) == 2; };
        const auto allWhole = [&] { return whole(0) && whole(1) && whole(2) && whole(3); };
        EXPECT_TRUE(QTest::qWaitFor(listed, 5000));
        if (!QTest::qWaitFor(allWhole, 1000))
            for (int column = 0; column < 4; ++column)
                if (!whole(column))
                    cut << header.model()->headerData(column, Qt::Horizontal).toString();
        dialog->grab().save("/tmp/units-dialog.png");
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    platform::FileDialogOptions options;
    options.directory = QString::fromStdString(dir.path());
    EXPECT_TRUE(platform::GetOpenFileName(nullptr, options).isEmpty());
    platform::SetDecimalSeparator(QChar());
    EXPECT_EQ(cut, QStringList());
}

TEST(QtDialogRunner, SmallDialogsAreWideEnoughForTheirWholeTitle)
{
    // A title bar shows the title in a bold face beside the window icon and at least two buttons.
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const QString titles[] = {"Сохранить сессию", "Переименование всех кривых документа"};
    for (const QString& title : titles) {
        const int needed = QFontMetrics(font).horizontalAdvance(title) + 100;
        int width = 0;
        WhenModal([&](QWidget* dialog) {
            width = dialog->width();
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        QString value;
        platform::InputQuery(title, "Имя сессии:", value);
        EXPECT_GE(width, needed) << title.toStdString();
        WhenModal([&](QWidget* dialog) {
            width = dialog->width();
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        platform::MessageBox(nullptr, "Да", title, platform::MB_OK);
        EXPECT_GE(width, needed) << title.toStdString();
    }
}

TEST(RecordingDialogRunner, RecordsRequestsAndAnswersFromTheScriptThenAsEsc)
{
    platform::RecordingDialogRunner runner;
    runner.Push(platform::IDYES);
    runner.PushText("12,5");
    runner.PushCancel();
    runner.PushColor(0x00FF00);
    runner.PushFiles({"/tmp/a.las"});
    runner.PushDialog([](QDialog& dialog) {
        dialog.setWindowTitle("изменено");
        return QDialog::Accepted;
    });

    EXPECT_EQ(platform::MessageBox(nullptr, "Сохранить?", "Strativ", 0x23), platform::IDYES);
    EXPECT_EQ(platform::InputBox("Сдвиг", "Введите значение в метрах", ""), "12,5");
    QString kept = "было";
    EXPECT_FALSE(platform::InputQuery("Имя", "Новое имя", kept));
    EXPECT_EQ(kept, "было");
    std::uint32_t color = 0;
    EXPECT_TRUE(platform::ChooseColor(nullptr, color));
    EXPECT_EQ(color, 0x00FF00u);
    platform::FileDialogOptions options;
    options.title = "Открыть";
    EXPECT_EQ(platform::GetOpenFileName(nullptr, options), "/tmp/a.las");
    QDialog dialog;
    EXPECT_EQ(platform::ExecDialog(dialog), QDialog::Accepted);
    EXPECT_EQ(dialog.windowTitle(), "изменено");
    EXPECT_EQ(runner.PendingAnswers(), 0);

    // Unscripted: Esc behaviour.
    EXPECT_EQ(platform::MessageBox(nullptr, "?", "t", platform::MB_YESNO), platform::IDNO);
    EXPECT_EQ(platform::MessageBox(nullptr, "?", "t", platform::MB_YESNOCANCEL), platform::IDCANCEL);
    platform::ShowMessage("Готово");
    EXPECT_EQ(platform::GetSaveFileName(nullptr, options), "");
    EXPECT_EQ(platform::ExecDialog(dialog), QDialog::Rejected);

    ASSERT_EQ(runner.Requests().size(), 11u);
    const platform::DialogRequest& first = runner.Requests()[0];
    EXPECT_EQ(first.text, "Сохранить?");
    EXPECT_EQ(first.title, "Strativ");
    EXPECT_EQ(first.flags, 0x23);
    EXPECT_EQ(runner.Requests()[1].text, "Введите значение в метрах");
    EXPECT_EQ(runner.Requests()[4].file.title, "Открыть");
    EXPECT_EQ(runner.Requests()[5].dialogClass, "QDialog");
    EXPECT_EQ(runner.Requests()[8].title, platform::ApplicationTitle());
    EXPECT_EQ(runner.Last().kind, platform::DialogKind::Modal);
}

// A save of one kind over a file of another is named by what that file holds (a LAS file after its
// comment and blank lines, in UTF-16 too); a file of its own kind, an unknown one, an empty one or
// a save that checks nothing asks nothing more.
TEST(FileKinds, TheFileUnderASaveIsNamedByItsContent)
{
    using platform::FileKind;
    strativ::test::TempDir dir;
    QByteArray emf(44, '\0');
    emf[0] = 1;
    emf.replace(40, 4, " EMF");
    const struct {
        QByteArray bytes;
        FileKind saved;
        QString named;
    } cases[] = {
        {"%PDF-1.4\n", FileKind::Text, "PDF файл"},
        {emf, FileKind::Pdf, "рисунок EMF"},
        {"\x89PNG\r\n\x1A\n", FileKind::Emf, "рисунок"},
        {QByteArray("Q7GRIDV01\0", 10), FileKind::CurveTemplate, "шаблон заголовка"},
        {"\xEF\xBB\xBF  ~Version\r\n", FileKind::CurveTemplate, "LAS файл"},
        {"# made by hand\r\n\r\n  #--\n~Well\n", FileKind::Pdf, "LAS файл"},
        {QByteArray("~\0V\0\r\0\n\0", 8), FileKind::Pdf, "LAS файл"},
        {QByteArray("\xFE\xFF\0#\0\n\0~\0V", 10), FileKind::Pdf, "LAS файл"},
        {"# notes\r\nA ~ in the text\r\n", FileKind::Pdf, ""},
        {"[TemlateInfo]\r\nVersion=1\r\n", FileKind::MacroFile, "шаблон вывода кривых"},
        {"[Settings]\r\nVersion=Q7MacroFile_V_1\r\n", FileKind::Text, "файл макроподстановок"},
        {"[TemlateInfo]\r\nVersion=1\r\n", FileKind::CurveTemplate, ""},
        {"%PDF-1.4\n", FileKind::Pdf, ""},
        {"notes\r\n", FileKind::Emf, ""},
        {"", FileKind::Text, ""},
        {"~Version\r\n", FileKind::Unchecked, ""},
    };
    for (const auto& c : cases) {
        const QString path = QString::fromStdString(dir.file("target"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.bytes);
        file.close();
        EXPECT_EQ(platform::OtherKindAt(path, c.saved), c.named) << c.bytes.toStdString();
    }
    // The open document is named as such, whatever it holds; a name that is not UTF-8 is known
    // by its bytes.
    const std::string documentBytes = dir.file("doc\xC0.txt");
    std::ofstream(documentBytes, std::ios::binary) << "%PDF-1.4\n";
    const QString document = platform::FileNameFromBytes(documentBytes);
    platform::SetOpenDocumentSource([&] { return document; });
    EXPECT_EQ(platform::OtherKindAt(document, FileKind::Text), "открытый документ");
    platform::SetOpenDocumentSource({});
    EXPECT_EQ(platform::OtherKindAt(document, FileKind::Text), "PDF файл");
}

// Every real LAS file is known as one, whatever its encoding or the comments it begins with.
TEST(FileKinds, EveryCorpusLasFileIsALasFile)
{
    STRATIV_REQUIRE_CORPUS();
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(strativ::test::CorpusDir())) {
        const std::filesystem::path& path = entry.path();
        if (path.extension() != ".las" || path.filename() == "not_a_las_file.las")
            continue;
        ++files;
        EXPECT_EQ(platform::OtherKindAt(QString::fromStdString(path.string()), platform::FileKind::Pdf), "LAS файл")
            << path;
    }
    EXPECT_GT(files, 0);
}

TEST(RecordingDialogRunner, RestoresThePreviousRunnerWhenDestroyed)
{
    platform::DialogRunner* before = &platform::Runner();
    {
        platform::RecordingDialogRunner outer;
        {
            platform::RecordingDialogRunner inner;
            EXPECT_EQ(&platform::Runner(), &inner);
        }
        EXPECT_EQ(&platform::Runner(), &outer);
    }
    EXPECT_EQ(&platform::Runner(), before);
}

TEST(ErrorReport, ExceptionsStopAtTheHandlerAndAreShownAsErrors)
{
    platform::RecordingDialogRunner runner;
    EXPECT_FALSE(platform::Guarded(nullptr, [] { throw std::runtime_error("Файл поврежден"); }));
    EXPECT_FALSE(platform::Guarded(nullptr, [] { throw 42; }));
    EXPECT_TRUE(platform::Guarded(nullptr, [] {}));
    ASSERT_EQ(runner.Requests().size(), 2u);
    EXPECT_EQ(runner.Requests()[0].text, "Файл поврежден");
    EXPECT_EQ(runner.Requests()[0].title, "Ошибка");
    EXPECT_EQ(runner.Requests()[0].flags, platform::MB_ICONERROR);
    EXPECT_EQ(runner.Requests()[1].text, "Неопознанная ошибка");
}

}  // namespace

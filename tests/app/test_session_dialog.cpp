// The sessions dialog over a folder of session files.
#include "app/DlgSessions.h"
#include "app/StrativSession.h"
#include "platform/RecordingDialogRunner.h"
#include "tests/common/FileBytes.h"
#include "tests/common/TestPaths.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

void WriteSession(const QString& path)
{
    const QFileInfo file(path);
    StrativSession session;
    session.LasCopyName = file.completeBaseName().toStdString() + ".las";
    std::string error;
    ASSERT_TRUE(session.Save(path.toStdString(), IntervalManager(), error)) << error;
    strativ::test::WriteFileBytes(file.dir().filePath(file.completeBaseName() + ".las").toStdString(), "");
}

TEST(SessionsDialog, SavesUnderACheckedNameDeletesWithTheLasCopyAndLoads)
{
    strativ::test::TempDir dir;
    const QString folder = QString::fromStdString(dir.path());
    WriteSession(folder + "/first.vxs");
    WriteSession(folder + "/old.vxs");
    QFile old(folder + "/old.vxs");
    ASSERT_TRUE(old.open(QIODevice::ReadWrite));
    ASSERT_TRUE(old.setFileTime(QDateTime(QDate(2026, 12, 7), QTime(15, 4)), QFileDevice::FileModificationTime));
    old.close();

    QStringList saved, loaded;
    TDlgSessions::Actions actions;
    actions.save = [&](const QString& path) {
        saved << path;
        WriteSession(path);
        return true;
    };
    actions.load = [&](const QString& path) {
        loaded << path;
        return true;
    };
    const auto click = [](QDialog& dialog, const char* name) {
        QTest::mouseClick(dialog.findChild<QPushButton*>(name), Qt::LeftButton);
    };

    platform::RecordingDialogRunner runner;
    runner.PushDialog([&](QDialog& dialog) {
        auto* list = dialog.findChild<QTreeWidget*>("ListSessions");
        EXPECT_EQ(list->topLevelItemCount(), 2);
        EXPECT_EQ(list->findItems("old", Qt::MatchExactly).value(0)->text(1), "07.12.2026 15:04");
        for (int i = 0; i < 5; ++i)
            click(dialog, "BtnSave");
        EXPECT_EQ(list->topLevelItemCount(), 3);
        list->setCurrentItem(list->findItems("first", Qt::MatchExactly).value(0));
        click(dialog, "BtnDelete");
        EXPECT_EQ(list->topLevelItemCount(), 2);
        list->setCurrentItem(list->findItems("new", Qt::MatchExactly).value(0));
        click(dialog, "BtnLoad");
        return dialog.result();
    });
    runner.PushText("../escape");  // refused
    runner.Push(platform::IDOK);
    runner.PushText(".x");  // never listed: refused
    runner.Push(platform::IDOK);
    runner.PushText("Last");  // rewritten at every close: refused
    runner.Push(platform::IDOK);
    runner.PushText("old");  // exists: replacing is declined
    runner.Push(platform::IDNO);
    runner.PushText(" new ");
    runner.Push(platform::IDYES);  // "Удалить сессию 'first'?"

    TDlgSessions dialog;
    EXPECT_TRUE(dialog.Execute(folder, actions));
    EXPECT_EQ(runner.PendingAnswers(), 0);
    EXPECT_EQ(saved, QStringList{folder + "/new.vxs"});
    QStringList refusals;
    for (const auto& request : runner.Requests())
        if (request.kind == platform::DialogKind::Message && request.title == "Ошибка")
            refusals << request.text;
    EXPECT_EQ(refusals, (QStringList{"Недопустимое имя сессии: '../escape'",
                                     "Имя сессии не может начинаться с точки: '.x'",
                                     "Имя 'Last' зарезервировано для сессии, сохраняемой при выходе из программы. "
                                     "Выберите другое имя."}));
    EXPECT_FALSE(QFile::exists(folder + "/first.vxs"));
    EXPECT_FALSE(QFile::exists(folder + "/first.las"));
    EXPECT_EQ(loaded, QStringList{folder + "/new.vxs"});

    // Without a document there is nothing to save.
    actions.canSave = [] { return false; };
    runner.PushDialog([](QDialog& dialog) {
        EXPECT_FALSE(dialog.findChild<QPushButton*>("BtnSave")->isEnabled());
        return int(QDialog::Rejected);
    });
    EXPECT_FALSE(dialog.Execute(folder, actions));
}

}  // namespace

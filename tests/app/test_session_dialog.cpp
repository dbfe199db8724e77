#include "app/DlgSessions.h"
#include "app/StrativSession.h"
#include "platform/RecordingDialogRunner.h"
#include "tests/common/TestPaths.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

using platform::RecordingDialogRunner;

namespace {

void WriteSession(const std::string& folder, const std::string& name)
{
    StrativSession session;
    session.LasCopyName = name + ".las";
    std::string error;
    ASSERT_TRUE(session.Save(folder + "/" + name + ".vxs", IntervalManager(), error)) << error;
    QFile las(QString::fromStdString(folder + "/" + name + ".las"));
    ASSERT_TRUE(las.open(QIODevice::WriteOnly));
}

QPushButton* Button(QDialog& dialog, const char* name)
{
    return dialog.findChild<QPushButton*>(name);
}

} // namespace

TEST(SessionsDialog, ListsLoadsAndDeletesSessions)
{
    strativ::test::TempDir dir;
    WriteSession(dir.path(), "first");
    WriteSession(dir.path(), "second");
    const QString folder = QString::fromStdString(dir.path());

    QStringList loaded;
    TDlgSessions::Actions actions;
    actions.load = [&](const QString& path) { loaded << path; return true; };
    actions.canSave = [] { return false; };

    RecordingDialogRunner runner;
    runner.PushDialog([&](QDialog& dialog) {
        auto* list = dialog.findChild<QTreeWidget*>("ListSessions");
        EXPECT_EQ(list->topLevelItemCount(), 2);
        EXPECT_FALSE(Button(dialog, "BtnSave")->isEnabled()); // no document to save
        list->setCurrentItem(list->findItems("first", Qt::MatchExactly).value(0));
        QTest::mouseClick(Button(dialog, "BtnDelete"), Qt::LeftButton);
        EXPECT_EQ(list->topLevelItemCount(), 1);
        QTest::mouseClick(Button(dialog, "BtnLoad"), Qt::LeftButton);
        return dialog.result();
    });
    runner.Push(platform::IDYES); // "Удалить сессию 'first'?"

    TDlgSessions dialog;
    EXPECT_TRUE(dialog.Execute(folder, actions));
    EXPECT_EQ(runner.Requests()[1].text, QStringLiteral("Удалить сессию 'first'?"));
    EXPECT_FALSE(QFile::exists(folder + "/first.vxs"));
    EXPECT_FALSE(QFile::exists(folder + "/first.las")); // the LAS copy goes with it
    EXPECT_EQ(loaded, QStringList{folder + "/second.vxs"});
}

TEST(SessionsDialog, SaveAsksANameAndRefusesFolders)
{
    strativ::test::TempDir dir;
    WriteSession(dir.path(), "old");
    const QString folder = QString::fromStdString(dir.path());

    QStringList saved;
    TDlgSessions::Actions actions;
    actions.save = [&](const QString& path) {
        saved << path;
        WriteSession(folder.toStdString(), QFileInfo(path).completeBaseName().toStdString());
        return true;
    };

    RecordingDialogRunner runner;
    runner.PushDialog([&](QDialog& dialog) {
        for (int i = 0; i < 3; ++i)
            QTest::mouseClick(Button(dialog, "BtnSave"), Qt::LeftButton);
        EXPECT_EQ(dialog.findChild<QTreeWidget*>("ListSessions")->topLevelItemCount(), 2);
        return int(QDialog::Rejected);
    });
    runner.PushText("../escape");  // refused with an error
    runner.Push(platform::IDOK);
    runner.PushText("old");        // exists: replacing is declined
    runner.Push(platform::IDNO);
    runner.PushText(" new ");

    TDlgSessions dialog;
    EXPECT_FALSE(dialog.Execute(folder, actions));
    EXPECT_EQ(saved, QStringList{folder + "/new.vxs"});
    EXPECT_EQ(runner.PendingAnswers(), 0);
}

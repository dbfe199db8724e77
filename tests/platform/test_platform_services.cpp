// Folders, colour values, help pages, tool pictures, the single-instance hand-over and the
// progress of long work.
#include "platform/EndRequests.h"
#include "platform/Folders.h"
#include "platform/Help.h"
#include "platform/RecordingDialogRunner.h"
#include "platform/SingleInstance.h"
#include "platform/ToolIcons.h"
#include "platform/WorkProgress.h"
#include "tests/common/TestPaths.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <optional>
#include <string>
#include <cstring>
#include <chrono>
#include <thread>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// Sets an environment variable for the scope of a test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnv() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

// Short work shows the busy cursor alone; work past half a second also the window, whose
// "Отмена" stops it.
TEST(WorkProgress, BusyCursorAtOnceThenAWindowThatCancels)
{
    platform::WorkProgress& progress = platform::CurrentWorkProgress();
    progress.Begin("Работа");
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    EXPECT_TRUE(progress.Step(0.1));
    EXPECT_TRUE(QApplication::activeModalWidget() == nullptr);
    QTest::qWait(600);
    EXPECT_TRUE(progress.Step(0.5));
    auto* window = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->value(), window->maximum() / 2);
    window->findChild<QPushButton*>()->click();
    EXPECT_FALSE(progress.Step(0.6));
    progress.End();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// While long work runs on the window thread, a step lets the windows handle their events once
// 10 ms have passed since they last did.
TEST(WorkProgress, StepsHandleEventsWithinTenMilliseconds)
{
    platform::WorkProgressScope progress(QStringLiteral("Работа"));
    int handled = 0;
    for (int round = 1; round <= 3; ++round) {
        QTimer::singleShot(0, [&handled] { ++handled; });
        std::this_thread::sleep_for(std::chrono::milliseconds(11));
        EXPECT_TRUE(progress.Step(0.1));
        EXPECT_EQ(handled, round);
    }
    QCoreApplication::processEvents();
}

// SIGTERM reaches the window thread as a request to end; a SIGHUP ignored at start (nohup) stays
// ignored; the handlers found are given back.
TEST(EndRequests, TerminationArrivesAsARequestAndAnIgnoredHangupStaysIgnored)
{
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    struct sigaction hangup = {};
    struct sigaction termination = {};
    ASSERT_EQ(::sigaction(SIGHUP, &ignore, &hangup), 0);
    ASSERT_EQ(::sigaction(SIGTERM, nullptr, &termination), 0);
    {
        platform::EndRequests ends;
        int requests = 0;
        QObject::connect(&ends, &platform::EndRequests::EndRequested, [&] { ++requests; });
        std::raise(SIGHUP);
        QTest::qWait(50);
        EXPECT_EQ(requests, 0);
        std::raise(SIGTERM);
        QTest::qWait(50);
        EXPECT_EQ(requests, 1);
    }
    struct sigaction now = {};
    ASSERT_EQ(::sigaction(SIGTERM, nullptr, &now), 0);
    EXPECT_EQ(now.sa_handler, termination.sa_handler);
    ::sigaction(SIGHUP, &hangup, nullptr);
}

TEST(Folders, ProgramDirIsTheExecutablesFolderUnlessStrativHomeIsSet)
{
    {
        ScopedEnv home("STRATIV_HOME", nullptr);
        std::string expected = QCoreApplication::applicationDirPath().toStdString() + "/";
        EXPECT_EQ(platform::ProgramDir(), expected);
    }
    ScopedEnv home("STRATIV_HOME", "/opt/strativ");
    EXPECT_EQ(platform::ProgramDir(), "/opt/strativ/");
}

TEST(Folders, AppDataDirFollowsXdgDataHomeAndIgnoresARelativeOne)
{
    ScopedEnv user("HOME", "/home/geo");
    {
        ScopedEnv xdg("XDG_DATA_HOME", "/data/xdg/");
        EXPECT_EQ(platform::AppDataDir(), "/data/xdg/");
    }
    {
        ScopedEnv xdg("XDG_DATA_HOME", "relative");
        EXPECT_EQ(platform::AppDataDir(), "/home/geo/.local/share/");
    }
    ScopedEnv xdg("XDG_DATA_HOME", nullptr);
    EXPECT_EQ(platform::AppDataDir(), "/home/geo/.local/share/");
}

TEST(Help, TopicsGoToTheRegisteredWindowOrAreReportedMissing)
{
    platform::RecordingDialogRunner runner;
    platform::SetHelpHandler(nullptr);
    platform::ShowHelpTopic(20);
    ASSERT_EQ(runner.Requests().size(), 1u);
    EXPECT_EQ(runner.Last().text, "Справка недоступна");

    int shown = -1;
    platform::SetHelpHandler([&](int topic) { shown = topic; });
    platform::ShowHelpTopic(7);
    platform::SetHelpHandler(nullptr);
    EXPECT_EQ(shown, 7);
    EXPECT_EQ(runner.Requests().size(), 1u);
}

QString UniqueName(const char* tag)
{
    return QStringLiteral("strativ-test-%1-%2").arg(tag).arg(getpid());
}

// Common commands take the icon theme's pictures, curve tools the program's own; where the theme
// is missing the button shows its text.
TEST(ToolIcons, ButtonsShowThemeOrOwnPicturesAndTheirTextWithoutATheme)
{
    const auto add = [](QToolBar& bar, const char* name, const char* text) {
        auto* action = new QAction(QString::fromUtf8(text), &bar);
        action->setObjectName(name);
        bar.addAction(action);
        return static_cast<QToolButton*>(bar.widgetForAction(action));
    };
    QToolBar themed;
    platform::ShowToolIcons(themed);
    EXPECT_FALSE(add(themed, "TBOpen", "Открыть")->icon().isNull());
    EXPECT_FALSE(add(themed, "TBPencil", "Карандаш")->icon().isNull());

    const QStringList paths = QIcon::themeSearchPaths();
    QIcon::setThemeSearchPaths({});
    QToolBar bare;
    platform::ShowToolIcons(bare);
    const QToolButton* open = add(bare, "TBOpen", "Открыть");
    EXPECT_TRUE(open->icon().isNull());
    EXPECT_GT(open->sizeHint().width(), open->fontMetrics().horizontalAdvance(QStringLiteral("Открыть")));
    EXPECT_FALSE(add(bare, "TBPencil", "Карандаш")->icon().isNull());
    QIcon::setThemeSearchPaths(paths);
}

TEST(SingleInstance, SecondInstanceIdentifiesTheFirstAndHandsItsMessageOver)
{
    platform::SingleInstance first(UniqueName("handover"));
    ASSERT_TRUE(first.Listen());
    platform::SingleInstance second(UniqueName("handover"));
    EXPECT_FALSE(second.Listen());  // a live first instance keeps the name

    QStringList received;
    QObject::connect(&first, &platform::SingleInstance::MessageReceived,
                     [&](const QString& message) { received << message; });
    // The sender blocks, so it runs on its own thread while this one serves.
    auto sent = std::async(std::launch::async, [&] { return second.Send("OPEN /data/Скв 1%\n.las"); });
    QTRY_COMPARE_WITH_TIMEOUT(received.size(), 1, 5000);
    EXPECT_TRUE(sent.get());
    EXPECT_EQ(received.front(), "OPEN /data/Скв 1%\n.las");
}

TEST(SingleInstance, NameLeftByACrashedInstanceIsTakenOverAndNoListenerMeansNoHandOver)
{
    strativ::test::TempDir runtime;
    // A bare name lies in the temporary folder; a full one (in the user's runtime folder) as it stands.
    for (const QString& name :
         {UniqueName("stale"), QString::fromStdString(runtime.file("Q7StrativAppUniqueString-stale"))}) {
        SCOPED_TRACE(name.toStdString());
        const QString path = name.startsWith('/') ? name : QDir::tempPath() + "/" + name;
        // A socket whose process is gone: bound, never listened on, never removed.
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, QFile::encodeName(path).constData(), sizeof(address.sun_path) - 1);
        ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
        close(fd);

        platform::SingleInstance nobody(name);
        EXPECT_FALSE(nobody.Send("SHOW", 200));
        EXPECT_TRUE(nobody.Listen());
        EXPECT_TRUE(nobody.IsListening());
    }
}

}  // namespace

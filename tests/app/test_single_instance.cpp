// Hand-over from a second process of the built program to the first instance.
#include "platform/SingleInstance.h"
#include "tests/common/TestPaths.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

// Runs the program as a second instance of a test-only user name, so that the socket name
// ("Q7StrativAppUniqueString-" + user) is not a real user's; returns what the first one got.
QStringList RunSecondInstance(const QString& user, const QStringList& arguments)
{
    platform::SingleInstance first(QStringLiteral("Q7StrativAppUniqueString-") + user);
    EXPECT_TRUE(first.Listen());
    QStringList received;
    QObject::connect(&first, &platform::SingleInstance::MessageReceived,
                     [&](const QString& message) { received << message; });

    QProcess second;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("USER", user);
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    second.setProcessEnvironment(environment);
    second.start(QStringLiteral(STRATIV_BINARY_DIR "/app/strativ"), arguments);
    QElapsedTimer timer;
    timer.start();
    // The first instance answers from this event loop while the second one waits for it.
    while (second.state() != QProcess::NotRunning && timer.elapsed() < 20000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        second.waitForFinished(20);
    }
    EXPECT_EQ(second.state(), QProcess::NotRunning) << "the second instance did not exit";
    second.kill();
    second.waitForFinished();
    EXPECT_EQ(second.exitCode(), 0);
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return received;
}

TEST(SingleInstance, SecondProcessHandsItsLasPathOverAndExits)
{
    ASSERT_TRUE(QFileInfo(STRATIV_BINARY_DIR "/app/strativ").isExecutable()) << "build the strativ target first";
    const QString user = QStringLiteral("strativ-test-%1").arg(QCoreApplication::applicationPid());
    strativ::test::TempDir dir;
    const QString path = QString::fromStdString(dir.file("Well 7.LAS"));
    EXPECT_EQ(RunSecondInstance(user, {path}), QStringList{"OPEN " + path});
    EXPECT_EQ(RunSecondInstance(user, {}), QStringList{"SHOW"});
    EXPECT_EQ(RunSecondInstance(user, {"notes.txt"}), QStringList{"SHOW"});
}

}  // namespace

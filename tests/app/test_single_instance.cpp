// The built program as a process: the hand-over from a second start to the first one, and the
// end of the program when its main window closes or a signal ends it.
#include "app/StrativSession.h"
#include "core/Lasfile.h"
#include "platform/FileNames.h"
#include "platform/SingleInstance.h"
#include "tests/common/FileBytes.h"
#include "tests/common/TestPaths.h"
#include "tests/library/LibraryFixtures.h"
#include "library/LogFileDBManager.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QProcess>
#include <QTest>
#include <csignal>
#include <filesystem>
#include <memory>
#include <vector>
#include <gtest/gtest.h>

namespace {

// Runs the program in `environment` as a second instance; returns what the first one got.
QStringList RunSecondInstance(const QProcessEnvironment& environment, const QStringList& arguments,
                              const QString& program = QStringLiteral(STRATIV_BINARY_DIR "/app/strativ"))
{
    platform::SingleInstance first(platform::SingleInstance::DefaultServerName(environment));
    EXPECT_TRUE(first.Listen());
    QStringList received;
    QObject::connect(&first, &platform::SingleInstance::MessageReceived,
                     [&](const QString& message) { received << message; });

    QProcess second;
    second.setProcessEnvironment(environment);
    second.start(program, arguments);
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

// The driver library loaded into the program, behind the sanitizers' runtime when this test
// program (built as the program is) has it: that runtime must be the first library loaded.
QString PreloadList(const QString& driver)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (maps.open(QIODevice::ReadOnly))
        for (const QByteArray& line : maps.readAll().split('\n'))
            if (line.contains("/libasan.so"))
                return QString::fromLocal8Bit(line.mid(line.indexOf('/'))) + QLatin1Char(':') + driver;
    return driver;
}

// The program's environment for a test: offscreen, as `user`, its files and sockets in `dir`.
QProcessEnvironment ProgramEnvironment(const strativ::test::TempDir& dir, const QString& user)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("USER", user);
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(dir.path()));
    environment.insert("XDG_DATA_HOME", QString::fromStdString(dir.path()));
    environment.insert("STRATIV_HOME", QString::fromStdString(dir.path()));
    return environment;
}

// The program started with the driver taking `steps`; true once the error output holds `awaited`
// (all of it so far in `log`).
bool StartDriven(QProcess& program, QProcessEnvironment environment, const QString& steps,
                 const QStringList& arguments, const QByteArray& awaited, QByteArray& log)
{
    environment.insert("LD_PRELOAD", PreloadList(QStringLiteral(STRATIV_BINARY_DIR "/tests/libstrativ_program_driver.so")));
    environment.insert("STRATIV_DRIVE", steps);
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(STRATIV_BINARY_DIR "/app/strativ"), arguments);
    QElapsedTimer timer;
    timer.start();
    while (!log.contains(awaited) && program.state() != QProcess::NotRunning && timer.elapsed() < 30000) {
        program.waitForReadyRead(100);
        log += program.readAllStandardError();
    }
    return log.contains(awaited);
}

// Sends `signal` and waits for the end; the milliseconds it took, -1 when the program kept running.
qint64 EndBySignal(QProcess& program, int signal)
{
    QElapsedTimer timer;
    timer.start();
    ::kill(static_cast<pid_t>(program.processId()), signal);
    if (program.waitForFinished(30000))
        return timer.elapsed();
    program.kill();
    program.waitForFinished();
    return -1;
}

TEST(SingleInstance, SecondProcessHandsItsLasPathOverAndExits)
{
    ASSERT_TRUE(QFileInfo(STRATIV_BINARY_DIR "/app/strativ").isExecutable()) << "build the strativ target first";
    strativ::test::TempDir dir;
    const QProcessEnvironment environment =
        ProgramEnvironment(dir, QStringLiteral("strativ-test-%1").arg(QCoreApplication::applicationPid()));
    const QString path = QString::fromStdString(dir.file("Well 7.LAS"));
    EXPECT_EQ(RunSecondInstance(environment, {path}), QStringList{"OPEN " + path});
    EXPECT_EQ(RunSecondInstance(environment, {}), QStringList{"SHOW"});
    EXPECT_EQ(RunSecondInstance(environment, {"notes.txt"}), QStringList{"SHOW"});
    // A name that is not UTF-8, given relative to the current folder, keeps its bytes (the shell
    // gives them; QProcess cannot).
    EXPECT_EQ(RunSecondInstance(environment,
                                {"-c", "cd \"$2\" && exec \"$0\" \"$(printf '%b' \"$1\")\"",
                                 STRATIV_BINARY_DIR "/app/strativ", "caf\\0351.las",
                                 QString::fromStdString(dir.path())},
                                QStringLiteral("/bin/sh")),
              QStringList{"OPEN " + platform::FileNameFromBytes(dir.file("caf\xe9.las"))});
}

// Four programs started at the same moment with four files: one window stays, and it is told of
// the other three files.
TEST(SingleInstance, FourSimultaneousStartsLeaveOneWindowThatGetsTheOtherFiles)
{
    ASSERT_TRUE(QFileInfo(STRATIV_BINARY_DIR "/app/strativ").isExecutable()) << "build the strativ target first";
    strativ::test::TempDir dir;
    const QString user = QStringLiteral("strativ-test4-%1").arg(QCoreApplication::applicationPid());
    QProcessEnvironment environment = ProgramEnvironment(dir, user);
    environment.insert("QT_LOGGING_RULES", "strativ.instance.info=true");

    std::vector<std::unique_ptr<QProcess>> programs;
    QStringList paths;
    for (int i = 0; i < 4; ++i) {
        paths << QString::fromStdString(dir.file("well" + std::to_string(i) + ".las"));
        programs.push_back(std::make_unique<QProcess>());
        programs.back()->setProcessEnvironment(environment);
    }
    for (int i = 0; i < 4; ++i)
        programs[i]->start(QStringLiteral(STRATIV_BINARY_DIR "/app/strativ"), {paths[i]});

    // Three hand over and exit; the first stays.
    QElapsedTimer timer;
    timer.start();
    const auto running = [&] {
        return std::count_if(programs.begin(), programs.end(),
                             [](const auto& p) { return p->state() != QProcess::NotRunning; });
    };
    while (running() > 1 && timer.elapsed() < 60000)
        QTest::qWait(50);
    QTest::qWait(500);
    EXPECT_EQ(running(), 1);
    for (auto& program : programs) {
        if (program->state() == QProcess::NotRunning) {
            EXPECT_EQ(program->exitCode(), 0);
            continue;
        }
        const QString log = QString::fromLocal8Bit(program->readAllStandardError());
        for (const QString& path : paths) {
            if (!program->arguments().contains(path)) {
                EXPECT_TRUE(log.contains("received: OPEN " + path)) << log.toStdString();
            }
        }
        program->kill();
        program->waitForFinished();
    }
    QLocalServer::removeServer(platform::SingleInstance::DefaultServerName(environment));  // left by the killed one
}

// A user's login on another display (ssh -X, a second seat) has a program of its own, its name in
// the user's runtime folder: a start there hands nothing to a window that display cannot show.
TEST(SingleInstance, AStartOnAnotherDisplayIsAProgramOfItsOwn)
{
    ASSERT_TRUE(QFileInfo(STRATIV_BINARY_DIR "/app/strativ").isExecutable()) << "build the strativ target first";
    strativ::test::TempDir dir;
    QProcessEnvironment first =
        ProgramEnvironment(dir, QStringLiteral("strativ-test-display-%1").arg(QCoreApplication::applicationPid()));
    first.remove("WAYLAND_DISPLAY");
    first.insert("DISPLAY", ":1");
    QProcessEnvironment other = first;
    other.insert("DISPLAY", "localhost:10.0");
    const QString otherName = platform::SingleInstance::DefaultServerName(other);
    EXPECT_NE(platform::SingleInstance::DefaultServerName(first), otherName);
    EXPECT_TRUE(otherName.startsWith(QString::fromStdString(dir.path()) + "/")) << otherName.toStdString();

    const QString path = QString::fromStdString(dir.file("well.las"));
    EXPECT_EQ(RunSecondInstance(first, {path}), QStringList{"OPEN " + path});

    platform::SingleInstance listening(platform::SingleInstance::DefaultServerName(first));
    ASSERT_TRUE(listening.Listen());
    QStringList received;
    QObject::connect(&listening, &platform::SingleInstance::MessageReceived,
                     [&](const QString& message) { received << message; });
    QProcess program;
    program.setProcessEnvironment(other);
    program.start(QStringLiteral(STRATIV_BINARY_DIR "/app/strativ"), {path});
    QElapsedTimer timer;
    timer.start();
    while (!QFileInfo::exists(otherName) && program.state() != QProcess::NotRunning && timer.elapsed() < 20000)
        QTest::qWait(50);
    EXPECT_TRUE(QFileInfo::exists(otherName)) << "the start on the other display did not listen";
    EXPECT_EQ(program.state(), QProcess::Running);
    EXPECT_EQ(received, QStringList{});
    program.kill();
    program.waitForFinished();
}

// "Файл → Обзор файлов Las...", "Файл → Редактор LAS файлов", then "Файл → Выход": the program ends
// at once, having written the browser's settings, whatever the browser was doing; a later start
// is a program of its own, which ends the same way.
TEST(SingleInstance, ClosingTheMainWindowEndsTheProgramWithTheBrowserOpen)
{
    ASSERT_TRUE(QFileInfo(STRATIV_BINARY_DIR "/app/strativ").isExecutable()) << "build the strativ target first";
    const QString driver = QStringLiteral(STRATIV_BINARY_DIR "/tests/libstrativ_program_driver.so");
    ASSERT_TRUE(QFileInfo::exists(driver)) << "build the strativ_program_driver target first";
    strativ::test::TempDir dir;
    QProcessEnvironment environment =
        ProgramEnvironment(dir, QStringLiteral("strativ-test-close-%1").arg(QCoreApplication::applicationPid()));
    environment.insert("LD_PRELOAD", PreloadList(driver));
    for (const char* actions : {"MILasBrowse,MIEditLas,MMIFileExit", "MILasBrowse,MMIFileExit"}) {
        SCOPED_TRACE(actions);
        environment.insert("STRATIV_DRIVE", actions);
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(STRATIV_BINARY_DIR "/app/strativ"));
        const bool ended = program.waitForFinished(30000);
        if (!ended) {
            program.kill();
            program.waitForFinished();
        }
        ASSERT_TRUE(ended) << "the program kept running";
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
        QFile settings(QString::fromStdString(dir.file("lasbrowse.ini")));
        ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
        const QByteArray text = settings.readAll();
        EXPECT_TRUE(text.contains("[Options]") && text.contains("DViewVisible=")) << text.toStdString();
    }
}

// A logout (SIGTERM) or a closed terminal (SIGHUP) with an edited upward file open, also while
// the question of "Выход" waits for an answer: the program ends at once, asking nothing more, and
// the last session holds the edited document, as after a close; the file itself is untouched.
TEST(SingleInstance, ASignalToEndKeepsTheEditedDocumentInTheLastSession)
{
    ASSERT_TRUE(QFileInfo(STRATIV_BINARY_DIR "/app/strativ").isExecutable()) << "build the strativ target first";
    const QString driver = QStringLiteral(STRATIV_BINARY_DIR "/tests/libstrativ_program_driver.so");
    ASSERT_TRUE(QFileInfo::exists(driver)) << "build the strativ_program_driver target first";
    const std::string las = "~V\r\nVERS. 2.0:\r\nWRAP. NO:\r\n~W\r\nSTRT.M 1001.0:\r\nSTOP.M 1000.0:\r\n"
                            "STEP.M -0.5:\r\nNULL. -999.25:\r\n~C\r\nDEPT.M :\r\nGR.API :\r\n~A\r\n"
                            "1001.0 10.5\r\n1000.5 -999.25\r\n1000.0 30\r\n";
    const std::string edit = "accept:TFormChooseCurves,context:ListCurveNames,MIInverseCurve";
    const struct {
        int signal;
        std::string steps;
        const char* sentAfter;
    } cases[] = {{SIGTERM, edit, "driver: done"},
                 {SIGHUP, edit, "driver: done"},
                 {SIGTERM, edit + ",MMIFileExit", "driver: MMIFileExit"}};
    for (const auto& [signal, steps, sentAfter] : cases) {
        SCOPED_TRACE(steps + " " + std::to_string(signal));
        strativ::test::TempDir dir;
        const std::string path = dir.file("up.las");
        strativ::test::WriteFileBytes(path, las);
        QProcessEnvironment environment =
            ProgramEnvironment(dir, QStringLiteral("strativ-test-end-%1").arg(QCoreApplication::applicationPid()));
        QProcess program;
        QByteArray log;
        ASSERT_TRUE(StartDriven(program, environment, QString::fromStdString(steps), {QString::fromStdString(path)},
                                sentAfter, log))
            << log.toStdString();
        ASSERT_GE(EndBySignal(program, signal), 0) << "the program kept running";
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0) << (log + program.readAllStandardError()).toStdString();

        EXPECT_EQ(strativ::test::ReadFileBytes(path), las);
        const std::string folder = dir.file(".strativ/sess/");
        StrativSession session;
        std::string error;
        ASSERT_TRUE(session.Load(folder + "last.vxs", error)) << error;
        const TLASFile original(path, 2);
        const TLASFile copy(folder + session.LasCopyName, 2);
        ASSERT_TRUE(copy.IsLoaded()) << copy.GetLoadError();
        ASSERT_EQ(copy.GetPointCount(), 3);
        for (int row = 0; row < 3; ++row) {
            const float value = original.GetCurveData(1)[row];
            EXPECT_EQ(copy.GetCurveData(0)[row], original.GetCurveData(0)[row]);
            EXPECT_EQ(copy.GetCurveData(1)[row], value == -999.25f ? value : -value) << row;
        }
    }
}

// SIGTERM during a rescan of the library, the rescan waiting for a write lock that another
// connection holds (so it cannot have ended before the signal): the program ends within 2 s and the
// library passes SQLite's integrity check.
TEST(SingleInstance, ASignalStopsALibraryRescan)
{
    ASSERT_TRUE(QFileInfo(STRATIV_BINARY_DIR "/app/strativ").isExecutable()) << "build the strativ target first";
    strativ::test::TempDir dir;
    strativ::test::MakeLibrary(dir.file("lib"), 10, 100);
    const std::string database = dir.file(".strativ/lib/las_files.db");
    std::filesystem::create_directories(dir.file(".strativ/lib"));
    {
        LogFileDBManager setup;
        setup.Open(database);
        setup.AddLookupPath(dir.file("lib"));
    }
    strativ::test::LibraryDbProbe other(database);
    other.Execute("BEGIN IMMEDIATE;");
    QProcess program;
    QByteArray log;
    ASSERT_TRUE(StartDriven(program,
                            ProgramEnvironment(dir, QStringLiteral("strativ-test-scan-%1").arg(QCoreApplication::applicationPid())),
                            QStringLiteral("MILasBrowse,MMILibRescan"), {}, "driver: MMILibRescan", log))
        << log.toStdString();
    const qint64 took = EndBySignal(program, SIGTERM);
    EXPECT_GE(took, 0) << "the program kept running";
    EXPECT_LT(took, 2000);
    EXPECT_EQ(program.exitCode(), 0) << (log + program.readAllStandardError()).toStdString();
    other.Execute("ROLLBACK;");
    EXPECT_EQ(other.Rows("PRAGMA integrity_check;"), strativ::test::Strings{"ok"});
}

// SIGTERM with typed text unsaved in the LAS editor: the text goes into the profile, not into the
// file; the next start asks about it, naming the file, and "Да" opens it as unsaved edits of that
// file, which, typed on, a second SIGTERM keeps again.
TEST(SingleInstance, ASignalKeepsTheLasEditorsEditsForTheNextStart)
{
    ASSERT_TRUE(QFileInfo(STRATIV_BINARY_DIR "/app/strativ").isExecutable()) << "build the strativ target first";
    strativ::test::TempDir dir;
    const std::string las = "~V\r\nVERS. 2.0:\r\nWRAP. NO:\r\n~W\r\nSTRT.M 1.0:\r\nSTOP.M 2.0:\r\nSTEP.M 1.0:\r\n"
                            "NULL. -999.25:\r\n~C\r\nDEPT.M :\r\n~A\r\n1.0\r\n2.0\r\n";
    const std::string path = dir.file("well.las");
    strativ::test::WriteFileBytes(path, las);
    QProcessEnvironment environment =
        ProgramEnvironment(dir, QStringLiteral("strativ-test-edit-%1").arg(QCoreApplication::applicationPid()));
    environment.insert("HOME", QString::fromStdString(dir.path()));  // the editor's first folder
    const std::string record = dir.file(".strativ/lasedit-unsaved-0.txt");
    const std::string copy = dir.file(".strativ/lasedit-unsaved-0.las");
    const struct {
        QString steps;
        QByteArray asked;
        std::string kept;
    } starts[] = {{QStringLiteral("MIEditLas,select:PageControl:1,select:FileListBox:0,type:Memo:# kept"), {}, "# kept"},
                  {QStringLiteral("button:Да,type:Memo:+"),
                   "Несохраненные изменения файла\n" + QByteArray::fromStdString(path), "+# kept"}};
    for (const auto& [steps, asked, kept] : starts) {
        SCOPED_TRACE(steps.toStdString());
        QProcess program;
        QByteArray log;
        ASSERT_TRUE(StartDriven(program, environment, steps, {}, "driver: done", log)) << log.toStdString();
        EXPECT_TRUE(log.contains(asked)) << log.toStdString();
        ASSERT_GE(EndBySignal(program, SIGTERM), 0) << "the program kept running";
        EXPECT_EQ(strativ::test::ReadFileBytes(path), las);
        EXPECT_EQ(strativ::test::ReadFileBytes(record), "text\n" + path);
        EXPECT_EQ(strativ::test::ReadFileBytes(copy), kept + las);
    }
}

// Two programs of one profile on two displays, each with text typed unsaved in the LAS editor,
// ended by SIGTERM together: the next start names both files, opens one and leaves the other for
// the start after.
TEST(SingleInstance, ProgramsEndedTogetherEachKeepTheLasEditorsEdits)
{
    ASSERT_TRUE(QFileInfo(STRATIV_BINARY_DIR "/app/strativ").isExecutable()) << "build the strativ target first";
    strativ::test::TempDir dir;
    const std::string las = "~V\r\nVERS. 2.0:\r\nWRAP. NO:\r\n~W\r\nNULL. -999.25:\r\n~C\r\nDEPT.M :\r\n~A\r\n1.0\r\n";
    const std::string files[] = {dir.file("a.las"), dir.file("b.las")};
    for (const std::string& file : files)
        strativ::test::WriteFileBytes(file, las);
    QProcessEnvironment environment =
        ProgramEnvironment(dir, QStringLiteral("strativ-test-edits-%1").arg(QCoreApplication::applicationPid()));
    environment.insert("HOME", QString::fromStdString(dir.path()));  // the editor's first folder
    environment.remove("WAYLAND_DISPLAY");
    const auto onDisplay = [&](const char* display) {
        QProcessEnvironment shown = environment;
        shown.insert("DISPLAY", display);
        return shown;
    };
    QProcess programs[2];
    QByteArray logs[2];
    for (int i = 0; i < 2; ++i)
        ASSERT_TRUE(StartDriven(programs[i], onDisplay(i == 0 ? ":1" : "localhost:10.0"),
                                QStringLiteral("MIEditLas,select:PageControl:1,select:FileListBox:%1,type:Memo:# kept")
                                    .arg(i),
                                {}, "driver: done", logs[i]))
            << logs[i].toStdString();
    for (QProcess& program : programs)
        ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    for (QProcess& program : programs)
        EXPECT_TRUE(program.waitForFinished(30000)) << "the program kept running";

    QProcess next;
    QByteArray log;
    EXPECT_TRUE(StartDriven(next, onDisplay(":1"), QStringLiteral("button:Да,button:OK"), {}, "driver: done", log))
        << log.toStdString();
    for (const std::string& file : files)
        EXPECT_TRUE(log.contains("Несохраненные изменения файла\n" + QByteArray::fromStdString(file) + "\n"))
            << log.toStdString();
    next.kill();
    next.waitForFinished();
}

}  // namespace

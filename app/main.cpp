// Entry point: single-instance hand-over before any form, splash screen, the main window
// with its dialogs, the command-line file opened when the window is first shown.
#include "app/AppInfo.h"
#include "app/InterruptedSaves.h"
#include "app/MainUnit.h"
#include "app/StrativApplication.h"
#include "app/StrativProfileManager.h"
#include "platform/EndRequests.h"
#include "platform/FileNames.h"
#include "platform/FontSubstitutes.h"
#include "platform/SingleInstance.h"
#include "platform/WindowFit.h"
#include "platform/ErrorReport.h"

#include <QPainter>
#include <QSplashScreen>
#include <cstdio>
#include <memory>

namespace {

// What a second instance hands over: its ".las" argument, or a request to come forward.
QString HandOverMessage(const QStringList& arguments)
{
    if (arguments.size() > 1 && arguments[1].endsWith(QStringLiteral(".las"), Qt::CaseInsensitive))
        return QStringLiteral("OPEN ") + platform::AbsoluteFileName(arguments[1]);
    return QStringLiteral("SHOW");
}

QPixmap SplashImage()
{
    QPixmap image(420, 220);
    image.fill(QColor(0x30, 0x50, 0x80));
    QPainter painter(&image);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPointSize(28);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRect(0, 40, 420, 80), Qt::AlignCenter, QString::fromUtf8(appinfo::ProgramName));
    font.setPointSize(11);
    font.setBold(false);
    painter.setFont(font);
    painter.drawText(QRect(0, 120, 420, 30), Qt::AlignCenter,
                     QStringLiteral("Версия ") + QString::fromUtf8(appinfo::ProgramVersion));
    painter.drawText(QRect(0, 160, 420, 30), Qt::AlignCenter, QStringLiteral("Загрузка..."));
    return image;
}

// `arguments` keep the bytes of file names, which QCoreApplication::arguments() decodes lossily.
int Run(TStrativApplication& app, const QStringList& arguments)
{
    platform::SingleInstance instance;
    if (!instance.Listen()) {
        if (instance.Send(HandOverMessage(arguments)))
            return 0;
        std::fprintf(stderr, "strativ: the running instance did not answer; starting anyway\n");
    }
    StartSaveJournal(StrativProfileManager::Instance().GetProfileDir());

    QSplashScreen splash(SplashImage());
    splash.show();
    app.processEvents();

    TFormMain main;
    // Queued: the hand-over may run modal dialogs, which should not nest inside the socket's handler.
    QObject::connect(&instance, &platform::SingleInstance::MessageReceived, &main, &TFormMain::HandOverMessage,
                     Qt::QueuedConnection);
    // Closing the main window ends the program, whatever other windows are open; from then on no
    // second start hands its file to this one.
    bool closed = false;
    QObject::connect(&main, &TFormMain::Closed, &app, [&] {
        closed = true;
        instance.StopListening();
        QCoreApplication::exit(0);
    });
    // A logout, a shutdown or kill keeps the work as a close does, without a question.
    platform::EndRequests ends;
    QObject::connect(&ends, &platform::EndRequests::EndRequested, &main, &TFormMain::EndSession);
    QObject::connect(&ends, &platform::EndRequests::SaveRequested, &main, &TFormMain::KeepWorkUnasked);
    if (arguments.size() > 1)
        main.SetStartupFile(platform::AbsoluteFileName(arguments[1]));
    main.show();
    splash.finish(&main);
    // The window may have been closed while the splash screen waited for it to appear.
    return closed ? 0 : app.exec();
}

}  // namespace

int main(int argc, char** argv)
{
    TStrativApplication app(argc, argv);
    platform::InstallFontSubstitutes();
    const auto fitted = platform::FitWindowsAsShown(app);
    QStringList arguments;  // Qt's own options are gone from argv by now
    for (int i = 0; i < argc; ++i)
        arguments << platform::FileNameFromBytes(argv[i]);
    int result = 1;
    platform::Guarded(nullptr, [&] { result = Run(app, arguments); });
    return result;
}

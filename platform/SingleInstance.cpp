// Line protocol over QLocalSocket: "IDENTIFY" is answered with the identification number;
// any other line is a handed-over message, percent-encoded.
#include "platform/SingleInstance.h"

#include "platform/FileNames.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QLoggingCategory>

#include <unistd.h>

namespace platform {
namespace {

const QByteArray kIdentify = "IDENTIFY";
constexpr int kLockWaitMs = 10000;

// The lock beside the socket: a full name's folder, else the temporary folder.
QString LockFileName(const QString& serverName)
{
    return FileInFolder(QDir::tempPath(), serverName) + QStringLiteral(".lock");
}

// Hand-overs received, shown with QT_LOGGING_RULES="strativ.instance.info=true".
Q_LOGGING_CATEGORY(lcSingleInstance, "strativ.instance", QtWarningMsg)

QString UserName(const QProcessEnvironment& environment)
{
    const QString user = environment.value(QStringLiteral("USER"));
    return user.isEmpty() ? QString::number(getuid()) : user;
}

// The display the program shows its windows on; a Wayland display may be given as a path.
QString DisplayName(const QProcessEnvironment& environment)
{
    QString display = environment.value(QStringLiteral("WAYLAND_DISPLAY"));
    if (display.isEmpty())
        display = environment.value(QStringLiteral("DISPLAY"));
    return display.isEmpty() ? QStringLiteral("none") : display.replace(QLatin1Char('/'), QLatin1Char('_'));
}

}  // namespace

QString SingleInstance::DefaultServerName(const QProcessEnvironment& environment)
{
    const QString name =
        QStringLiteral("Q7StrativAppUniqueString-") + UserName(environment) + QLatin1Char('-') + DisplayName(environment);
    // A full path is taken by QLocalServer as it stands; a bare name goes to the temporary folder.
    const QString runtime = environment.value(QStringLiteral("XDG_RUNTIME_DIR"));
    return !runtime.isEmpty() && KindOfPath(runtime) == PathKind::Folder ? FileInFolder(runtime, name) : name;
}

SingleInstance::SingleInstance(const QString& serverName, QObject* parent) : QObject(parent), name_(serverName) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::Listen()
{
    if (IsListening())
        return true;
    // The check and the listen below are one step for instances started at the same moment: a
    // lock file beside the socket admits one at a time (the lock of a dead process is taken over).
    QLockFile lock(LockFileName(name_));
    lock.setStaleLockTime(0);
    if (!lock.tryLock(kLockWaitMs))
        qCWarning(lcSingleInstance) << "no lock on" << lock.fileName() << "- checking without it";
    // Listening replaces an existing socket file, so a live first instance is asked first;
    // a file nobody answers on was left by a crashed instance and is taken over.
    QLocalSocket probe;
    probe.connectToServer(name_);
    if (probe.waitForConnected(500))
        return false;
    QLocalServer::removeServer(name_);
    auto* server = new QLocalServer(this);
    server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server->listen(name_)) {
        delete server;
        return false;
    }
    server_ = server;
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::OnNewConnection);
    return true;
}

bool SingleInstance::IsListening() const
{
    return server_ && server_->isListening();
}

void SingleInstance::StopListening()
{
    delete server_;
    server_ = nullptr;
}

void SingleInstance::OnNewConnection()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
        if (socket->bytesAvailable() > 0)
            OnReadyRead(socket);
    }
}

void SingleInstance::OnReadyRead(QLocalSocket* socket)
{
    while (socket->canReadLine()) {
        QByteArray line = socket->readLine();
        line.chop(1);
        if (line == kIdentify) {
            socket->write(QByteArray::number(IdentificationAnswer) + '\n');
            socket->flush();
        } else {
            const QString message = FileNameFromBytes(QByteArray::fromPercentEncoding(line).toStdString());
            qCInfo(lcSingleInstance).noquote() << "received:" << message;
            emit MessageReceived(message);
        }
    }
}

bool SingleInstance::Send(const QString& message, int timeoutMs) const
{
    QLocalSocket socket;
    socket.connectToServer(name_);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    socket.write(kIdentify + '\n');
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    while (!socket.canReadLine())
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    if (socket.readLine().trimmed() != QByteArray::number(IdentificationAnswer))
        return false;
    // Percent-encoded, so a message (a path) may hold any character, line breaks included.
    socket.write(QByteArray::fromStdString(FileNameToBytes(message)).toPercentEncoding() + '\n');
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    socket.disconnectFromServer();
    return true;
}

}  // namespace platform

// Line protocol over QLocalSocket: "IDENTIFY" is answered with the identification number;
// any other line is a handed-over message, percent-encoded.
#include "platform/SingleInstance.h"

#include "platform/FileNames.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QLoggingCategory>
#include <QStandardPaths>

#include <unistd.h>

namespace platform {
namespace {

const QByteArray kIdentify = "IDENTIFY";
constexpr int kLockWaitMs = 10000;

// Hand-overs received, shown with QT_LOGGING_RULES="strativ.instance.info=true".
Q_LOGGING_CATEGORY(lcSingleInstance, "strativ.instance", QtWarningMsg)

QString UserName()
{
    QString user = qEnvironmentVariable("USER");
    return user.isEmpty() ? QString::number(getuid()) : user;
}

}  // namespace

QString SingleInstance::DefaultServerName()
{
    return QStringLiteral("Q7StrativAppUniqueString-") + UserName();
}

SingleInstance::SingleInstance(const QString& serverName, QObject* parent) : QObject(parent), name_(serverName) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::Listen()
{
    if (IsListening())
        return true;
    // The check and the listen below are one step for instances started at the same moment: a
    // lock file in the runtime folder admits one at a time (the lock of a dead process is taken over).
    QLockFile lock(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + QLatin1Char('/') + name_ +
                   QStringLiteral(".lock"));
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

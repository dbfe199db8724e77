// Single-instance primitives: the first instance listens on a local socket of the user and display,
// a second one identifies it and hands a message over.
#pragma once

#include <QObject>
#include <QProcessEnvironment>
#include <QString>

class QLocalServer;
class QLocalSocket;

namespace platform {

class SingleInstance : public QObject {
    Q_OBJECT
public:
    // What the first instance answers to an identification request.
    static constexpr int IdentificationAnswer = 18931;

    // "Q7StrativAppUniqueString-" + the user's name + "-" + the display, in the user's runtime
    // folder (XDG_RUNTIME_DIR) when there is one, else a name in the system temporary folder: a
    // login of the same user on another display (ssh -X, a second seat) has a first instance of its own.
    static QString DefaultServerName(const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment());

    explicit SingleInstance(const QString& serverName = DefaultServerName(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // Becomes the first instance. A name left behind by a crashed instance is taken over;
    // false when a live instance holds it. Instances started together are admitted one at a time.
    bool Listen();
    bool IsListening() const;
    // Closes the socket: later starts find no first instance.
    void StopListening();
    // From a second instance: true when a first instance identified itself and took the message.
    // The wait covers the first instance's start-up: it answers once its event loop runs.
    bool Send(const QString& message, int timeoutMs = 15000) const;

signals:
    void MessageReceived(const QString& message);

private:
    void OnNewConnection();
    void OnReadyRead(QLocalSocket* socket);

    QString name_;
    QLocalServer* server_ = nullptr;
};

}  // namespace platform

// Requests from outside the windows to end the program or to keep its work: SIGTERM and SIGHUP
// (a logout, a shutdown, kill) and the session manager's save requests, all delivered on the
// window thread. The signal handler only writes a byte into a pipe that the event loop watches.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace platform {

class EndRequests : public QObject {
    Q_OBJECT
public:
    // Takes SIGTERM, and SIGHUP unless it was ignored when the program started. One at a time.
    explicit EndRequests(QObject* parent = nullptr);
    // Gives the signals back to their previous handlers.
    ~EndRequests() override;
    EndRequests(const EndRequests&) = delete;
    EndRequests& operator=(const EndRequests&) = delete;

signals:
    // SIGTERM or SIGHUP: the program should keep its work and end.
    void EndRequested();
    // The session manager asks for the work to be kept; it ends the program itself, if at all.
    void SaveRequested();

private:
    void Drain();

    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace platform

// SIGTERM and SIGHUP through a self-pipe; the session manager's requests through Qt's signals.
#include "platform/EndRequests.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <iterator>
#include <unistd.h>

namespace platform {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP};

int pipeEnds[2] = {-1, -1};
struct sigaction previous[std::size(kSignals)];
bool installed[std::size(kSignals)] = {};

// Async-signal-safe: one write, errno kept for the interrupted code.
void OnSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &byte, 1);
    errno = saved;
}

}  // namespace

EndRequests::EndRequests(QObject* parent) : QObject(parent)
{
    if (::pipe2(pipeEnds, O_NONBLOCK | O_CLOEXEC) == 0) {
        notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, &EndRequests::Drain);
        for (size_t i = 0; i < std::size(kSignals); ++i) {
            struct sigaction action = {};
            action.sa_handler = OnSignal;
            sigemptyset(&action.sa_mask);
            action.sa_flags = SA_RESTART;
            if (::sigaction(kSignals[i], nullptr, &previous[i]) != 0 ||
                (kSignals[i] == SIGHUP && previous[i].sa_handler == SIG_IGN))
                continue;
            installed[i] = ::sigaction(kSignals[i], &action, nullptr) == 0;
        }
    }
#if QT_CONFIG(sessionmanager)
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) { emit SaveRequested(); });
        connect(app, &QGuiApplication::saveStateRequest, this, [this](QSessionManager&) { emit SaveRequested(); });
    }
#endif
}

EndRequests::~EndRequests()
{
    for (size_t i = 0; i < std::size(kSignals); ++i)
        if (installed[i])
            ::sigaction(kSignals[i], &previous[i], nullptr);
    std::fill(std::begin(installed), std::end(installed), false);
    delete notifier_;
    for (int& end : pipeEnds) {
        if (end >= 0)
            ::close(end);
        end = -1;
    }
}

void EndRequests::Drain()
{
    char bytes[16];
    bool any = false;
    while (::read(pipeEnds[0], bytes, sizeof bytes) > 0)
        any = true;
    if (any)
        emit EndRequested();
}

}  // namespace platform

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "terminationsignals.h"

#include "logfiles/pendinglog.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <iterator>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace {

#ifdef Q_OS_UNIX
constexpr int handledSignals[] = { SIGTERM, SIGHUP, SIGINT };

// [0] is written by the handler, [1] read by the event loop.
int g_signalSocket[2] = { -1, -1 };
// What each signal did before, given back when the program stops handling it.
struct sigaction g_previousActions[std::size(handledSignals)];

void onSignal(int signalNumber)
{
    const int savedErrno = errno;
    const char byte = char(signalNumber);
    // Non-blocking: should the socket ever be full, a signal is already waiting to be read.
    [[maybe_unused]] const ssize_t written = ::write(g_signalSocket[0], &byte, 1);
    errno = savedErrno;
}
#endif

#ifdef Q_OS_WIN
// Sees the messages Windows sends the program's windows before Qt does.
class SessionEndFilter : public QAbstractNativeEventFilter {
public:
    explicit SessionEndFilter(TerminationSignals &termination)
        : m_termination(termination)
    {
    }

    bool nativeEventFilter(const QByteArray &, void *message, qintptr *result) override
    {
        const auto *windowsMessage = static_cast<const MSG *>(message);
        if (windowsMessage->message == WM_QUERYENDSESSION) {
            emit m_termination.sessionEnding();
            *result = TRUE; // the session may end as far as this program goes
            return true;
        }
        if (windowsMessage->message == WM_ENDSESSION && windowsMessage->wParam) {
            emit m_termination.received(0);
            *result = 0;
            return true;
        }
        return false;
    }

private:
    TerminationSignals &m_termination;
};
#endif

} // namespace

TerminationSignals::TerminationSignals(QObject *parent)
    : QObject(parent)
{
#ifdef Q_OS_UNIX
    // Without the socket pair the signals keep their default action and end the program at once.
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalSocket) != 0) {
        return;
    }
    ::fcntl(g_signalSocket[0], F_SETFL, ::fcntl(g_signalSocket[0], F_GETFL) | O_NONBLOCK);
    m_notifier = new QSocketNotifier(g_signalSocket[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::onReadable);

    struct sigaction action { };
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(handledSignals); ++i) {
        ::sigaction(handledSignals[i], &action, &g_previousActions[i]);
    }
#endif
#ifdef Q_OS_WIN
    m_sessionEnd = std::make_unique<SessionEndFilter>(*this);
    QCoreApplication::instance()->installNativeEventFilter(m_sessionEnd.get());
#endif
}

TerminationSignals::~TerminationSignals()
{
    if (m_sessionEnd) {
        QCoreApplication::instance()->removeNativeEventFilter(m_sessionEnd.get());
    }
#ifdef Q_OS_UNIX
    if (!m_notifier) {
        return;
    }
    for (std::size_t i = 0; i < std::size(handledSignals); ++i) {
        ::sigaction(handledSignals[i], &g_previousActions[i], nullptr);
    }
    delete m_notifier;
    ::close(g_signalSocket[0]);
    ::close(g_signalSocket[1]);
    g_signalSocket[0] = g_signalSocket[1] = -1;
#endif
}

void TerminationSignals::onReadable()
{
#ifdef Q_OS_UNIX
    char byte = 0;
    if (::read(g_signalSocket[1], &byte, 1) == 1) {
        emit received(int(byte));
    }
#endif
}

void endQuietlyOnTermination(PendingLog &pending)
{
    auto *termination = new TerminationSignals(&pending);
    QObject::connect(
        termination, &TerminationSignals::sessionEnding, &pending, &PendingLog::saveQuietly);
    QObject::connect(termination, &TerminationSignals::received, &pending, [&pending] {
        pending.saveQuietly();
        // Not quit(): that would close the window first, and closing it confirms with a box.
        QCoreApplication::exit(0);
    });
}

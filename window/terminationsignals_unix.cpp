// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "terminationsignals.h"

#include <QAbstractNativeEventFilter>
#include <QSocketNotifier>

#include <cerrno>
#include <fcntl.h>
#include <iterator>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

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

} // namespace

TerminationSignals::TerminationSignals(QObject *parent)
    : QObject(parent)
{
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
}

TerminationSignals::~TerminationSignals()
{
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
}

void TerminationSignals::onReadable()
{
    char byte = 0;
    if (::read(g_signalSocket[1], &byte, 1) == 1) {
        emit received(int(byte));
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#pragma once

#include <QObject>

#include <memory>

class PendingLog;
class QAbstractNativeEventFilter;
class QSocketNotifier;

// Turns what tells the program to end from outside into Qt signals delivered by the event loop;
// kept by terminationsignals_unix.cpp and terminationsignals_win.cpp.
//
// On Unix: SIGTERM (log-out, shut-down), SIGHUP (the terminal closed) and SIGINT (Ctrl+C). The
// handler itself only writes the signal's number to a socket pair, since almost nothing else is
// safe inside it; the event loop reads it from there.
//
// On Windows: the end of the session (log-off, shut-down, a restart for updates), which comes to
// every window of the program as WM_QUERYENDSESSION, then WM_ENDSESSION. Both are taken before Qt
// handles them, which would close the window, and closing it confirms with a box.
//
// One at a time in a program.
class TerminationSignals : public QObject {
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

signals:
    // The session is about to end; it may still be called off, so the program goes on.
    void sessionEnding();
    // The program is to end now: the signal's number on Unix, 0 when the Windows session ends.
    void received(int signalNumber);

private:
    void onReadable();

    QSocketNotifier *m_notifier = nullptr;
    std::unique_ptr<QAbstractNativeEventFilter> m_sessionEnd;
};

// From now on each of those writes the change not yet saved, without a message box that would
// hold up a shut-down, and ends the program.
void endQuietlyOnTermination(PendingLog &pending);

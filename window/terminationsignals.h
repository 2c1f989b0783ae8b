// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#pragma once

#include <QObject>

class PendingLog;
class QSocketNotifier;

// Turns SIGTERM (log-out, shut-down), SIGHUP (the terminal closed) and SIGINT (Ctrl+C) into a Qt
// signal delivered by the event loop. The Unix handler itself only writes the signal's number to
// a socket pair, since almost nothing else is safe inside it; the event loop reads it from there.
// One at a time in a program.
class TerminationSignals : public QObject {
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

signals:
    void received(int signalNumber);

private:
    void onReadable();

    QSocketNotifier *m_notifier = nullptr;
};

// From now on each of those signals writes the change not yet saved, without a message box that
// would hold up a shut-down, and ends the program.
void endQuietlyOnTermination(PendingLog &pending);

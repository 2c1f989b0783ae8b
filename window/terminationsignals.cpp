// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "terminationsignals.h"

#include "logfiles/pendinglog.h"

#include <QCoreApplication>

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

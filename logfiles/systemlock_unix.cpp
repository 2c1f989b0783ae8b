// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "systemlock.h"

#include <QFile>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

bool processRunning(qint64 processId)
{
    return ::kill(pid_t(processId), 0) == 0 || errno == EPERM;
}

SystemTurnLock::~SystemTurnLock()
{
    if (m_handle >= 0) {
        ::close(int(m_handle)); // and with it the lock
    }
}

SystemTurnLock::Outcome SystemTurnLock::take(
    const QString &folderPath, const QDeadlineTimer &deadline)
{
    const int folder
        = ::open(QFile::encodeName(folderPath).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) {
        return Outcome::Refused;
    }
    m_handle = folder;
    for (;;) {
        if (::flock(folder, LOCK_EX | LOCK_NB) == 0) {
            m_held = true;
            return Outcome::Had;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            return Outcome::Refused;
        }
        if (deadline.hasExpired()) {
            return Outcome::NotInTime;
        }
        QThread::msleep(5);
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "logfolderlock.h"

#include "logfiles/programname.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QSysInfo>
#include <QThread>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

// Only one starting copy at a time may judge the lock and take it. A lock whose owner is gone is
// removed by its name, so two copies removing and making it at once could each remove the lock
// the other has just made, and both would run. The turn is a lock on the log folder itself: it
// dies with its process, leaves no file behind, and where a file system keeps such locks to this
// computer (folders on NFS and SMB) it still keeps apart the copies started here, which is where
// two starts race.
class TakeOverTurn {
public:
    explicit TakeOverTurn(const QString &folderPath)
    {
#ifdef Q_OS_UNIX
        m_folder
            = ::open(QFile::encodeName(folderPath).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        // A copy holds the turn for half a second at most; one that holds it far longer is
        // stopped, and the start goes on without its turn rather than wait for ever, as it does
        // where the folder cannot be locked at all.
        const QDeadlineTimer deadline(5s);
        while (m_folder >= 0 && ::flock(m_folder, LOCK_EX | LOCK_NB) != 0
            && (errno == EWOULDBLOCK || errno == EINTR) && !deadline.hasExpired()) {
            QThread::msleep(5);
        }
#else
        Q_UNUSED(folderPath);
#endif
    }
    ~TakeOverTurn()
    {
#ifdef Q_OS_UNIX
        if (m_folder >= 0) {
            ::close(m_folder); // and with it the turn
        }
#endif
    }
    TakeOverTurn(const TakeOverTurn &) = delete;
    TakeOverTurn &operator=(const TakeOverTurn &) = delete;

private:
    int m_folder = -1;
};

} // namespace

LogFolderLock::LogFolderLock(const LogFolder &folder, std::chrono::milliseconds ownerWriteGrace)
    : m_folder(folder)
    , m_folderMade(ensureLogFolder(folder))
    , m_lock(QDir(folder.path()).filePath(u".quillog.lock"_s))
{
    // Held for the whole run, however long: only a lock whose process is gone is stale, never one
    // that is merely old.
    m_lock.setStaleLockTime(0);
    const TakeOverTurn turn(folder.path());
    // The last try: the copy that held it may have ended and removed it just now.
    if (m_lock.tryLock() || takeOverUnfinishedLock(ownerWriteGrace) || m_lock.tryLock()) {
        m_folder.removeInterruptedWrites();
        return;
    }
    QString host;
    if (!m_lock.getLockInfo(nullptr, &host, nullptr)) {
        m_state = State::Unavailable;
    } else if (!host.isEmpty() && host != QSysInfo::machineHostName()) {
        m_state = State::HeldElsewhere;
        m_holderHost = host;
    } else {
        m_state = State::HeldHere;
    }
}

bool LogFolderLock::takeOverUnfinishedLock(std::chrono::milliseconds ownerWriteGrace)
{
    if (m_lock.error() != QLockFile::LockFailedError) {
        return false;
    }
    // A readable owner was already judged by tryLock(): alive, on another computer, or gone and
    // taken over. An owner that cannot be read may still be on its way from a copy starting this
    // very moment, so it gets a little time to appear.
    const QDeadlineTimer deadline(ownerWriteGrace);
    while (!m_lock.getLockInfo(nullptr, nullptr, nullptr)) {
        if (deadline.hasExpired()) {
            // Removes the lock only when no running process holds it open.
            return m_lock.removeStaleLockFile() && m_lock.tryLock();
        }
        QThread::msleep(20);
    }
    return m_lock.tryLock();
}

UserMessage LogFolderLock::message() const
{
    if (!m_folderMade.ok()) {
        return m_folderMade.message(); // and so no lock could be made in it either
    }
    const QString lockPath = QDir::toNativeSeparators(m_lock.fileName());
    const QString folder = m_folder.nativePath();
    switch (m_state) {
    case State::Taken:
        return {};
    case State::HeldHere:
        return { MessageStyle::Information,
            u"%1 is already running with the log folder %2"_s.arg(programName(), folder) };
    case State::HeldElsewhere:
        return { MessageStyle::Information,
            u"%1 is already running with the log folder %2 on the computer %3. If it no longer "
            u"runs there, remove the lock file %4 and start %1 again."_s.arg(
                programName(), folder, m_holderHost, lockPath) };
    case State::Unavailable:
        return { MessageStyle::Information,
            u"%1 could not make its lock file %2, so it cannot keep a second copy from running "
            u"with the log folder %3. Run only one copy with this folder."_s.arg(
                programName(), lockPath, folder) };
    }
    return {};
}

#include "logfolderlock.h"

#include "logfiles/programname.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QSysInfo>
#include <QThread>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

// A copy that is starting writes its owner into the lock the moment it has created it; a lock
// whose owner still cannot be read after this long was left by a copy that stopped in between.
constexpr std::chrono::milliseconds ownerWriteGrace = 500ms;

} // namespace

LogFolderLock::LogFolderLock(const LogFolder &folder)
    : m_folder(folder)
    , m_folderMade(ensureLogFolder(folder))
    , m_lock(QDir(folder.path()).filePath(u".quillog.lock"_s))
{
    // Held for the whole run, however long: only a lock whose process is gone is stale, never one
    // that is merely old.
    m_lock.setStaleLockTime(0);
    if (m_lock.tryLock() || takeOverUnfinishedLock()) {
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

bool LogFolderLock::takeOverUnfinishedLock()
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

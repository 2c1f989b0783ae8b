#include "logfolderlock.h"

#include <QDir>

using namespace Qt::StringLiterals;

LogFolderLock::LogFolderLock(const LogFolder &folder)
    : m_lock(QDir(folder.path()).filePath(u".quillog.lock"_s))
{
    // A folder that cannot be made is reported when the window starts up.
    static_cast<void>(ensureLogFolder(folder));
    // Held for the whole run, however long: only a lock whose process is gone is stale, never one
    // that is merely old.
    m_lock.setStaleLockTime(0);
    m_heldByAnotherCopy = !m_lock.tryLock() && m_lock.error() == QLockFile::LockFailedError;
}

QString alreadyRunningMessage(const LogFolder &folder)
{
    return "Quillog is already running with the log folder "_L1 + folder.nativePath();
}

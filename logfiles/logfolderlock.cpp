// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "logfolderlock.h"

#include "logfiles/programname.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSysInfo>
#include <QThread>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

#ifdef Q_OS_WIN
#include <QCryptographicHash>
#include <qt_windows.h>
#endif

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

bool g_refuseTurnLocks = false;

// The locks this process holds, by their paths.
QSet<QString> g_heldHere;

// Whether a process of that number other than this one runs on this computer. Numbers are used
// again, so a file naming this process's own was written by an earlier process that had it: under
// Wine a restarted session gives the same numbers in the same order.
bool otherProcessRunning(qint64 processId)
{
    if (processId <= 0 || processId == QCoreApplication::applicationPid()) {
        return false;
    }
#ifdef Q_OS_WIN
    // A process of another user cannot be opened, and runs; one that is gone is no parameter.
    const HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, DWORD(processId));
    if (!process) {
        return ::GetLastError() != ERROR_INVALID_PARAMETER;
    }
    const bool running = ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    ::CloseHandle(process);
    return running;
#else
    // A process of another user answers EPERM, and runs.
    return ::kill(pid_t(processId), 0) == 0 || errno == EPERM;
#endif
}

// Whether the computer of that name is this one. Names of computers compare without case, and
// on Windows the lock names it in capitals, as Windows' own name for it has them.
bool isThisComputer(const QString &host)
{
    return host.compare(QSysInfo::machineHostName(), Qt::CaseInsensitive) == 0;
}

// The owner a turn file or a lock names: its process number and computer.
struct Owner {
    qint64 processId = 0;
    QString host;

    // Written by a process of this computer that has ended.
    [[nodiscard]] bool goneFromHere() const
    {
        return processId > 0 && isThisComputer(host) && !otherProcessRunning(processId);
    }
};

Owner readOwner(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QList<QByteArray> lines = file.readAll().split('\n');
    return { lines.value(0).toLongLong(), QString::fromUtf8(lines.value(1)) };
}

// Only one starting copy at a time may judge the lock and take it. A lock whose owner is gone is
// removed by its name, so two copies removing and making it at once could each remove the lock
// the other has just made, and both would run.
//
// The turn is a lock the system keeps, which dies with its process. On Unix it is a lock on the
// log folder itself: it leaves no file behind, and where a file system keeps such locks to this
// computer (folders on NFS and SMB) it still keeps apart the copies started here, which is where
// two starts race. On Windows it is a mutex named after the folder, for the copies of this desktop
// session; one whose holder ended during its turn passes to the next. Where the file system
// refuses a folder's lock (NFS without its lock manager), the turn is a file in the folder that
// only one copy can make and that its maker removes; one left by a copy that ended during its turn
// is removed by the next. A copy holds the turn for half a second at most; when it is not had
// within five (its holder is stopped, or the folder cannot be written, where nobody can make the
// lock either), the start goes on without it rather than wait for ever.
class TakeOverTurn {
public:
    explicit TakeOverTurn(const QString &folderPath)
    {
        const QDeadlineTimer deadline(5s);
        if (g_refuseTurnLocks || !takeSystemLock(folderPath, deadline)) {
            takeTurnFile(QDir(folderPath).filePath(u".quillog.turn"_s), deadline);
        }
    }
    ~TakeOverTurn()
    {
#ifdef Q_OS_WIN
        if (m_mutex) {
            if (m_mutexHeld) {
                ::ReleaseMutex(m_mutex);
            }
            ::CloseHandle(m_mutex);
        }
#else
        if (m_folder >= 0) {
            ::close(m_folder); // and with it the turn
        }
#endif
        if (!m_turnFile.isEmpty()) {
            QFile::remove(m_turnFile);
        }
    }
    TakeOverTurn(const TakeOverTurn &) = delete;
    TakeOverTurn &operator=(const TakeOverTurn &) = delete;

private:
    // False when the system refuses the lock, so that the turn must be had another way; true when
    // it was had, or waited for in vain.
    bool takeSystemLock(const QString &folderPath, const QDeadlineTimer &deadline)
    {
#ifdef Q_OS_WIN
        // Windows compares the folder's name without case, and a mutex's name holds no "\".
        const QByteArray folder
            = QDir::toNativeSeparators(QDir(folderPath).absolutePath()).toLower().toUtf8();
        const QString name = "Local\\Quillog-take-over-"_L1
            + QCryptographicHash::hash(folder, QCryptographicHash::Sha1).toHex();
        m_mutex = ::CreateMutexW(nullptr, FALSE, reinterpret_cast<LPCWSTR>(name.utf16()));
        if (!m_mutex) {
            return false;
        }
        const DWORD waited = ::WaitForSingleObject(m_mutex, DWORD(deadline.remainingTime()));
        m_mutexHeld = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
        return true;
#else
        m_folder
            = ::open(QFile::encodeName(folderPath).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        while (m_folder >= 0) {
            if (::flock(m_folder, LOCK_EX | LOCK_NB) == 0) {
                return true;
            }
            if (errno != EWOULDBLOCK && errno != EINTR) {
                ::close(m_folder);
                m_folder = -1;
                return false;
            }
            if (deadline.hasExpired()) {
                return true;
            }
            QThread::msleep(5);
        }
        return false;
#endif
    }

    void takeTurnFile(const QString &path, const QDeadlineTimer &deadline)
    {
        const QByteArray owner = QByteArray::number(QCoreApplication::applicationPid()) + '\n'
            + QSysInfo::machineHostName().toUtf8() + '\n';
        for (;;) {
            QFile file(path);
            if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
                m_turnFile = path;
                file.write(owner);
                return;
            }
            if (!QFileInfo::exists(path)) {
                return; // it cannot be made at all
            }
            if (readOwner(path).goneFromHere()) {
                QFile::remove(path);
                continue;
            }
            if (deadline.hasExpired()) {
                // One whose owner was never written in is left by a copy that ended in between;
                // the starts after this one need not wait for it.
                if (readOwner(path).processId <= 0) {
                    QFile::remove(path);
                }
                return;
            }
            QThread::msleep(5);
        }
    }

#ifdef Q_OS_WIN
    HANDLE m_mutex = nullptr;
    bool m_mutexHeld = false;
#else
    int m_folder = -1;
#endif
    QString m_turnFile; // made by this copy, and removed when its turn ends
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
    if (m_lock.tryLock() || takeOverAbandonedLock(ownerWriteGrace)) {
        m_state = State::Taken;
        g_heldHere.insert(m_lock.fileName());
        m_folder.removeInterruptedWrites();
    }
}

LogFolderLock::~LogFolderLock()
{
    if (m_state == State::Taken) {
        g_heldHere.remove(m_lock.fileName());
    }
}

bool LogFolderLock::takeOverAbandonedLock(std::chrono::milliseconds ownerWriteGrace)
{
    if (m_lock.error() != QLockFile::LockFailedError) {
        m_state = State::Unavailable;
        return false;
    }
    // tryLock() has taken over a lock whose owner it found gone where it could remove it; where
    // the file system refuses the locks it removes it under, it could not. An owner that cannot be
    // read may still be on its way from a copy starting this very moment, so it gets a little time
    // to appear; the copy that held the lock may also end and remove it just now.
    const QDeadlineTimer deadline(ownerWriteGrace);
    qint64 processId = 0;
    QString host;
    bool readable = false;
    while (!(readable = m_lock.getLockInfo(&processId, &host, nullptr)) && !deadline.hasExpired()) {
        if (m_lock.tryLock()) {
            return true;
        }
        QThread::msleep(20);
    }
    if (readable && !host.isEmpty() && !isThisComputer(host)) {
        m_state = State::HeldElsewhere;
        m_holderHost = host;
        return false;
    }
    if (readable && (otherProcessRunning(processId) || g_heldHere.contains(m_lock.fileName()))) {
        m_state = State::HeldHere;
        return false;
    }
    // Its copy ended without removing it, or never wrote its owner in. Copies take their turns
    // here, so it is removed by its name. A folder in its place is no lock that a copy left.
    if (const QFileInfo info(m_lock.fileName()); info.exists() && !info.isFile()) {
        m_state = State::Unavailable;
        return false;
    }
    if (QFile lockFile(m_lock.fileName()); !lockFile.remove() && lockFile.exists()) {
        m_state = State::LeftBehind;
        m_removalFailure = lockFile.errorString();
        return false;
    }
    if (m_lock.tryLock()) {
        return true;
    }
    m_state = m_lock.error() == QLockFile::LockFailedError ? State::HeldHere : State::Unavailable;
    return false;
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
    case State::LeftBehind:
        return { MessageStyle::Information,
            u"The copy of %1 that last ran with the log folder %2 ended without removing its lock "
            u"file %3, and %1 cannot remove it: %4. Remove the lock file %3 (the log folder must "
            u"let you change it), then start %1 again."_s.arg(
                programName(), folder, lockPath, m_removalFailure) };
    case State::Unavailable:
        return { MessageStyle::Information,
            u"%1 could not make its lock file %2, so it cannot keep a second copy from running "
            u"with the log folder %3. Run only one copy with this folder."_s.arg(
                programName(), lockPath, folder) };
    }
    return {};
}

void refuseTurnLocksForTests(bool refuse)
{
    g_refuseTurnLocks = refuse;
}

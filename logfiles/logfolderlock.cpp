// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "logfolderlock.h"

#include "logfiles/filesystem.h"
#include "logfiles/programname.h"
#include "logfiles/systemlock.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSet>
#include <QSysInfo>
#include <QThread>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

bool g_refuseTurnLocks = false;

// The locks this process holds, by their paths.
QSet<QString> g_heldHere;

// A copy holds its turn for half a second at most. What has stood for longer than this was left
// by a copy that ended, or hangs, or by nobody at all.
constexpr std::chrono::milliseconds turnWait = 5s;
// Should a turn file stand that no copy can take over (the folder cannot be written), the start
// goes on rather than wait for ever; nobody can make the lock there either.
constexpr std::chrono::milliseconds turnWaitAtMost = turnWait + 1s;

const auto turnFileName = ".quillog.turn"_L1;
const auto turnClaimPrefix = ".quillog.turn-claim-"_L1;

// Whether a process of that number other than this one runs on this computer. Numbers are used
// again, so a file naming this process's own was written by an earlier process that had it: under
// Wine a restarted session gives the same numbers in the same order.
bool otherProcessRunning(qint64 processId)
{
    return processId > 0 && processId != QCoreApplication::applicationPid()
        && processRunning(processId);
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

QByteArray thisOwner()
{
    return QByteArray::number(QCoreApplication::applicationPid()) + '\n'
        + QSysInfo::machineHostName().toUtf8() + '\n';
}

bool olderThan(const QFileInfo &file, std::chrono::milliseconds age)
{
    return file.lastModified().msecsTo(QDateTime::currentDateTime()) > age.count();
}

// Only one starting copy at a time may judge the lock and take it. A lock whose owner is gone is
// removed by its name, so two copies removing and making it at once could each remove the lock
// the other has just made, and both would run.
//
// The turn is the lock the system keeps for it (systemlock.h). Where the file system refuses
// that, it is a file in the folder, ".quillog.turn", that only one copy can make, holding its
// maker's process and computer, and removed by its maker when its turn ends. One that its maker
// will not remove is taken over: at once where it names a copy of this computer that has ended,
// and once it has stood for longer than the wait whoever wrote it (a copy that hangs, one of
// another computer, or nobody: it is empty). A file is never removed by its name after being
// judged, as by then it may be another copy's new one: the copy that takes it over claims that
// very file first, by making a marker named after it that only one copy can make, judges it again
// under the claim, and writes itself in as its owner in its place.
class TakeOverTurn {
public:
    explicit TakeOverTurn(const QString &folderPath)
        : m_folder(folderPath)
    {
        const QDeadlineTimer deadline(turnWait);
        if (g_refuseTurnLocks
            || m_systemLock.take(folderPath, deadline) == SystemTurnLock::Outcome::Refused) {
            takeTurnFile();
        }
    }
    ~TakeOverTurn()
    {
        // Removed only while it is still the one this copy wrote. Windows refuses to remove a file
        // that another copy has open to read its owner, for that moment.
        for (int attempt = 0; attempt < 100 && !m_turnFileIdentity.isEmpty()
             && fileIdentity(turnFile()) == m_turnFileIdentity && !QFile::remove(turnFile());
             ++attempt) {
            QThread::msleep(10);
        }
    }
    TakeOverTurn(const TakeOverTurn &) = delete;
    TakeOverTurn &operator=(const TakeOverTurn &) = delete;

    // Under the turn, with the lock taken: what copies that ended on the way left goes. Qt's
    // marker of a lock being removed can be no other copy's now; a claim on a turn file is left
    // for the wait, as its claimant may still be judging.
    void removeLeftovers() const
    {
        const QDir folder(m_folder);
        const QFileInfoList entries = folder.entryInfoList(
            { turnClaimPrefix + u'*', u".quillog.lock.rmlock"_s }, QDir::Files | QDir::Hidden);
        for (const QFileInfo &entry : entries) {
            if ((!entry.fileName().startsWith(turnClaimPrefix) || olderThan(entry, turnWait))
                && isLoneRegularFile(entry.filePath())) {
                QFile::remove(entry.filePath());
            }
        }
    }

private:
    QString turnFile() const { return QDir(m_folder).filePath(turnFileName); }

    void takeTurnFile()
    {
        const QDeadlineTimer deadline(turnWaitAtMost);
        for (int missing = 0; !deadline.hasExpired(); QThread::msleep(5)) {
            QFile file(turnFile());
            if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
                file.write(thisOwner());
                file.close();
                m_turnFileIdentity = fileIdentity(turnFile());
                return;
            }
            const QString identity = fileIdentity(turnFile());
            if (identity.isEmpty()) {
                // Removed just now by its maker (on Windows, still on its way out), or it cannot
                // be made at all.
                if (!QFileInfo::exists(turnFile()) && ++missing == 20) {
                    return;
                }
                continue;
            }
            if (isStale(identity) && claimAndTakeOver(identity)) {
                return;
            }
        }
    }

    // The turn file of that identity is left for others to take over.
    bool isStale(const QString &identity) const
    {
        const QFileInfo file(turnFile());
        return fileIdentity(turnFile()) == identity
            && (readOwner(turnFile()).goneFromHere() || olderThan(file, turnWait));
    }

    bool claimAndTakeOver(const QString &identity)
    {
        const QString claim = QDir(m_folder).filePath(turnClaimPrefix + identity);
        QFile marker(claim);
        if (!marker.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
            return false; // another copy claimed it
        }
        marker.close();
        const auto unclaim = qScopeGuard([&claim] { QFile::remove(claim); });
        // Judged again: only this copy can have it now, and nothing but its maker changes it.
        if (!isStale(identity)) {
            return false;
        }
        QFile file(turnFile());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            return false;
        }
        file.write(thisOwner());
        file.close();
        m_turnFileIdentity = fileIdentity(turnFile());
        return true;
    }

    QString m_folder;
    SystemTurnLock m_systemLock;
    QString m_turnFileIdentity; // of the turn file this copy wrote, removed when its turn ends
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
        turn.removeLeftovers();
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

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#pragma once

#include <QDeadlineTimer>
#include <QString>

// What the lock on the log folder needs of the system, kept by systemlock_unix.cpp and
// systemlock_win.cpp; when a lock counts as abandoned and how starting copies take turns is
// decided in logfolderlock.cpp, the same everywhere.

// Whether a process of that number runs on this computer, one of another user included.
// Unix: kill with no signal (EPERM: it runs). Windows: OpenProcess, refused for another user's.
[[nodiscard]] bool processRunning(qint64 processId);

// The lock the system keeps by which copies starting on one log folder take turns; it dies with
// its process, and is given back when this goes.
// Unix: flock on the log folder itself, which leaves no file behind; where the file system keeps
// such locks to this computer (NFS, SMB) it still keeps apart the copies started here. Refused
// where the file system keeps no such locks (NFS without its lock manager).
// Windows: a mutex named after the folder, for the copies of this desktop session; one whose
// holder ended during its turn passes to the next.
class SystemTurnLock {
public:
    enum class Outcome {
        Had,
        NotInTime, // another copy held it until the deadline
        Refused, // the system keeps no such lock here
    };

    SystemTurnLock() = default;
    ~SystemTurnLock();
    SystemTurnLock(const SystemTurnLock &) = delete;
    SystemTurnLock &operator=(const SystemTurnLock &) = delete;

    [[nodiscard]] Outcome take(const QString &folderPath, const QDeadlineTimer &deadline);

private:
    qintptr m_handle = -1; // the folder's descriptor on Unix, the mutex's handle on Windows
    bool m_held = false;
};

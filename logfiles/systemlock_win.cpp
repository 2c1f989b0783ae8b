// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "systemlock.h"

#include <QCryptographicHash>
#include <QDir>

#include <qt_windows.h>

using namespace Qt::StringLiterals;

bool processRunning(qint64 processId)
{
    // A process of another user cannot be opened, and runs; one that is gone is no parameter.
    const HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, DWORD(processId));
    if (!process) {
        return ::GetLastError() != ERROR_INVALID_PARAMETER;
    }
    const bool running = ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    ::CloseHandle(process);
    return running;
}

SystemTurnLock::~SystemTurnLock()
{
    if (m_handle == -1) {
        return;
    }
    const auto mutex = reinterpret_cast<HANDLE>(m_handle);
    if (m_held) {
        ::ReleaseMutex(mutex);
    }
    ::CloseHandle(mutex);
}

SystemTurnLock::Outcome SystemTurnLock::take(
    const QString &folderPath, const QDeadlineTimer &deadline)
{
    // Windows compares the folder's name without case, and a mutex's name holds no "\".
    const QByteArray folder
        = QDir::toNativeSeparators(QDir(folderPath).absolutePath()).toLower().toUtf8();
    const QString name = "Local\\Quillog-take-over-"_L1
        + QCryptographicHash::hash(folder, QCryptographicHash::Sha1).toHex();
    const HANDLE mutex = ::CreateMutexW(nullptr, FALSE, reinterpret_cast<LPCWSTR>(name.utf16()));
    if (!mutex) {
        return Outcome::Refused;
    }
    m_handle = reinterpret_cast<qintptr>(mutex);
    const DWORD waited = ::WaitForSingleObject(mutex, DWORD(deadline.remainingTime()));
    m_held = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    return m_held ? Outcome::Had : Outcome::NotInTime;
}

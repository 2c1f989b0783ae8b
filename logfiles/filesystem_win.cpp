// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "filesystem.h"

#include <QDir>

#include <io.h>
#include <qt_windows.h>

namespace {

const wchar_t *windowsPath(const QString &path)
{
    return reinterpret_cast<const wchar_t *>(path.utf16());
}

// Backup, sync and indexing tools and virus scanners open a file for a moment, sharing it for
// reading only; while they hold it, it cannot be renamed over or away. Windows programs wait such
// a moment out.
bool heldByAnotherProgram(DWORD error, const QString &path)
{
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) {
        return true;
    }
    // Denied for a file that is not read-only, and so is writable: it is held.
    const DWORD attributes = ::GetFileAttributesW(windowsPath(QDir::toNativeSeparators(path)));
    return error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES
        && !(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
}

// Renames, trying again for about a second while another program holds either file.
bool move(const QString &from, const QString &to, DWORD flags)
{
    for (int attempt = 0;; ++attempt) {
        if (::MoveFileExW(windowsPath(QDir::toNativeSeparators(from)),
                windowsPath(QDir::toNativeSeparators(to)), flags | MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
        const DWORD error = ::GetLastError();
        if (attempt == 40
            || !(heldByAnotherProgram(error, from) || heldByAnotherProgram(error, to))) {
            ::SetLastError(error);
            return false;
        }
        ::Sleep(25);
    }
}

// The file's own information, not that of a file a link leads to; false when it cannot be read.
bool readInformation(const QString &path, BY_HANDLE_FILE_INFORMATION &information)
{
    const HANDLE file = ::CreateFileW(windowsPath(QDir::toNativeSeparators(path)),
        FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    const bool read = ::GetFileInformationByHandle(file, &information);
    ::CloseHandle(file);
    return read;
}

} // namespace

QString flushToDevice(int descriptor)
{
    return ::FlushFileBuffers(reinterpret_cast<HANDLE>(::_get_osfhandle(descriptor)))
        ? QString()
        : qt_error_string(int(::GetLastError()));
}

void flushFolder(const QString &) { }

QString renameReplacing(const QString &from, const QString &to)
{
    return move(from, to, MOVEFILE_REPLACE_EXISTING) ? QString()
                                                     : qt_error_string(int(::GetLastError()));
}

RenameOutcome renameNeverReplacing(const QString &from, const QString &to)
{
    if (move(from, to, 0)) {
        return {};
    }
    const DWORD error = ::GetLastError();
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
        return { RenameOutcome::Kind::NameTaken, {} };
    }
    return { RenameOutcome::Kind::Failed, qt_error_string(int(error)) };
}

QString fileIdentity(const QString &path)
{
    BY_HANDLE_FILE_INFORMATION information {};
    if (!readInformation(path, information)) {
        return {};
    }
    return QStringLiteral("%1-%2-%3-%4-%5")
        .arg(information.dwVolumeSerialNumber)
        .arg(information.nFileIndexHigh)
        .arg(information.nFileIndexLow)
        .arg(information.ftLastWriteTime.dwHighDateTime)
        .arg(information.ftLastWriteTime.dwLowDateTime);
}

bool isLoneRegularFile(const QString &path)
{
    BY_HANDLE_FILE_INFORMATION information {};
    return readInformation(path, information)
        && !(information.dwFileAttributes
            & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE))
        && information.nNumberOfLinks == 1;
}

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

bool move(const QString &from, const QString &to, DWORD flags)
{
    return ::MoveFileExW(windowsPath(QDir::toNativeSeparators(from)),
        windowsPath(QDir::toNativeSeparators(to)), flags | MOVEFILE_WRITE_THROUGH);
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

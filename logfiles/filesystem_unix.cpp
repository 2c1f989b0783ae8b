// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "filesystem.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QString flushToDevice(int descriptor)
{
    return ::fsync(descriptor) == 0 ? QString() : qt_error_string(errno);
}

void flushFolder(const QString &folderPath)
{
    const int folder = ::open(QFile::encodeName(folderPath).constData(), O_RDONLY | O_DIRECTORY);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}

QString renameReplacing(const QString &from, const QString &to)
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0
        ? QString()
        : qt_error_string(errno);
}

RenameOutcome renameNeverReplacing(const QString &from, const QString &to)
{
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, QFile::encodeName(from).constData(), AT_FDCWD,
            QFile::encodeName(to).constData(), RENAME_NOREPLACE)
        == 0) {
        return {};
    }
    if (errno == EEXIST) {
        return { RenameOutcome::Kind::NameTaken, {} };
    }
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
        return { RenameOutcome::Kind::Failed, qt_error_string(errno) };
    }
#else
    Q_UNUSED(from);
    Q_UNUSED(to);
#endif
    return { RenameOutcome::Kind::Refused, {} };
}

QString fileIdentity(const QString &path)
{
    struct stat status { };
    if (::lstat(QFile::encodeName(path).constData(), &status) != 0) {
        return {};
    }
    return QStringLiteral("%1-%2-%3-%4")
        .arg(quint64(status.st_dev))
        .arg(quint64(status.st_ino))
        .arg(qint64(status.st_mtim.tv_sec))
        .arg(qint64(status.st_mtim.tv_nsec));
}

bool isLoneRegularFile(const QString &path)
{
    struct stat status { };
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 && S_ISREG(status.st_mode)
        && status.st_nlink == 1;
}

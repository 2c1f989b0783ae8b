// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "wholefile.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;

namespace {

bool g_refuseRenameWithoutReplacing = false;

// QSaveFile flushes to the device at commit but does not say when that fails; this does.
QString syncToDevice(int handle)
{
#ifdef Q_OS_UNIX
    if (::fsync(handle) != 0) {
        return qt_error_string(errno);
    }
#else
    Q_UNUSED(handle);
#endif
    return {};
}

// Writes every byte and flushes them to the storage device; the system's reason when that failed.
// The file is unbuffered, or flushed here, so that a full disk shows in a result: a buffered write
// that fails only as the buffer is flushed at commit goes unnoticed, and the short file would be
// renamed into place.
QString writeAndSync(QFileDevice &file, const QByteArray &bytes)
{
    // A write that stops part-way returns its short count without a reason; the next one fails
    // with it.
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 now = file.write(bytes.constData() + written, bytes.size() - written);
        if (now <= 0) {
            return file.errorString();
        }
        written += now;
    }
    if (!file.flush()) {
        return file.errorString();
    }
    return syncToDevice(file.handle());
}

// The rename that never replaces: false with errno set when it was not made.
bool renameWithoutReplacing(const QString &from, const QString &to)
{
    if (g_refuseRenameWithoutReplacing) {
        errno = EINVAL;
        return false;
    }
#ifdef Q_OS_LINUX
    return ::renameat2(AT_FDCWD, QFile::encodeName(from).constData(), AT_FDCWD,
               QFile::encodeName(to).constData(), RENAME_NOREPLACE)
        == 0;
#else
    // Elsewhere no rename that refuses to replace is built and tested here.
    Q_UNUSED(from);
    Q_UNUSED(to);
    errno = EINVAL;
    return false;
#endif
}

// Whether anything stands at the path, a link that leads nowhere included.
bool nameTaken(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

} // namespace

FileOutcome writeWholeFile(const QString &what, const QString &path, const QByteArray &bytes)
{
    const auto failed
        = [&](const QString &reason) { return FileOutcome { fileFailure(what, path, reason) }; };
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return failed(file.errorString());
    }
    if (QString reason = writeAndSync(file, bytes); !reason.isEmpty()) {
        return failed(reason);
    }
    if (!file.commit()) {
        return failed(file.errorString());
    }
    syncFolder(QFileInfo(path).absolutePath());
    return {};
}

FileOutcome replaceLinkWithFile(const QString &what, const QString &path)
{
    const FileResult<QByteArray> content = readWholeFile(what, path);
    if (!content.ok()) {
        return { content.error };
    }
    const auto failed
        = [&](const QString &reason) { return FileOutcome { fileFailure(what, path, reason) }; };
    // The name a whole-file write uses beside its file, so that a cut leaves what a start tidies.
    QTemporaryFile file(path + ".XXXXXX"_L1);
    if (!file.open()) {
        return failed(file.errorString());
    }
    file.setPermissions(QFileInfo(path).permissions()); // those of the file the link leads to
    if (QString reason = writeAndSync(file, content.value); !reason.isEmpty()) {
        return failed(reason);
    }
    if (std::rename(
            QFile::encodeName(file.fileName()).constData(), QFile::encodeName(path).constData())
        != 0) {
        return failed(qt_error_string(errno));
    }
    file.setAutoRemove(false);
    syncFolder(QFileInfo(path).absolutePath());
    return {};
}

FileResult<QByteArray> readWholeFile(const QString &what, const QString &path)
{
    QFile file(path);
    QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    if (file.error() != QFileDevice::NoError) {
        return { fileFailure(what, path, file.errorString()), {} };
    }
    return { {}, std::move(bytes) };
}

FileOutcome moveWithoutReplacing(const QString &what, const QString &from, const QString &to)
{
    const auto failed
        = [&](const QString &reason) { return FileOutcome { fileFailure(what, to, reason) }; };
    const QString taken = u"a file of that name is already there"_s;
    if (renameWithoutReplacing(from, to)) {
        return {};
    }
    if (errno == EEXIST) {
        return failed(taken);
    }
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
        return failed(qt_error_string(errno));
    }
    if (nameTaken(to)) {
        return failed(taken);
    }
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0) {
        return failed(qt_error_string(errno));
    }
    return {};
}

void refuseRenameWithoutReplacingForTests(bool refuse)
{
    g_refuseRenameWithoutReplacing = refuse;
}

void syncFolder(const QString &folderPath)
{
#ifdef Q_OS_UNIX
    const int folder = ::open(QFile::encodeName(folderPath).constData(), O_RDONLY | O_DIRECTORY);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
#else
    Q_UNUSED(folderPath);
#endif
}

QStringView interruptedWriteTarget(QStringView fileName)
{
    constexpr qsizetype suffix = 7; // ".XXXXXX"
    if (fileName.size() <= suffix || fileName[fileName.size() - suffix] != u'.') {
        return {};
    }
    const QStringView random = fileName.last(suffix - 1);
    const bool letterOrDigit = std::all_of(random.begin(), random.end(), [](QChar c) {
        return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9');
    });
    return letterOrDigit ? fileName.first(fileName.size() - suffix) : QStringView();
}

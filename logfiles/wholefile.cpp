// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "wholefile.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QScopeGuard>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <optional>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

#ifdef Q_OS_WIN
#include <io.h>
#include <qt_windows.h>
#endif

using namespace Qt::StringLiterals;

namespace {

bool g_refuseRenameWithoutReplacing = false;

// What a whole-file write names its new file: ".<name>.quillog-Ab3xYz".
constexpr auto temporaryMark = ".quillog-"_L1;
constexpr qsizetype temporaryRandomLength = 6;

bool isAsciiLetterOrDigit(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9');
}

// The name of the file whose whole-file write named its new file so; empty for any other name.
QStringView interruptedWriteTarget(QStringView fileName)
{
    const qsizetype tail = temporaryMark.size() + temporaryRandomLength;
    if (fileName.size() <= tail + 1 || !fileName.startsWith(u'.')) {
        return {};
    }
    const QStringView random = fileName.last(temporaryRandomLength);
    if (fileName.sliced(fileName.size() - tail, temporaryMark.size()) != temporaryMark
        || !std::all_of(random.begin(), random.end(), isAsciiLetterOrDigit)) {
        return {};
    }
    return fileName.sliced(1, fileName.size() - tail - 1);
}

// Where a write of the file at path goes: the file at the end of its links.
QFileInfo placeOfWrite(const QString &path)
{
    QFileInfo place(path);
    for (int hop = 0; hop < 40 && place.isSymLink(); ++hop) {
        place.setFile(place.symLinkTarget());
    }
    return place;
}

// Whether anything stands at the path, a link that leads nowhere included.
bool nameTaken(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// Makes and opens a new file beside the place, named as whole-file writes name theirs; never one
// that is there already.
bool createTemporaryBeside(QFile &file, const QFileInfo &place)
{
    const QString stem = place.absoluteDir().filePath(u'.' + place.fileName() + temporaryMark);
    for (int attempt = 0; attempt < 64; ++attempt) {
        QString name = stem;
        for (qsizetype i = 0; i < temporaryRandomLength; ++i) {
            static constexpr char letters[]
                = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
            name += QLatin1Char(letters[QRandomGenerator::global()->bounded(62)]);
        }
        file.setFileName(name);
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
            return true;
        }
        if (!nameTaken(name)) {
            return false;
        }
    }
    return false;
}

// The system's own flush to the storage device, with its reason when it failed.
QString syncToDevice(int handle)
{
#ifdef Q_OS_WIN
    if (!::FlushFileBuffers(reinterpret_cast<HANDLE>(::_get_osfhandle(handle)))) {
        return qt_error_string(int(::GetLastError()));
    }
#else
    if (::fsync(handle) != 0) {
        return qt_error_string(errno);
    }
#endif
    return {};
}

#ifdef Q_OS_WIN
const wchar_t *windowsPath(const QString &path)
{
    return reinterpret_cast<const wchar_t *>(path.utf16());
}
#endif

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

#ifndef Q_OS_WIN
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
#endif

// Gives the file at "from" the name "to", replacing whatever file was there by one rename; on
// Windows the rename is on the disk when it returns, elsewhere the folder is flushed after it.
QString renameReplacing(const QString &from, const QString &to)
{
#ifdef Q_OS_WIN
    if (!::MoveFileExW(windowsPath(QDir::toNativeSeparators(from)),
            windowsPath(QDir::toNativeSeparators(to)),
            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return qt_error_string(int(::GetLastError()));
    }
#else
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0) {
        return qt_error_string(errno);
    }
#endif
    return {};
}

// Writes the bytes into a new file beside the place and renames it over the place, flushed at
// every step; the new file takes the permissions given. A failure is told for the shown path, and
// leaves nothing behind.
FileOutcome replaceWhole(const QString &what, const QString &shownPath, const QFileInfo &place,
    const QByteArray &bytes, std::optional<QFileDevice::Permissions> permissions)
{
    const auto failed = [&](const QString &reason) {
        return FileOutcome { fileFailure(what, shownPath, reason) };
    };
    QFile file;
    if (!createTemporaryBeside(file, place)) {
        return failed(file.errorString());
    }
    auto removeNewFile = qScopeGuard([&file] { file.remove(); });
    if (permissions) {
        file.setPermissions(*permissions);
    }
    if (QString reason = writeAndSync(file, bytes); !reason.isEmpty()) {
        return failed(reason);
    }
    file.close();
    if (QString reason = renameReplacing(file.fileName(), place.filePath()); !reason.isEmpty()) {
        return failed(reason);
    }
    removeNewFile.dismiss();
    syncFolder(place.absolutePath());
    return {};
}

} // namespace

FileOutcome writeWholeFile(const QString &what, const QString &path, const QByteArray &bytes)
{
    const QFileInfo place = placeOfWrite(path);
    if (!place.exists()) {
        return replaceWhole(what, path, place, bytes, std::nullopt);
    }
    // A file the operator made read-only is left as it is.
    if (place.isFile() && !place.isWritable()) {
        return { fileFailure(what, path, u"the file is read-only, so it is left as it is"_s) };
    }
    return replaceWhole(what, path, place, bytes, place.permissions());
}

FileOutcome replaceLinkWithFile(const QString &what, const QString &path)
{
    const FileResult<QByteArray> content = readWholeFile(what, path);
    if (!content.ok()) {
        return { content.error };
    }
    // Those of the file the link leads to.
    return replaceWhole(what, path, QFileInfo(path), content.value, QFileInfo(path).permissions());
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
#ifdef Q_OS_WIN
    // Windows' rename refuses to replace by itself, on every file system.
    if (::MoveFileExW(windowsPath(QDir::toNativeSeparators(from)),
            windowsPath(QDir::toNativeSeparators(to)), MOVEFILE_WRITE_THROUGH)) {
        return {};
    }
    const DWORD error = ::GetLastError();
    return failed(error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS
            ? taken
            : qt_error_string(int(error)));
#else
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
#endif
}

void refuseRenameWithoutReplacingForTests(bool refuse)
{
    g_refuseRenameWithoutReplacing = refuse;
}

void syncFolder(const QString &folderPath)
{
#ifdef Q_OS_WIN
    // Windows keeps no folder to flush: each rename here is written through by itself.
    Q_UNUSED(folderPath);
#else
    const int folder = ::open(QFile::encodeName(folderPath).constData(), O_RDONLY | O_DIRECTORY);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
#endif
}

void removeInterruptedWrites(const QString &path)
{
    QList<QFileInfo> places { QFileInfo(path) };
    if (places.first().isSymLink()) {
        places << placeOfWrite(path);
    }
    for (const QFileInfo &place : places) {
        const QFileInfoList files = place.absoluteDir().entryInfoList(
            QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
        for (const QFileInfo &file : files) {
            if (interruptedWriteTarget(file.fileName())
                    .compare(place.fileName(), Qt::CaseInsensitive)
                == 0) {
                QFile::remove(file.filePath());
            }
        }
    }
}

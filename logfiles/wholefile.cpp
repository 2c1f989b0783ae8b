#include "wholefile.h"

#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <cstdio>
#endif

using namespace Qt::StringLiterals;

namespace {

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

} // namespace

FileOutcome writeWholeFile(
    const QString &what, const QString &path, const QByteArray &bytes, ExistingFile existing)
{
    const auto failed
        = [&](const QString &reason) { return FileOutcome { fileFailure(what, path, reason) }; };
    QSaveFile file(path);
    // Unbuffered, so that every write reaches the system at once and a full disk shows in its
    // result: a buffered write that fails only when the buffer is flushed inside commit() goes
    // unnoticed there, and the short file would be renamed into place.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return failed(file.errorString());
    }
    // A write that stops part-way returns its short count without a reason; the next one fails
    // with it.
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 now = file.write(bytes.constData() + written, bytes.size() - written);
        if (now <= 0) {
            return failed(file.errorString());
        }
        written += now;
    }
    if (QString reason = syncToDevice(file.handle()); !reason.isEmpty()) {
        return failed(reason);
    }
    if (existing == ExistingFile::Keep && QFileInfo::exists(path)) {
        return failed(u"a file of that name is already there"_s);
    }
    if (!file.commit()) {
        return failed(file.errorString());
    }
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

bool renameWithoutReplacing(const QString &from, const QString &to)
{
#ifdef Q_OS_LINUX
    return ::renameat2(AT_FDCWD, QFile::encodeName(from).constData(), AT_FDCWD,
               QFile::encodeName(to).constData(), RENAME_NOREPLACE)
        == 0;
#else
    // Elsewhere no rename that refuses to replace is built and tested here.
    Q_UNUSED(from);
    Q_UNUSED(to);
    return false;
#endif
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

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "wholefile.h"

#include "logfiles/filesystem.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QScopeGuard>

#include <algorithm>
#include <optional>

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
    return flushToDevice(file.handle());
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
    flushFolder(place.absolutePath());
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
    const RenameOutcome renamed = g_refuseRenameWithoutReplacing
        ? RenameOutcome { RenameOutcome::Kind::Refused, {} }
        : renameNeverReplacing(from, to);
    switch (renamed.kind) {
    case RenameOutcome::Kind::Renamed:
        return {};
    case RenameOutcome::Kind::NameTaken:
        return failed(taken);
    case RenameOutcome::Kind::Failed:
        return failed(renamed.reason);
    case RenameOutcome::Kind::Refused:
        break;
    }
    // The file system cannot rename without replacing: the name is checked free just before a
    // plain rename.
    if (nameTaken(to)) {
        return failed(taken);
    }
    if (QString reason = renameReplacing(from, to); !reason.isEmpty()) {
        return failed(reason);
    }
    return {};
}

void refuseRenameWithoutReplacingForTests(bool refuse)
{
    g_refuseRenameWithoutReplacing = refuse;
}

void removeInterruptedWrites(const QString &path)
{
    QList<QFileInfo> places { QFileInfo(path) };
    if (places.first().isSymLink()) {
        places << placeOfWrite(path);
    }
    for (const QFileInfo &place : places) {
        const QFileInfoList files
            = place.absoluteDir().entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
        for (const QFileInfo &file : files) {
            if (interruptedWriteTarget(file.fileName())
                        .compare(place.fileName(), Qt::CaseInsensitive)
                    == 0
                && isLoneRegularFile(file.filePath())) {
                QFile::remove(file.filePath());
            }
        }
    }
}

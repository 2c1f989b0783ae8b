// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "logfolder.h"

#include "logfiles/wholefile.h"
#include "record/logtext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>

using namespace Qt::StringLiterals;

namespace {

constexpr auto temporaryLogName = "log.pnd"_L1;

// Hidden and system files do not count as log files.
bool isOrdinaryFile(const QFileInfo &info)
{
    return info.isFile() && !info.isHidden();
}

// The files are 8-bit Latin-1, one byte per character, so ADIF lengths counted in characters are
// byte counts too. A character Latin-1 cannot hold is written as "?".
QByteArray fileBytes(const QString &logText)
{
    return logText.toLatin1() + "\r\n";
}

// Any of CR LF, LF or a lone CR ends a line, and each becomes CR LF; the last line needs no line
// end of its own. Then every CR LF CR LF becomes one CR LF, in one pass, matches not overlapping:
// the empty line that saving adds goes, and of two empty lines in a row one stays. So a run of line
// ends keeps its first, third, fifth and so on. One pass over the bytes, so any size of file loads
// in time with its length.
QString logTextFromFileBytes(const QByteArray &bytes)
{
    QString text;
    text.reserve(bytes.size() + bytes.size() / 32);
    const char *const data = bytes.constData();
    const qsizetype size = bytes.size();
    qsizetype lineEndsInRow = 0;
    for (qsizetype i = 0; i < size;) {
        qsizetype end = i;
        while (end < size && data[end] != '\r' && data[end] != '\n') {
            ++end;
        }
        if (end > i) {
            text += QLatin1StringView(data + i, end - i);
            lineEndsInRow = 0;
        }
        if (end == size) {
            break;
        }
        i = end + (data[end] == '\r' && end + 1 < size && data[end + 1] == '\n' ? 2 : 1);
        if (++lineEndsInRow % 2 == 1) {
            text += u"\r\n";
        }
    }
    if (!text.isEmpty() && lineEndsInRow == 0) {
        text += u"\r\n";
    }
    return text;
}

} // namespace

LogFolder::LogFolder(const QString &path)
    : m_path(QDir::cleanPath(path))
{
}

QString LogFolder::nativePath() const
{
    return QDir::toNativeSeparators(m_path);
}

QString LogFolder::findFile(const QString &fileName) const
{
    const QString exact = QDir(m_path).filePath(fileName);
    if (isOrdinaryFile(QFileInfo(exact))) {
        return exact;
    }
    const QDir dir(m_path);
    for (const QFileInfo &info : dir.entryInfoList(QDir::Files)) {
        if (info.fileName().compare(fileName, Qt::CaseInsensitive) == 0 && isOrdinaryFile(info)) {
            return info.filePath();
        }
    }
    return {};
}

QString LogFolder::findTemporaryLog() const
{
    return findFile(temporaryLogName);
}

QString LogFolder::temporaryLogPath() const
{
    const QString found = findTemporaryLog();
    return found.isEmpty() ? QDir(m_path).filePath(temporaryLogName) : found;
}

bool LogFolder::hasDailyLog() const
{
    const QDir dir(m_path);
    for (const QFileInfo &info : dir.entryInfoList(QDir::Files)) {
        const QString name = info.fileName();
        if (name.size() >= 7 && name.startsWith("log"_L1, Qt::CaseInsensitive)
            && name.endsWith(".adi"_L1, Qt::CaseInsensitive) && isOrdinaryFile(info)) {
            return true;
        }
    }
    return false;
}

void LogFolder::removeInterruptedWrites() const
{
    // Only the temporary log is written whole; daily logs are made by moving it.
    ::removeInterruptedWrites(temporaryLogPath());
}

FileOutcome ensureLogFolder(const LogFolder &folder)
{
    if (folder.hasDailyLog() || !folder.findTemporaryLog().isEmpty()) {
        return {};
    }
    const QFileInfo info(folder.path());
    if (info.isDir()) {
        return {};
    }
    if (info.exists()) {
        return { fileFailure(
            u"create the log folder"_s, folder.path(), u"a file of that name is in the way"_s) };
    }
    // The standard library, unlike QDir::mkpath(), says why a folder could not be made.
    std::error_code error;
    std::filesystem::create_directories(QFile::encodeName(folder.path()).toStdString(), error);
    if (error) {
        return { fileFailure(
            u"create the log folder"_s, folder.path(), QString::fromLocal8Bit(error.message())) };
    }
    return {};
}

FileResult<std::optional<QString>> loadTemporaryLog(const LogFolder &folder)
{
    const QString path = folder.findTemporaryLog();
    if (path.isEmpty()) {
        return {};
    }
    const FileResult<QByteArray> read = readWholeFile(u"read the temporary log"_s, path);
    if (!read.ok()) {
        return { read.error, {} };
    }
    return { {}, logTextFromFileBytes(read.value) };
}

FileOutcome saveTemporaryLog(const LogFolder &folder, const QString &logText)
{
    if (isBlankLogText(logText)) {
        return {};
    }
    const QString path = folder.temporaryLogPath();
    // A temporary log that cannot be read was not loaded at start-up either: replacing it would
    // lose the records it holds.
    if (const QFileInfo existing(path); existing.isFile() && !existing.isReadable()) {
        return { fileFailure(u"write the temporary log"_s, path,
            u"the file there cannot be read, so it is left as it is"_s) };
    }
    // A crash or a full disk leaves the previous temporary log whole.
    return writeWholeFile(u"write the temporary log"_s, path, fileBytes(logText));
}

QString temporaryLogUpdatedMessage(const LogFolder &folder)
{
    QString path = QDir::toNativeSeparators(folder.temporaryLogPath());
    // A drive letter is shown in lower case: "c:\adif\log.pnd".
    if (path.size() > 1 && path.at(1) == u':') {
        path[0] = path.at(0).toLower();
    }
    return "Temporary Log is updated in "_L1 + path;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "logfolder.h"

#include "logfiles/programname.h"
#include "logfiles/wholefile.h"
#include "record/logtext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <filesystem>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

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

#ifdef Q_OS_UNIX
// The home folder of the user this program runs as, from the system's user list; empty when the
// list has no entry for the user.
QByteArray homeFromUserList()
{
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    QByteArray buffer(size > 0 ? size : 16384, Qt::Uninitialized);
    passwd entry {};
    passwd *found = nullptr;
    if (::getpwuid_r(::geteuid(), &entry, buffer.data(), size_t(buffer.size()), &found) != 0
        || !found) {
        return {};
    }
    return QByteArray(found->pw_dir);
}

// A file name for the operator to read: bytes that are no UTF-8 shown as "\xE9".
QString readableName(const QByteArray &bytes)
{
    QString name;
    for (qsizetype i = 0; i < bytes.size();) {
        const auto lead = uchar(bytes.at(i));
        if (lead < 0x80) {
            name += QLatin1Char(char(lead));
            ++i;
            continue;
        }
        const qsizetype length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString character = utf8(bytes.mid(i, length));
        if (utf8.hasError() || character.isEmpty() || i + length > bytes.size()) {
            name += u"\\x"_s + QString::number(lead, 16).toUpper();
            ++i;
        } else {
            name += character;
            i += length;
        }
    }
    return name;
}
#endif

} // namespace

LogFolder::LogFolder(const QString &path)
    : m_path(QDir::cleanPath(path))
{
}

FileResult<LogFolder> LogFolder::standard()
{
#ifdef Q_OS_WIN
    return { {}, LogFolder(u"C:/adif"_s) };
#else
    // Qt would take a missing home for the root of the file system, and decode a name as UTF-8,
    // putting a replacement character for a byte that is none: another folder than the user's.
    QByteArray home = qgetenv("HOME");
    if (home.isEmpty()) {
        home = homeFromUserList();
    }
    if (!home.startsWith('/') || QDir::cleanPath(QFile::decodeName(home)) == u'/') {
        return { programName()
                + " cannot tell where its log folder is: HOME is not set to a home folder, and "
                  "the system's user list names none for this user."_L1,
            {} };
    }
    if (QFile::encodeName(QFile::decodeName(home)) != home) {
        return { fileFailure(u"use the home folder"_s, readableName(home),
                     u"its name is not UTF-8 text, and %1 would write its files under another "
                     u"name. Rename the home folder, or start %1 with HOME set to a folder whose "
                     u"name is UTF-8."_s.arg(programName())),
            {} };
    }
    return { {}, LogFolder(QFile::decodeName(home) + "/adif"_L1) };
#endif
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
#ifdef Q_OS_WIN
    // Shown as "c:\adif\log.pnd", with the drive letter in lower case.
    if (path.size() > 1 && path.at(1) == u':') {
        path[0] = path.at(0).toLower();
    }
#endif
    return "Temporary Log is updated in "_L1 + path;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "logfolder.h"

#include "logfiles/programname.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

#include <pwd.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

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

} // namespace

FileResult<LogFolder> LogFolder::standard()
{
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
}

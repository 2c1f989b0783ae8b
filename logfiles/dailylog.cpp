// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "dailylog.h"

#include "logfiles/filesystem.h"
#include "logfiles/wholefile.h"
#include "record/logtextcheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The number of a daily log's name, in decimal: "1" for "log_<stamp>.adi", N for
// "log_<stamp>_N.adi" (N from 2, no leading zero), empty for any other name. Kept as text, so
// that no number is too large to count on from.
QStringView dailyLogNumber(QStringView fileName, QStringView stem)
{
    if (!fileName.startsWith(stem, Qt::CaseInsensitive)
        || !fileName.endsWith(".adi"_L1, Qt::CaseInsensitive)
        || fileName.size() < stem.size() + 4) {
        return {};
    }
    const QStringView suffix = fileName.sliced(stem.size(), fileName.size() - stem.size() - 4);
    if (suffix.isEmpty()) {
        return u"1";
    }
    const QStringView number = suffix.sliced(1);
    const bool digitsOnly
        = std::all_of(number.begin(), number.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (!suffix.startsWith(u'_') || number.isEmpty() || !digitsOnly || number.startsWith(u'0')
        || number == u"1") {
        return {};
    }
    return number;
}

bool isSmallerNumber(QStringView a, QStringView b)
{
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

QString nextNumber(QString number)
{
    for (qsizetype i = number.size() - 1; i >= 0; --i) {
        if (number.at(i) != u'9') {
            number[i] = QChar(number.at(i).unicode() + 1);
            return number;
        }
        number[i] = u'0';
    }
    return u'1' + number;
}

// A temporary log left from an earlier run, the list emptied by hand since: it is checked as the
// list is, and what goes out (its lengths set, the blank text above its first record left out) is
// written to the file itself before it moves. The file is left alone when nothing changes, or when
// it cannot be read as records.
FileResult<LogTextCheck> repairTemporaryLog(const QString &path)
{
    const FileResult<QByteArray> read = readWholeFile(u"read the temporary log"_s, path);
    if (!read.ok()) {
        return { read.error, {} };
    }
    const QString text = QString::fromLatin1(read.value);
    LogTextCheck check = checkLogText(text);
    if (!check.readsAsRecords()) {
        return { check.problemSummary(), {} };
    }
    if (!check.logText.isEmpty() && check.logText != text) {
        const FileOutcome written
            = writeWholeFile(u"write the temporary log"_s, path, check.logText.toLatin1());
        if (!written.ok()) {
            return { written.error, {} };
        }
    }
    return { {}, std::move(check) };
}

} // namespace

QString dailyLogStamp(QDate date, const QLocale &locale)
{
    return date.toString(u"dd"_s) + locale.monthName(date.month(), QLocale::ShortFormat)
        + date.toString(u"yyyy"_s);
}

QString nextDailyLogName(const LogFolder &folder, QDate date, const QLocale &locale)
{
    const QString stem = "log_"_L1 + dailyLogStamp(date, locale);
    // Whatever stands at a name holds it, a folder or a link as much as a file, so that the name
    // chosen is free.
    QString highest;
    const QStringList names
        = QDir(folder.path())
              .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : names) {
        if (const QStringView number = dailyLogNumber(name, stem);
            isSmallerNumber(highest, number)) {
            highest = number.toString();
        }
    }
    return highest.isEmpty() ? stem + ".adi"_L1 : stem + u'_' + nextNumber(highest) + ".adi"_L1;
}

FileResult<DailyLogMade> makeDailyLog(
    const LogFolder &folder, const QString &logText, QDate today, const QLocale &locale)
{
    // The list keeps what the operator typed; only the text that goes out gets the new lengths. A
    // list that cannot be read as records stays as it is, for the operator to correct.
    const LogTextCheck check = checkLogText(logText);
    if (!check.readsAsRecords()) {
        return { check.problemSummary(), { {}, {}, check.firstToFix() } };
    }
    if (const FileOutcome saved = saveTemporaryLog(folder, check.logText); !saved.ok()) {
        return { saved.error, {} };
    }
    const QString temporaryLog = folder.findTemporaryLog();
    if (temporaryLog.isEmpty()) {
        return {};
    }
    // The records move into the daily log by one rename: after a crash or a power cut they are all
    // still pending or all in the daily log, never in both. The daily log is an ordinary file, so a
    // temporary log that is a link first becomes one, holding the same records.
    if (QFileInfo(temporaryLog).isSymLink()) {
        if (FileOutcome replaced = replaceLinkWithFile(u"write the temporary log"_s, temporaryLog);
            !replaced.ok()) {
            return { std::move(replaced.error), {} };
        }
    }
    QString lengthNote = check.lengthSummary();
    if (check.logText.isEmpty()) {
        const FileResult<LogTextCheck> repaired = repairTemporaryLog(temporaryLog);
        if (!repaired.ok()) {
            return { repaired.error, {} };
        }
        if (repaired.value.logText.isEmpty()) {
            return {}; // it holds no record either
        }
        lengthNote = repaired.value.lengthSummary();
    }
    const QString target = QDir(folder.path()).filePath(nextDailyLogName(folder, today, locale));
    if (FileOutcome moved
        = moveWithoutReplacing(u"move the temporary log to"_s, temporaryLog, target);
        !moved.ok()) {
        return { std::move(moved.error), {} };
    }
    // The temporary log must stay gone after a power cut too, or its records would go into the
    // next daily log a second time.
    flushFolder(folder.path());
    return { {}, { target, std::move(lengthNote), {} } };
}

UserMessage dailyLogCreatedMessage(const LogFolder &folder, const QString &lengthNote)
{
    QString text = "ADIF log is created in "_L1 + folder.nativePath()
        + "\r\ntemporary Log will be erased"_L1;
    if (!lengthNote.isEmpty()) {
        text += "\r\n"_L1 + lengthNote;
    }
    return { MessageStyle::Information, text };
}

UserMessage nothingToElaborateMessage()
{
    return { MessageStyle::Information, u"Nothing to elaborate"_s };
}

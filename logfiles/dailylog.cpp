#include "dailylog.h"

#include "logfiles/wholefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

// 1 for "log_<stamp>.adi", N for "log_<stamp>_N.adi" (N from 2, no leading zero), 0 otherwise.
int dailyLogNumber(const QString &fileName, const QString &stem)
{
    if (!fileName.startsWith(stem, Qt::CaseInsensitive)
        || !fileName.endsWith(".adi"_L1, Qt::CaseInsensitive)
        || fileName.size() < stem.size() + 4) {
        return 0;
    }
    const QStringView suffix
        = QStringView(fileName).mid(stem.size(), fileName.size() - stem.size() - 4);
    if (suffix.isEmpty()) {
        return 1;
    }
    if (!suffix.startsWith(u'_') || suffix.size() < 2 || suffix.at(1) == u'0') {
        return 0;
    }
    bool isNumber = false;
    const int number = suffix.mid(1).toInt(&isNumber);
    return isNumber && number >= 2 && suffix.mid(1).toString() == QString::number(number) ? number
                                                                                          : 0;
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
    int highest = 0;
    for (const QFileInfo &info : QDir(folder.path()).entryInfoList(QDir::Files)) {
        if (info.isFile()) {
            highest = std::max(highest, dailyLogNumber(info.fileName(), stem));
        }
    }
    return highest == 0 ? stem + ".adi"_L1 : u"%1_%2.adi"_s.arg(stem).arg(highest + 1);
}

GenerateOutcome generateDailyLog(
    const LogFolder &folder, const QString &logText, QDate today, const QLocale &locale)
{
    const auto failed = [](const QString &error) {
        return GenerateOutcome { { MessageStyle::Error, error }, false };
    };

    if (const FileOutcome saved = saveTemporaryLog(folder, logText); !saved.ok()) {
        return failed(saved.error);
    }
    const QString temporaryLog = folder.findTemporaryLog();
    if (temporaryLog.isEmpty()) {
        return { { MessageStyle::Information, u"Nothing to elaborate"_s }, false };
    }

    // A byte-for-byte copy of the temporary log, written whole: a full disk leaves no daily log
    // at all rather than a short one, and an existing daily log is never replaced.
    const QString target = QDir(folder.path()).filePath(nextDailyLogName(folder, today, locale));
    QFile source(temporaryLog);
    const QByteArray pending = source.open(QIODevice::ReadOnly) ? source.readAll() : QByteArray();
    if (source.error() != QFileDevice::NoError) {
        return failed(u"Could not read the temporary log %1: %2"_s.arg(
            QDir::toNativeSeparators(temporaryLog), source.errorString()));
    }
    if (const QString reason = writeWholeFile(target, pending, ExistingFile::Keep);
        !reason.isEmpty()) {
        return failed(u"Could not copy the temporary log to %1: %2"_s.arg(
            QDir::toNativeSeparators(target), reason));
    }
    // The records must end up in exactly one daily log: if the temporary log stays, the copy goes.
    QFile copied(target);
    if (!source.remove()) {
        QString error = u"Could not delete the temporary log %1: %2. No daily log was made."_s.arg(
            QDir::toNativeSeparators(temporaryLog), source.errorString());
        if (!copied.remove()) {
            error += u" The copy %1 could not be removed either: %2"_s.arg(
                QDir::toNativeSeparators(target), copied.errorString());
        }
        return failed(error);
    }
    // Once the daily log is made, the temporary log must stay gone after a power cut too, or its
    // records would go into the next daily log a second time.
    syncFolder(folder.path());
    return { { MessageStyle::Information,
                 "ADIF log is created in "_L1 + folder.nativePath()
                     + "\r\ntemporary Log will be erased"_L1 },
        true };
}

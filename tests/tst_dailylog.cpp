// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "filehelpers.h"
#include "logfiles/dailylog.h"
#include "logfiles/wholefile.h"

#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {
const QDate day(2026, 12, 7);
const QLocale english(QLocale::English, QLocale::UnitedKingdom);

// Which file a name leads to: equal for two names of one file.
QByteArray fileId(const QString &path)
{
    struct stat status { };
    return ::stat(QFile::encodeName(path).constData(), &status) == 0
        ? QByteArray::number(quint64(status.st_dev)) + ':'
            + QByteArray::number(quint64(status.st_ino))
        : QByteArray();
}
} // namespace

class TestDailyLog : public QObject {
    Q_OBJECT

private slots:
    void init();
    void stampFollowsLocale_data();
    void stampFollowsLocale();
    void namesContinueAfterHighest_data();
    void namesContinueAfterHighest();
    void sixGenerationsOnOneDay();
    void differentDaysDoNotCollide();
    void oldTemporaryLogBecomesDailyLog();
    void oldTemporaryLogGetsEditedLengthsSet();
    void oldTemporaryLogThatCannotBeReadStays();
    void nothingToElaborate();
    void moveNeverReplaces_data();
    void moveNeverReplaces();
    void skipsWhateverStandsAtName();
    void failedSaveMakesNoDailyLog();
    void linkedTemporaryLogBecomesOrdinaryFile();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString path(const QString &name = {}) const { return m_dir->filePath(name); }
    FileResult<DailyLogMade> generate(const QString &logText, QDate date = day) const
    {
        return makeDailyLog(LogFolder(m_dir->path()), logText, date, english);
    }
};

void TestDailyLog::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestDailyLog::stampFollowsLocale_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("stamp");
    QTest::newRow("english") << english << u"07Dec2026"_s;
    QTest::newRow("german") << QLocale(QLocale::German) << u"07Dez.2026"_s;
    QTest::newRow("french") << QLocale(QLocale::French) << u"07déc.2026"_s;
}

void TestDailyLog::stampFollowsLocale()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, stamp);
    QCOMPARE(dailyLogStamp(day, locale), stamp);
    QCOMPARE(nextDailyLogName(LogFolder(path()), day, locale), "log_"_L1 + stamp + ".adi"_L1);
}

void TestDailyLog::namesContinueAfterHighest_data()
{
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QString>("next");
    QTest::newRow("none") << QStringList() << u"log_07Dec2026.adi"_s;
    QTest::newRow("first") << QStringList { u"log_07Dec2026.adi"_s } << u"log_07Dec2026_2.adi"_s;
    QTest::newRow("gap-not-filled") << QStringList { u"log_07Dec2026.adi"_s,
        u"log_07Dec2026_3.adi"_s } << u"log_07Dec2026_4.adi"_s;
    QTest::newRow("only-third") << QStringList { u"log_07Dec2026_3.adi"_s }
                                << u"log_07Dec2026_4.adi"_s;
    QTest::newRow("past-four") << QStringList { u"log_07Dec2026_4.adi"_s }
                               << u"log_07Dec2026_5.adi"_s;
    QTest::newRow("two-digits") << QStringList { u"log_07Dec2026_9.adi"_s,
        u"log_07Dec2026_10.adi"_s }
                                << u"log_07Dec2026_11.adi"_s;
    QTest::newRow("past-int-range")
        << QStringList { u"log_07Dec2026_2147483647.adi"_s } << u"log_07Dec2026_2147483648.adi"_s;
    QTest::newRow("all-nines") << QStringList { u"log_07Dec2026_99999999999999999999.adi"_s }
                               << u"log_07Dec2026_100000000000000000000.adi"_s;
    QTest::newRow("any-case") << QStringList { u"LOG_07DEC2026.ADI"_s } << u"log_07Dec2026_2.adi"_s;
    QTest::newRow("other-days-and-names") << QStringList { u"log_06Dec2026_5.adi"_s,
        u"log_07Dec2026_02.adi"_s, u"log_07Dec2026.txt"_s, u"log_07Dec2026_x.adi"_s }
                                          << u"log_07Dec2026.adi"_s;
}

void TestDailyLog::namesContinueAfterHighest()
{
    QFETCH(QStringList, present);
    QFETCH(QString, next);
    for (const QString &name : present) {
        writeBytes(path(name), "x");
    }
    QCOMPARE(nextDailyLogName(LogFolder(path()), day, english), next);
}

void TestDailyLog::sixGenerationsOnOneDay()
{
    const QStringList expected { u"log_07Dec2026.adi"_s, u"log_07Dec2026_2.adi"_s,
        u"log_07Dec2026_3.adi"_s, u"log_07Dec2026_4.adi"_s, u"log_07Dec2026_5.adi"_s,
        u"log_07Dec2026_6.adi"_s };
    for (int run = 0; run < expected.size(); ++run) {
        const QString logText
            = u"<CALL:3>K1A<RST_SENT:1>%1<QSO_DATE:8>20261207<TIME_ON:4>1712<EOR>\r\n"_s.arg(run);
        QCOMPARE(generate(logText).value.path, path(expected.at(run)));
        // A byte-for-byte copy of what the temporary log held; that one is gone.
        QCOMPARE(readBytes(path(expected.at(run))), logText.toLatin1() + "\r\n");
        QVERIFY(!QFileInfo::exists(path(u"log.pnd"_s)));
    }
    QCOMPARE(entryNames(path()), expected);
    // Every earlier file still holds its own records.
    QCOMPARE(readBytes(path(expected.at(3))),
        "<CALL:3>K1A<RST_SENT:1>3<QSO_DATE:8>20261207<TIME_ON:4>1712<EOR>\r\n\r\n");
}

void TestDailyLog::differentDaysDoNotCollide()
{
    QVERIFY(generate(u"<CALL:2>AB<QSO_DATE:8>20261207<TIME_ON:4>1712<EOR>\r\n"_s).ok());
    QVERIFY(
        generate(u"<CALL:2>BC<QSO_DATE:8>20261207<TIME_ON:4>1712<EOR>\r\n"_s, day.addDays(1)).ok());
    QCOMPARE(entryNames(path()), QStringList({ u"log_07Dec2026.adi"_s, u"log_08Dec2026.adi"_s }));
}

void TestDailyLog::oldTemporaryLogBecomesDailyLog()
{
    writeBytes(path(u"log.pnd"_s), "<CALL:3>OLD<QSO_DATE:8>20261207<TIME_ON:4>1712<EOR>\r\n\r\n");
    const QByteArray pendingId = fileId(path(u"log.pnd"_s));
    QCOMPARE(generate(QString()).value.path, path(u"log_07Dec2026.adi"_s));
    QCOMPARE(readBytes(path(u"log_07Dec2026.adi"_s)),
        "<CALL:3>OLD<QSO_DATE:8>20261207<TIME_ON:4>1712<EOR>\r\n\r\n");
    QCOMPARE(entryNames(path()), QStringList { u"log_07Dec2026.adi"_s });
    // Moved, not copied: the same file under its new name, so it was never in two places.
    QCOMPARE(fileId(path(u"log_07Dec2026.adi"_s)), pendingId);
}

void TestDailyLog::oldTemporaryLogGetsEditedLengthsSet()
{
    writeBytes(path(u"log.pnd"_s), "<CALL:4>K1ABC<QSO_DATE:8>20261207<TIME_ON:4>1712<EOR>\r\n\r\n");
    const FileResult<DailyLogMade> outcome = generate(QString());
    QCOMPARE(readBytes(outcome.value.path),
        "<CALL:5>K1ABC<QSO_DATE:8>20261207<TIME_ON:4>1712<EOR>\r\n\r\n");
    QCOMPARE(outcome.value.lengthNote, u"Field lengths set to match your edits: CALL of K1ABC."_s);
}

void TestDailyLog::oldTemporaryLogThatCannotBeReadStays()
{
    writeBytes(
        path(u"log.pnd"_s), "<CALL:4>K1AB<QSO_DATE:8>20261207<TIME_ON:4>1712<EOR>notes\r\n\r\n");
    const FileResult<DailyLogMade> outcome = generate(QString());
    QVERIFY2(
        outcome.error.endsWith(u"text outside the records after record K1AB, line 1: \"notes\"."_s),
        qPrintable(outcome.error));
    QCOMPARE(entryNames(path()), QStringList { u"log.pnd"_s });
    QCOMPARE(readBytes(path(u"log.pnd"_s)),
        "<CALL:4>K1AB<QSO_DATE:8>20261207<TIME_ON:4>1712<EOR>notes\r\n\r\n");
}

void TestDailyLog::nothingToElaborate()
{
    const FileResult<DailyLogMade> outcome = generate(QString());
    QVERIFY(outcome.ok());
    QCOMPARE(outcome.value.path, QString());
    QCOMPARE(entryNames(path()), QStringList());
    // Blank lines hold no record, in the list or in the file.
    writeBytes(path(u"log.pnd"_s), " \r\n\r\n");
    const FileResult<DailyLogMade> blank = generate(u"\t\r\n"_s);
    QVERIFY(blank.ok());
    QCOMPARE(blank.value.path, QString());
    QCOMPARE(entryNames(path()), QStringList { u"log.pnd"_s });
}

void TestDailyLog::moveNeverReplaces_data()
{
    QTest::addColumn<bool>("refused");
    QTest::newRow("local") << false;
    QTest::newRow("refused-as-on-nfs") << true;
}

void TestDailyLog::moveNeverReplaces()
{
    QFETCH(bool, refused);
    refuseRenameWithoutReplacingForTests(refused);
    const auto restore = qScopeGuard([] { refuseRenameWithoutReplacingForTests(false); });
    writeBytes(path(u"log.pnd"_s), "<CALL:3>NEW<QSO_DATE:8>20261207<TIME_ON:4>1712<EOR>\r\n\r\n");
    QVERIFY(QFile::link(path(u"gone"_s), path(u"log_07Dec2026.adi"_s))); // leads nowhere
    const FileOutcome moved
        = moveWithoutReplacing(u"move"_s, path(u"log.pnd"_s), path(u"log_07Dec2026.adi"_s));
    QVERIFY2(
        moved.error.endsWith(u"a file of that name is already there"_s), qPrintable(moved.error));

    // Moved, not copied: the same file under the next free name.
    const QByteArray pendingId = fileId(path(u"log.pnd"_s));
    QCOMPARE(generate({}).value.path, path(u"log_07Dec2026_2.adi"_s));
    QCOMPARE(fileId(path(u"log_07Dec2026_2.adi"_s)), pendingId);
    QVERIFY(!QFileInfo::exists(path(u"log.pnd"_s)));
}

void TestDailyLog::skipsWhateverStandsAtName()
{
    // A folder and a link that leads nowhere hold their names as a file would.
    QVERIFY(QDir().mkpath(path(u"log_07Dec2026.adi"_s)));
    QVERIFY(QFile::link(path(u"gone"_s), path(u"log_07Dec2026_2.adi"_s)));
    const FileResult<DailyLogMade> outcome
        = generate(u"<CALL:2>AB<QSO_DATE:8>20261207<TIME_ON:4>1712<EOR>\r\n"_s);
    QCOMPARE(outcome.value.path, path(u"log_07Dec2026_3.adi"_s));
    QCOMPARE(readBytes(path(u"log_07Dec2026_3.adi"_s)),
        "<CALL:2>AB<QSO_DATE:8>20261207<TIME_ON:4>1712<EOR>\r\n\r\n");
    QVERIFY(QFileInfo(path(u"log_07Dec2026.adi"_s)).isDir());
    QCOMPARE(entryNames(path()),
        QStringList(
            { u"log_07Dec2026.adi"_s, u"log_07Dec2026_2.adi"_s, u"log_07Dec2026_3.adi"_s }));
}

void TestDailyLog::failedSaveMakesNoDailyLog()
{
    const QString gone = path(u"gone"_s);
    const FileResult<DailyLogMade> outcome = makeDailyLog(
        LogFolder(gone), u"<CALL:2>AB<QSO_DATE:8>20261207<TIME_ON:4>1712<EOR>\r\n"_s, day, english);
    QVERIFY(!outcome.ok());
    QVERIFY(outcome.error.contains(QDir::toNativeSeparators(gone)));
    QVERIFY(!QFileInfo::exists(gone));

    QVERIFY(QDir().mkpath(path(u"log.pnd"_s)));
    const FileResult<DailyLogMade> blocked
        = generate(u"<CALL:2>AB<QSO_DATE:8>20261207<TIME_ON:4>1712<EOR>\r\n"_s);
    QVERIFY(blocked.error.startsWith(u"Could not write the temporary log"_s));
    QCOMPARE(entryNames(path()), QStringList { u"log.pnd"_s });
}

void TestDailyLog::linkedTemporaryLogBecomesOrdinaryFile()
{
#ifdef Q_OS_UNIX
    // A temporary log that is a link becomes an ordinary file first, written whole.
    const QByteArray pending
        = QByteArray("<CALL:4>K1AB<QSO_DATE:8>20261207<TIME_ON:4>1712<EOR>\r\n").repeated(150)
        + "\r\n";
    QTemporaryDir elsewhere;
    const QString linked = elsewhere.filePath(u"pending"_s);
    writeBytes(linked, pending);
    QVERIFY(QFile::link(linked, path(u"log.pnd"_s)));
    FileResult<DailyLogMade> outcome;
    {
        const FileSizeLimit limit(1024); // the disk fills up part-way through the new file
        outcome = generate({});
    }
    QVERIFY2(outcome.error.startsWith(u"Could not write the temporary log "_s
                 + QDir::toNativeSeparators(path(u"log.pnd"_s))),
        qPrintable(outcome.error));
    QCOMPARE(entryNames(path()), QStringList { u"log.pnd"_s });
    QVERIFY(QFileInfo(path(u"log.pnd"_s)).isSymLink());

    QVERIFY(generate({}).ok()); // room again
    QCOMPARE(entryNames(path()), QStringList { u"log_07Dec2026.adi"_s });
    QVERIFY(!QFileInfo(path(u"log_07Dec2026.adi"_s)).isSymLink());
    QCOMPARE(readBytes(path(u"log_07Dec2026.adi"_s)), pending);
    QCOMPARE(readBytes(linked), pending);
#else
    QSKIP("needs Unix links and a file size limit");
#endif
}

QTEST_GUILESS_MAIN(TestDailyLog)
#include "tst_dailylog.moc"

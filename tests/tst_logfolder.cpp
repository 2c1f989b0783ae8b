// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "filehelpers.h"
#include "logfiles/logfolder.h"
#include "logfiles/logfolderlock.h"
#include "record/logtext.h"

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <QScopeGuard>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestLogFolder : public QObject {
    Q_OBJECT

private slots:
    void init();
    void standardFolderIsInHome_data();
    void standardFolderIsInHome();
    void createsMissingFolderAtStartUp();
    void leavesExistingFolderAsItIs();
    void reportsFileInPlaceOfFolder();
    void roundTripGivesSameLogText();
    void loadsFileContents_data();
    void loadsFileContents();
    void loadsNothingWithoutTemporaryLog();
    void emptyLogTextLeavesOldTemporaryLog();
    void writesLatin1Bytes();
    void matchesTemporaryLogNameWithoutCase();
    void keepsUnreadableTemporaryLog();
    void reportsSaveFailures_data();
    void reportsSaveFailures();
    void failedWriteKeepsPreviousFileWhole();
    void lockAdmitsOneCopyPerFolder();
    void lockLeftBehind_data();
    void lockLeftBehind();
    void lockTellsOfFolderThatCannotBeMade();
    void lockRemovesOnlyInterruptedWrites();
    void lockRemovesInterruptedWritesBesideLinkedLog();
    void lockTakenWhereTurnLocksAreRefused();
    void lockRemovesOnlyItsOwnOrdinaryFiles();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString logPath() const { return m_dir->filePath(u"adif"_s); }
};

void TestLogFolder::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestLogFolder::standardFolderIsInHome_data()
{
    QTest::addColumn<QByteArray>("home"); // "-" for no HOME at all
    QTest::addColumn<QString>("folder"); // "~" for the home of the user list
    QTest::addColumn<QString>("failure");
#ifdef Q_OS_UNIX
    QTest::newRow("home") << QByteArray("/home/k1ab") << u"/home/k1ab/adif"_s << QString();
    QTest::newRow("utf8-name") << QByteArray("/home/caf\xc3\xa9") << u"/home/café/adif"_s
                               << QString();
    QTest::newRow("latin1-name")
        << QByteArray("/home/caf\xe9") << QString()
        << u"Could not use the home folder /home/caf\\xE9: its name is not UTF-8 text"_s;
    QTest::newRow("no-home") << QByteArray("-") << u"~"_s << QString();
    QTest::newRow("root") << QByteArray("/") << QString()
                          << u"Quillog cannot tell where its log folder is"_s;
#else
    QTest::newRow("fixed") << QByteArray("-") << u"C:/adif"_s << QString();
#endif
}

void TestLogFolder::standardFolderIsInHome()
{
    QFETCH(QByteArray, home);
    QFETCH(QString, folder);
    QFETCH(QString, failure);
    const QByteArray previous = qgetenv("HOME");
    const auto restore = qScopeGuard([&] { qputenv("HOME", previous); });
    if (home == "-") {
        qunsetenv("HOME");
    } else {
        qputenv("HOME", home);
    }
#ifdef Q_OS_UNIX
    if (folder == u"~") {
        const passwd *entry = ::getpwuid(::geteuid());
        QVERIFY(entry);
        folder = QFile::decodeName(entry->pw_dir) + u"/adif"_s;
    }
#endif
    const FileResult<LogFolder> standard = LogFolder::standard();
    QVERIFY2(standard.error.startsWith(failure), qPrintable(standard.error));
    QCOMPARE(standard.value.path(), folder);
}

void TestLogFolder::createsMissingFolderAtStartUp()
{
    const LogFolder folder(logPath());
    const FileOutcome outcome = ensureLogFolder(folder);
    QVERIFY2(outcome.ok(), qPrintable(outcome.error));
    QVERIFY(QFileInfo(logPath()).isDir());
    QCOMPARE(entryNames(logPath()), QStringList());
}

void TestLogFolder::leavesExistingFolderAsItIs()
{
    QVERIFY(QDir().mkpath(logPath()));
    writeBytes(logPath() + u"/notes.txt"_s, "keep");
    QVERIFY(ensureLogFolder(LogFolder(logPath())).ok());
    QCOMPARE(entryNames(logPath()), QStringList { u"notes.txt"_s });
    QCOMPARE(readBytes(logPath() + u"/notes.txt"_s), "keep");
}

void TestLogFolder::reportsFileInPlaceOfFolder()
{
    writeBytes(logPath(), "not a folder");
    const LogFolder folder(logPath());
    const FileOutcome outcome = ensureLogFolder(folder);
    QVERIFY(!outcome.ok());
    QVERIFY2(
        outcome.error.contains(QDir::toNativeSeparators(logPath())), qPrintable(outcome.error));
    QVERIFY(outcome.error.startsWith(u"Could not create the log folder"_s));
    QCOMPARE(outcome.message().style, MessageStyle::Error);
    QCOMPARE(readBytes(logPath()), "not a folder");
}

void TestLogFolder::roundTripGivesSameLogText()
{
    QVERIFY(QDir().mkpath(logPath()));
    const LogFolder folder(logPath());
    const QString logText = u"<CALL:4>K1AB<QSO_DATE:8:D>20261207<TIME_ON:4>0930<BAND:3>20m"
                            "<MODE:2>CW<RST_SENT:3>599<EOR>\r\n"
                            "<CALL:6>DL1ABC<QSO_DATE:8:D>20261207<TIME_ON:4>0945<BAND:3>40m"
                            "<MODE:3>SSB<RST_SENT:2>59<EOR>\r\n"_s;
    QVERIFY(saveTemporaryLog(folder, logText).ok());
    QCOMPARE(readBytes(logPath() + u"/log.pnd"_s), logText.toLatin1() + "\r\n");

    const auto loaded = loadTemporaryLog(folder);
    QVERIFY(loaded.ok());
    QCOMPARE(loaded.value, logText);
    QCOMPARE(countRecords(*loaded.value), 2);

    // Saving what was loaded changes nothing on disk.
    QVERIFY(saveTemporaryLog(folder, *loaded.value).ok());
    QCOMPARE(readBytes(logPath() + u"/log.pnd"_s), logText.toLatin1() + "\r\n");
}

void TestLogFolder::loadsFileContents_data()
{
    QTest::addColumn<QByteArray>("fileBytes");
    QTest::addColumn<QString>("logText");
    QTest::addColumn<int>("count");

    QTest::newRow("final-empty-line")
        << QByteArray("A<EOR>\r\nB<EOR>\r\n\r\n") << u"A<EOR>\r\nB<EOR>\r\n"_s << 2;
    QTest::newRow("two-empty-lines")
        << QByteArray("A<EOR>\r\n\r\n\r\nB<EOR>\r\n") << u"A<EOR>\r\n\r\nB<EOR>\r\n"_s << 2;
    QTest::newRow("three-line-ends-at-end")
        << QByteArray("A<EOR>\r\n\r\n\r\n") << u"A<EOR>\r\n\r\n"_s << 1;
    QTest::newRow("no-marker") << QByteArray("just a note\r\n\r\n") << u"just a note\r\n"_s << 0;
    QTest::newRow("no-final-line-end") << QByteArray("A<EOR>") << u"A<EOR>\r\n"_s << 1;
    QTest::newRow("lone-line-feeds")
        << QByteArray("A<eor>\nB<EOR>\n\n") << u"A<eor>\r\nB<EOR>\r\n"_s << 2;
    QTest::newRow("lone-carriage-returns")
        << QByteArray("A<EOR>\rB<EOR>\r\r") << u"A<EOR>\r\nB<EOR>\r\n"_s << 2;
    QTest::newRow("four-mixed-line-ends") << QByteArray("A\n\r\r\n\rB") << u"A\r\n\r\nB\r\n"_s << 0;
    QTest::newRow("empty-file") << QByteArray() << QString() << 0;
    QTest::newRow("latin1-bytes") << QByteArray("<MODE:4>\xe9t\xe9\xff<EOR>\r\n\r\n")
                                  << u"<MODE:4>été\u00ff<EOR>\r\n"_s << 1;
}

void TestLogFolder::loadsFileContents()
{
    QFETCH(QByteArray, fileBytes);
    QFETCH(QString, logText);
    QFETCH(int, count);
    QVERIFY(QDir().mkpath(logPath()));
    writeBytes(logPath() + u"/log.pnd"_s, fileBytes);

    const auto loaded = loadTemporaryLog(LogFolder(logPath()));
    QVERIFY(loaded.ok());
    QCOMPARE(loaded.value, logText);
    QCOMPARE(countRecords(*loaded.value), count);
}

void TestLogFolder::loadsNothingWithoutTemporaryLog()
{
    QVERIFY(QDir().mkpath(logPath() + u"/log.pnd"_s)); // a folder of that name is no log
    const auto loaded = loadTemporaryLog(LogFolder(logPath()));
    QVERIFY(loaded.ok());
    QVERIFY(!loaded.value);

    const auto missingFolder = loadTemporaryLog(LogFolder(logPath() + u"/gone"_s));
    QVERIFY(missingFolder.ok());
    QVERIFY(!missingFolder.value);
}

void TestLogFolder::emptyLogTextLeavesOldTemporaryLog()
{
    QVERIFY(QDir().mkpath(logPath()));
    writeBytes(logPath() + u"/log.pnd"_s, "old<EOR>\r\n\r\n");
    QVERIFY(saveTemporaryLog(LogFolder(logPath()), QString()).ok());
    QCOMPARE(readBytes(logPath() + u"/log.pnd"_s), "old<EOR>\r\n\r\n");
}

void TestLogFolder::writesLatin1Bytes()
{
    QVERIFY(QDir().mkpath(logPath()));
    const LogFolder folder(logPath());
    QVERIFY(saveTemporaryLog(folder, u"<MODE:4>Ä€ßx<EOR>\r\n"_s).ok());
    // One byte per character, so the declared length still matches; the euro sign is no Latin-1.
    QCOMPARE(readBytes(logPath() + u"/log.pnd"_s), QByteArray("<MODE:4>\xc4?\xdfx<EOR>\r\n\r\n"));
    QCOMPARE(loadTemporaryLog(folder).value, u"<MODE:4>Ä?ßx<EOR>\r\n"_s);
}

void TestLogFolder::matchesTemporaryLogNameWithoutCase()
{
    QVERIFY(QDir().mkpath(logPath()));
    writeBytes(logPath() + u"/LOG.PND"_s, "A<EOR>\r\n\r\n");
    const LogFolder folder(logPath());
    QCOMPARE(loadTemporaryLog(folder).value, u"A<EOR>\r\n"_s);
    QVERIFY(saveTemporaryLog(folder, u"B<EOR>\r\n"_s).ok());
    QCOMPARE(entryNames(logPath()), QStringList { u"LOG.PND"_s });
    QCOMPARE(readBytes(logPath() + u"/LOG.PND"_s), "B<EOR>\r\n\r\n");
    // Named as the folder finds it: where names compare without case, either name leads there.
    QVERIFY(temporaryLogUpdatedMessage(folder).endsWith(u"LOG.PND"_s, Qt::CaseInsensitive));
}

void TestLogFolder::keepsUnreadableTemporaryLog()
{
#ifdef Q_OS_UNIX
    if (::geteuid() == 0) {
        QSKIP("permission bits do not stop root from reading");
    }
#else
    QSKIP("needs Unix permission bits");
#endif
    QVERIFY(QDir().mkpath(logPath()));
    const QString path = logPath() + u"/log.pnd"_s;
    writeBytes(path, "old<EOR>\r\n\r\n");
    QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
    const auto restore = qScopeGuard(
        [&] { QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner); });

    const LogFolder folder(logPath());
    QVERIFY(!loadTemporaryLog(folder).ok());
    const FileOutcome saved = saveTemporaryLog(folder, u"new<EOR>\r\n"_s);
    QVERIFY(!saved.ok());
    QVERIFY(saved.error.contains(u"cannot be read"_s));
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QCOMPARE(readBytes(path), "old<EOR>\r\n\r\n");
}

void TestLogFolder::reportsSaveFailures_data()
{
    QTest::addColumn<QString>("obstacle");
    QTest::newRow("folder-removed") << u"removed"_s;
    QTest::newRow("folder-in-place-of-log") << u"folder-as-log"_s;
    QTest::newRow("file-in-place-of-folder") << u"file-as-folder"_s;
}

void TestLogFolder::reportsSaveFailures()
{
    QFETCH(QString, obstacle);
    if (obstacle == u"folder-as-log") {
        QVERIFY(QDir().mkpath(logPath() + u"/log.pnd"_s));
    } else if (obstacle == u"file-as-folder") {
        writeBytes(logPath(), "in the way");
    }
    const LogFolder folder(logPath());
    const FileOutcome outcome = saveTemporaryLog(folder, u"A<EOR>\r\n"_s);
    QVERIFY(!outcome.ok());
    QVERIFY2(outcome.error.startsWith(u"Could not write the temporary log "_s
                 + QDir::toNativeSeparators(logPath() + u"/log.pnd: "_s)),
        qPrintable(outcome.error));
    // Whatever stood there before is still there, and nothing was left half-written beside it.
    if (obstacle == u"folder-as-log") {
        QVERIFY(QFileInfo(logPath() + u"/log.pnd"_s).isDir());
        QCOMPARE(entryNames(logPath()), QStringList { u"log.pnd"_s });
    } else if (obstacle == u"file-as-folder") {
        QCOMPARE(readBytes(logPath()), "in the way");
    } else {
        QVERIFY(!QFileInfo::exists(logPath()));
    }
}

void TestLogFolder::failedWriteKeepsPreviousFileWhole()
{
#ifdef Q_OS_UNIX
    QVERIFY(QDir().mkpath(logPath()));
    const QString path = logPath() + u"/log.pnd"_s;
    writeBytes(path, "old<EOR>\r\n\r\n");
    const QString logText = QString(u"<CALL:4>K1AB<EOR>\r\n"_s).repeated(150);
    FileOutcome outcome;
    {
        const FileSizeLimit limit(1024); // the disk fills up part-way through the write
        outcome = saveTemporaryLog(LogFolder(logPath()), logText);
    }
    QVERIFY(!outcome.ok());
    QVERIFY2(outcome.error.startsWith(
                 u"Could not write the temporary log "_s + QDir::toNativeSeparators(path) + ": "),
        qPrintable(outcome.error));
    QCOMPARE(readBytes(path), "old<EOR>\r\n\r\n");
    QCOMPARE(entryNames(logPath()), QStringList { u"log.pnd"_s });
#else
    QSKIP("needs a Unix file size limit");
#endif
}

void TestLogFolder::lockAdmitsOneCopyPerFolder()
{
    const LogFolder folder(logPath());
    auto first = std::make_unique<LogFolderLock>(folder);
    QVERIFY(!first->startRefused());
    QVERIFY(QFileInfo(logPath()).isDir()); // made on the way, as at the first start
    const LogFolderLock second(folder);
    QVERIFY(second.startRefused());
    QCOMPARE(second.message(),
        (UserMessage { MessageStyle::Information,
            u"Quillog is already running with the log folder "_s
                + QDir::toNativeSeparators(logPath()) }));
    QVERIFY(!LogFolderLock(LogFolder(m_dir->filePath(u"other"_s))).startRefused());

    first.reset(); // the first copy ends
    const LogFolderLock next(folder);
    QVERIFY(!next.startRefused());
    QVERIFY(next.message().text.isEmpty());
}

void TestLogFolder::lockLeftBehind_data()
{
    QTest::addColumn<QByteArray>("lockContent"); // "/" for a folder in the lock's place
    QTest::addColumn<bool>("held");
    QTest::addColumn<QString>("message"); // a part of what the operator is told
    QTest::newRow("empty") << QByteArray() << false << QString();
    QTest::newRow("garbage") << QByteArray("\x01not a lock\n") << false << QString();
    // Left by an earlier process that had this one's number: numbers are used again.
    QTest::newRow("own-number") << QByteArray::number(QCoreApplication::applicationPid()) + '\n'
            + QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toUtf8() + '\n'
            + QSysInfo::machineHostName().toUtf8()
            + '\n' << false << QString();
    QTest::newRow("other-computer") << QByteArray("4242\nquillog\nfaraway.example\n") << true
                                    << u"on the computer faraway.example. If it no longer runs "
                                       "there, remove the lock file "_s;
    QTest::newRow("folder") << QByteArray("/") << false
                            << u"so it cannot keep a second copy from running"_s;
}

void TestLogFolder::lockLeftBehind()
{
    QFETCH(QByteArray, lockContent);
    QFETCH(bool, held);
    QFETCH(QString, message);
    const QString lockPath = logPath() + u"/.quillog.lock"_s;
    QVERIFY(QDir().mkpath(lockContent == "/" ? lockPath : logPath()));
    if (lockContent != "/") {
        writeBytes(lockPath, lockContent);
    }
    const LogFolderLock lock { LogFolder(logPath()) };
    QCOMPARE(lock.startRefused(), held);
    if (message.isEmpty()) {
        QVERIFY2(lock.message().text.isEmpty(), qPrintable(lock.message().text));
        QVERIFY(LogFolderLock(LogFolder(logPath())).startRefused()); // it is ours now
    } else {
        QCOMPARE(lock.message().style, MessageStyle::Information);
        QVERIFY2(lock.message().text.contains(message), qPrintable(lock.message().text));
        QVERIFY(lock.message().text.contains(QDir::toNativeSeparators(lockPath)));
        QVERIFY(
            lockContent == "/" ? QFileInfo(lockPath).isDir() : readBytes(lockPath) == lockContent);
    }
}

void TestLogFolder::lockTellsOfFolderThatCannotBeMade()
{
    writeBytes(logPath(), "a file where the folder belongs");
    const LogFolderLock lock { LogFolder(logPath()) };
    QVERIFY(!lock.startRefused()); // the program opens, to show what it can
    QCOMPARE(lock.message().style, MessageStyle::Error);
    QVERIFY2(lock.message().text.startsWith(u"Could not create the log folder "_s),
        qPrintable(lock.message().text));
}

void TestLogFolder::lockRemovesOnlyInterruptedWrites()
{
    // What a cut-short write of the temporary log leaves, and names an operator gives copies (one
    // of a name in any case, as the folder may compare them without it).
    QVERIFY(QDir().mkpath(logPath()));
    const auto inFolder = [this](const QString &name) { return logPath() + u'/' + name; };
    const QStringList leftovers { u".log.pnd.quillog-AbCdEf"_s, u".LOG.PND.quillog-x1Y2z3"_s };
    QStringList kept { u"log.pnd.before"_s, u"LOG.PND.Backup"_s, u"log_09Dec2026.adi.backup"_s,
        u"log_contest.adi.backup"_s, u"Log_Field2026.ADI.copy01"_s, u"log.pnd.AbCdEf"_s,
        u".log.pnd.quillog-AbCd!f"_s, u".log.pnd.quillog-AbCdE"_s, u"log.pnd.quillog-AbCdEf"_s,
        u".notes.txt.quillog-AbCdEf"_s, u".log.pnd.quillog-FolDer"_s, u".quillog.lock"_s };
    for (const QString &name : leftovers + kept.first(10)) {
        writeBytes(inFolder(name), "x");
    }
    QVERIFY(QDir().mkpath(inFolder(u".log.pnd.quillog-FolDer"_s)));

    const LogFolderLock lock { LogFolder(logPath()) };
    writeBytes(inFolder(leftovers.first()), "x"); // a write of the copy that runs, under way
    QVERIFY(LogFolderLock(LogFolder(logPath())).startRefused());
    kept << leftovers.first();
    QStringList names = entryNames(logPath());
    names.sort();
    kept.sort();
    QCOMPARE(names, kept);
}

void TestLogFolder::lockRemovesInterruptedWritesBesideLinkedLog()
{
#ifdef Q_OS_UNIX
    // The temporary log is a link: a Save writes beside the file it leads to.
    QVERIFY(QDir().mkpath(logPath()));
    QTemporaryDir elsewhere;
    writeBytes(elsewhere.filePath(u"list.pnd"_s), "A<EOR>\r\n\r\n");
    QVERIFY(QFile::link(elsewhere.filePath(u"list.pnd"_s), logPath() + u"/log.pnd"_s));
    QVERIFY(QFile::link(logPath() + u"/log.pnd"_s, logPath() + u"/.log.pnd.quillog-LinkAb"_s));
    writeBytes(elsewhere.filePath(u".list.pnd.quillog-Qw3rTy"_s), "x");
    writeBytes(elsewhere.filePath(u"list.pnd.backup"_s), "x");

    const LogFolderLock lock { LogFolder(logPath()) };
    QCOMPARE(entryNames(logPath()),
        (QStringList { u".log.pnd.quillog-LinkAb"_s, u".quillog.lock"_s, u"log.pnd"_s }));
    QCOMPARE(entryNames(elsewhere.path()), (QStringList { u"list.pnd"_s, u"list.pnd.backup"_s }));
#else
    QSKIP("needs Unix links");
#endif
}

void TestLogFolder::lockTakenWhereTurnLocksAreRefused()
{
    // A copy ended during its turn and left its turn file; the lock it took is left too.
    refuseTurnLocksForTests(true);
    const auto restore = qScopeGuard([] { refuseTurnLocksForTests(false); });
    QVERIFY(QDir().mkpath(logPath()));
    const QByteArray gone = "4194303\n" + QSysInfo::machineHostName().toUtf8() + '\n';
    writeBytes(logPath() + u"/.quillog.turn"_s, gone);
    writeBytes(logPath() + u"/.quillog.lock"_s, "4194303\nquillog\n" + gone.sliced(8));
    const LogFolderLock lock { LogFolder(logPath()) };
    QVERIFY(!lock.startRefused());
    // The turn file that was left is gone, not merely waited out.
    QCOMPARE(entryNames(logPath()), QStringList { u".quillog.lock"_s });
    QVERIFY(LogFolderLock(LogFolder(logPath())).startRefused());
}

void TestLogFolder::lockRemovesOnlyItsOwnOrdinaryFiles()
{
#ifdef Q_OS_UNIX
    // Named like leftovers, but no file a write of the program made: kept.
    QVERIFY(QDir().mkpath(logPath()));
    const auto inFolder = [this](const QString &name) { return logPath() + u'/' + name; };
    QTemporaryDir elsewhere;
    writeBytes(elsewhere.filePath(u"kept"_s), "x");
    QVERIFY(::mkfifo(QFile::encodeName(inFolder(u".log.pnd.quillog-Fifo12"_s)), 0600) == 0);
    QVERIFY(QFile::link(elsewhere.filePath(u"gone"_s), inFolder(u".log.pnd.quillog-Link12"_s)));
    QVERIFY(::link(QFile::encodeName(elsewhere.filePath(u"kept"_s)),
                QFile::encodeName(inFolder(u".log.pnd.quillog-Hard12"_s)))
        == 0);
    // Left by starts that ended on the way: Qt's marker of a lock being removed, and a claim on a
    // turn file long gone.
    writeBytes(inFolder(u".quillog.lock.rmlock"_s), "4194303\nquillog\nelsewhere\n");
    writeBytes(inFolder(u".quillog.turn-claim-1-2-3-4"_s), "");
    QFile claim(inFolder(u".quillog.turn-claim-1-2-3-4"_s));
    QVERIFY(claim.open(QIODevice::ReadWrite));
    QVERIFY(
        claim.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFile::FileModificationTime));
    claim.close();

    const LogFolderLock lock { LogFolder(logPath()) };
    QVERIFY(!lock.startRefused());
    QCOMPARE(entryNames(logPath()),
        (QStringList { u".log.pnd.quillog-Fifo12"_s, u".log.pnd.quillog-Hard12"_s,
            u".log.pnd.quillog-Link12"_s, u".quillog.lock"_s }));
#else
    QSKIP("needs Unix FIFOs and links");
#endif
}

QTEST_GUILESS_MAIN(TestLogFolder)
#include "tst_logfolder.moc"

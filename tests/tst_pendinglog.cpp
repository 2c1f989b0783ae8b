// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "filehelpers.h"
#include "logfiles/dailylog.h"
#include "logfiles/pendinglog.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {
const QString record = u"<CALL:4>K1AB<QSO_DATE:8:D>20150703<TIME_ON:4>0905<EOR>\r\n"_s;
const QByteArray recordBytes = record.toLatin1();

// A child process opens the file to read it, sharing it for reading only, as backup, sync and
// indexing tools do, says so, and holds it for the time given.
int holdFile(const QString &path, int milliseconds)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return 1;
    }
    std::printf("held\n");
    std::fflush(stdout);
    QThread::msleep(milliseconds);
    return 0;
}
} // namespace

// When the list reaches the temporary log. The list is a text here; the window's part (telling
// of every change, emptying the list when told) is played by the fixture.
class TestPendingLog : public QObject {
    Q_OBJECT

private slots:
    void init();
    void handEditIsWrittenWhenTypingPauses();
    void failedWriteIsToldOnceAndRetried();
    void failedSaveIsWrittenAtTheEnd();
    void nothingWrittenBackAfterGenerateLog();
    void heldTemporaryLogIsWaitedOut_data();
    void heldTemporaryLogIsWaitedOut();

private:
    QString temporaryLog() const { return m_dir->filePath(u"log.pnd"_s); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<PendingLog> m_pending;
    QString m_logText;
    QList<UserMessage> m_told;
    std::function<void()> m_whileTelling; // runs as if while a message box is open
};

void TestPendingLog::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_logText.clear();
    m_told.clear();
    m_whileTelling = {};
    m_pending
        = std::make_unique<PendingLog>(LogFolder(m_dir->path()), [this] { return m_logText; });
    connect(m_pending.get(), &PendingLog::tell, this, [this](const UserMessage &message) {
        m_told << message;
        if (m_whileTelling) {
            m_whileTelling();
        }
    });
    // Emptying the list is a change of it, as in the window.
    connect(m_pending.get(), &PendingLog::handedOver, this, [this] {
        m_logText.clear();
        m_pending->editedByHand();
    });
}

void TestPendingLog::handEditIsWrittenWhenTypingPauses()
{
    m_logText = record;
    m_pending->recordSaved();
    m_logText += u"note"_s;
    m_pending->editedByHand();
    // No keystroke writes; one write follows once the typing pauses, well within 2 s.
    QCOMPARE(readBytes(temporaryLog()), recordBytes + "\r\n");
    QVERIFY(m_pending->isWriteWaiting());
    QVERIFY(m_pending->typingPause() <= std::chrono::seconds(2));
    m_pending->writeWaitingEdit();
    QVERIFY(!m_pending->isWriteWaiting());
    QCOMPARE(readBytes(temporaryLog()), recordBytes + "note\r\n");

    // Emptying the list by hand leaves the temporary log as it was.
    m_logText.clear();
    m_pending->editedByHand();
    m_pending->writeWaitingEdit();
    QCOMPARE(readBytes(temporaryLog()), recordBytes + "note\r\n");
    QVERIFY(m_told.isEmpty());
}

void TestPendingLog::failedWriteIsToldOnceAndRetried()
{
#ifdef Q_OS_UNIX
    m_logText = record;
    m_pending->recordSaved();
    {
        const FileSizeLimit limit(record.size() + 10); // the disk is full after one record
        m_logText += record;
        m_pending->recordSaved();
        m_logText += record;
        m_pending->recordSaved();
        m_pending->editedByHand();
        m_pending->writeWaitingEdit();
        QCOMPARE(m_told.size(), 1);
        QCOMPARE(m_told.first().style, MessageStyle::Error);
        QVERIFY2(m_told.first().text.contains(QDir::toNativeSeparators(temporaryLog())),
            qPrintable(m_told.first().text));
        QCOMPARE(readBytes(temporaryLog()), recordBytes + "\r\n");
        QCOMPARE(entryNames(m_dir->path()), QStringList { u"log.pnd"_s });

        // Exit asks for the save, so it is told again, and the window must stay.
        QVERIFY(!m_pending->saveBeforeClosing());
        QCOMPARE(m_told.size(), 2);
        QCOMPARE(m_told.last().style, MessageStyle::Error);
    }
    // Room again: the next change writes the whole list, and nothing more is told.
    m_logText += record;
    m_pending->recordSaved();
    QCOMPARE(m_told.size(), 2);
    QCOMPARE(readBytes(temporaryLog()), (record + record + record + record + u"\r\n"_s).toLatin1());
#else
    QSKIP("needs a Unix file size limit");
#endif
}

void TestPendingLog::failedSaveIsWrittenAtTheEnd()
{
#ifdef Q_OS_UNIX
    m_logText = record;
    {
        const FileSizeLimit limit(10); // the disk is full
        m_pending->recordSaved();
    }
    m_pending->saveQuietly(); // room again as the session ends
    QCOMPARE(readBytes(temporaryLog()), recordBytes + "\r\n");
#else
    QSKIP("needs a Unix file size limit");
#endif
}

void TestPendingLog::nothingWrittenBackAfterGenerateLog()
{
    m_logText = record;
    m_pending->recordSaved();
    m_logText += u" "_s;
    m_pending->editedByHand(); // a write now waits for the typing to pause
    // While the confirmation is open, that write comes due and the session ends.
    m_whileTelling = [this] {
        m_pending->writeWaitingEdit();
        m_pending->saveQuietly();
    };
    const QDate day(2026, 12, 7);
    m_pending->generateDailyLog(day, QLocale::system());
    QCOMPARE(m_told, QList<UserMessage> { dailyLogCreatedMessage(LogFolder(m_dir->path())) });
    QCOMPARE(entryNames(m_dir->path()),
        QStringList { "log_"_L1 + dailyLogStamp(day, QLocale::system()) + ".adi"_L1 });
    QVERIFY(!m_pending->isWriteWaiting());
}

void TestPendingLog::heldTemporaryLogIsWaitedOut_data()
{
    QTest::addColumn<int>("holdMilliseconds");
    QTest::addColumn<int>("told");
    QTest::newRow("a-moment") << 200 << 0;
    QTest::newRow("three-seconds") << 3000 << 1;
}

void TestPendingLog::heldTemporaryLogIsWaitedOut()
{
    QFETCH(int, holdMilliseconds);
    QFETCH(int, told);
#ifndef Q_OS_WIN
    if (told > 0) {
        QSKIP("a file another program holds open can be renamed over on Unix");
    }
#endif
    m_logText = record;
    m_pending->recordSaved();
    QProcess holder;
    holder.start(QCoreApplication::applicationFilePath(),
        { u"--hold"_s, temporaryLog(), QString::number(holdMilliseconds) });
    QVERIFY(holder.waitForReadyRead(10000));

    // Saves while it is held: a moment is waited out; a longer hold is told once.
    m_logText += record;
    m_pending->recordSaved();
    QCOMPARE(m_told.size(), told);
    if (told == 0) {
        QCOMPARE(readBytes(temporaryLog()), (record + record + u"\r\n"_s).toLatin1());
    }
    m_logText += record;
    m_pending->recordSaved();
    QVERIFY(holder.waitForFinished(10000));
    // Let go: the next Save writes every record, and nothing more is told.
    m_logText += record;
    m_pending->recordSaved();
    QCOMPARE(m_told.size(), told);
    QCOMPARE(readBytes(temporaryLog()), (record.repeated(4) + u"\r\n"_s).toLatin1());
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--hold") == 0) {
        return holdFile(QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]));
    }
    TestPendingLog test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_pendinglog.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "filehelpers.h"
#include "logfiles/pendinglog.h"
#include "window/terminationsignals.h"

#include <QProcess>
#include <QTemporaryDir>

#include <csignal>

using namespace Qt::StringLiterals;

// Stops a program that holds a change not yet written, from outside, the way a log-out, a closed
// terminal or Ctrl+C does: it runs in a child process of this test.
class TestTermination : public QObject {
    Q_OBJECT

private slots:
    void signalWritesUnsavedChange_data();
    void signalWritesUnsavedChange();
};

namespace {

const QByteArray record = "<CALL:4>K1AB<QSO_DATE:8:D>20150703<TIME_ON:4>0905<BAND:3>10m"
                          "<MODE:3>SSB<RST_SENT:2>59<EOR>\r\n";

// The child: one Save, then a hand edit that waits for the typing to pause, then "ready". What the
// operator would be told goes to standard output instead.
int runChild(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QString logText = QString::fromLatin1(record);
    PendingLog pending(LogFolder(QString::fromLocal8Bit(argv[2])), [&logText] { return logText; });
    // However slow this machine, the edit must be left for the signal to write.
    pending.setTypingPause(std::chrono::hours(1));
    QObject::connect(&pending, &PendingLog::tell, [](const UserMessage &message) {
        std::printf("message %s\n", qPrintable(message.text));
        std::fflush(stdout);
    });
    endQuietlyOnTermination(pending);
    pending.recordSaved();
    logText += u"edit"_s;
    pending.editedByHand();
    std::printf("ready\n");
    std::fflush(stdout);
    return app.exec();
}

} // namespace

void TestTermination::signalWritesUnsavedChange_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGHUP") << int(SIGHUP);
    QTest::newRow("SIGINT") << int(SIGINT);
}

void TestTermination::signalWritesUnsavedChange()
{
    QFETCH(int, signalNumber);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), { u"--child"_s, dir.path() });
    QVERIFY2(child.waitForStarted(), qPrintable(child.errorString()));
    QVERIFY(child.waitForReadyRead(20000));
    QTRY_VERIFY_WITH_TIMEOUT(child.canReadLine(), 20000);
    QCOMPARE(child.readLine(), "ready\n");
    QCOMPARE(readBytes(dir.filePath(u"log.pnd"_s)), record + "\r\n");

    ::kill(pid_t(child.processId()), signalNumber);
    QVERIFY(child.waitForFinished(10000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);
    QCOMPARE(child.readAllStandardOutput(), QByteArray()); // no box was shown
    QCOMPARE(readBytes(dir.filePath(u"log.pnd"_s)), record + "edit\r\n");
}

int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--child") == 0) {
        return runChild(argc, argv);
    }
    QCoreApplication app(argc, argv);
    TestTermination test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_termination.moc"

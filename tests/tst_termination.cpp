// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "filehelpers.h"
#include "logfiles/pendinglog.h"
#include "window/terminationsignals.h"

#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QWindow>

#include <csignal>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

using namespace Qt::StringLiterals;

// Stops a program that holds a change not yet written, from outside, the way a log-out, a closed
// terminal or Ctrl+C does on Unix, and the end of the session on Windows: it runs in a child
// process of this test.
class TestTermination : public QObject {
    Q_OBJECT

private slots:
    void signalWritesUnsavedChange_data();
    void signalWritesUnsavedChange();
};

namespace {

const QByteArray record = "<CALL:4>K1AB<QSO_DATE:8:D>20150703<TIME_ON:4>0905<BAND:3>10m"
                          "<MODE:3>SSB<RST_SENT:2>59<EOR>\r\n";

// The title of the child's window, by which the end of the session finds it.
QString childWindowTitle(qint64 processId)
{
    return u"quillog-termination-%1"_s.arg(processId);
}

// The child: one Save, then a hand edit that waits for the typing to pause, then "ready". What the
// operator would be told goes to standard output instead. On Windows the end of the session comes
// to a program's windows, so it has one, never shown.
int runChild(int argc, char *argv[])
{
#ifdef Q_OS_WIN
    qputenv("QT_QPA_PLATFORM", "windows"); // a window the system's messages reach
#endif
    QGuiApplication app(argc, argv);
    QWindow window;
    window.setTitle(childWindowTitle(QCoreApplication::applicationPid()));
    window.create();
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

// Tells the child to end as the system does: the signal on Unix; on Windows the two messages a
// log-off sends every window, after the first of which the change must already be on disk.
void endFromOutside(QProcess &child, int signalNumber, const QString &logPath)
{
#ifdef Q_OS_WIN
    Q_UNUSED(signalNumber);
    const HWND window = ::FindWindowW(
        nullptr, reinterpret_cast<LPCWSTR>(childWindowTitle(child.processId()).utf16()));
    QVERIFY(window);
    DWORD_PTR answer = 0;
    QVERIFY(::SendMessageTimeoutW(
        window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 10000, &answer));
    QCOMPARE(answer, DWORD_PTR(TRUE)); // the session may end
    QCOMPARE(readBytes(logPath), record + "edit\r\n");
    QCOMPARE(child.state(), QProcess::Running); // the end may still be called off
    ::SendMessageTimeoutW(
        window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 10000, &answer);
#else
    Q_UNUSED(logPath);
    ::kill(pid_t(child.processId()), signalNumber);
#endif
}

} // namespace

void TestTermination::signalWritesUnsavedChange_data()
{
    QTest::addColumn<int>("signalNumber"); // 0: the end of the Windows session
#ifdef Q_OS_WIN
    QTest::newRow("session-end") << 0;
#else
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGHUP") << int(SIGHUP);
    QTest::newRow("SIGINT") << int(SIGINT);
#endif
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
    QCOMPARE(child.readLine().trimmed(), "ready"); // CR LF on Windows
    QCOMPARE(readBytes(dir.filePath(u"log.pnd"_s)), record + "\r\n");

    endFromOutside(child, signalNumber, dir.filePath(u"log.pnd"_s));
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

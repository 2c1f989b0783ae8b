// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "logfiles/logfolderlock.h"

#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// Starts the real program as an operator would, with its home folder in a temporary folder.
class TestProgram : public QObject {
    Q_OBJECT

private slots:
    void startsAndCreatesLogFolder();
    void takesOverLockOfKilledCopy();

private:
    // The real program, with its home folder in the temporary folder.
    void start(QProcess &program, const QTemporaryDir &home);
};

void TestProgram::start(QProcess &program, const QTemporaryDir &home)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"HOME"_s, home.path());
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QStringLiteral(QUILLOG_EXECUTABLE), {});
    QVERIFY2(program.waitForStarted(), qPrintable(program.errorString()));
}

void TestProgram::startsAndCreatesLogFolder()
{
    QTemporaryDir home;
    QVERIFY(home.isValid());
    QProcess program;
    start(program, home);

    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(home.filePath(u"adif"_s)).isDir(), 10000);
    // Still running a moment later: the window is up and waiting for the operator.
    QVERIFY(!program.waitForFinished(500));
    QCOMPARE(program.state(), QProcess::Running);

    program.kill();
    QVERIFY(program.waitForFinished(5000));
}

void TestProgram::takesOverLockOfKilledCopy()
{
    QTemporaryDir home;
    QVERIFY(home.isValid());
    const LogFolder folder(home.filePath(u"adif"_s));
    QLockFile lockFile(home.filePath(u"adif/.quillog.lock"_s));
    const auto lockHolder = [&lockFile] {
        qint64 pid = 0;
        return lockFile.getLockInfo(&pid, nullptr, nullptr) ? pid : 0;
    };

    QProcess crashed;
    start(crashed, home);
    const qint64 crashedId = crashed.processId();
    QTRY_COMPARE_WITH_TIMEOUT(lockHolder(), crashedId, 10000);
    QVERIFY(LogFolderLock(folder).heldByAnotherCopy());
    crashed.kill(); // SIGKILL: no chance to remove its lock
    QVERIFY(crashed.waitForFinished(5000));
    QCOMPARE(lockHolder(), crashedId);

    // The next start finds the lock of a process that is gone, and takes it.
    QProcess next;
    start(next, home);
    QTRY_COMPARE_WITH_TIMEOUT(lockHolder(), next.processId(), 10000);
    QVERIFY(!next.waitForFinished(500));
    QVERIFY(LogFolderLock(folder).heldByAnotherCopy());
    next.kill();
    QVERIFY(next.waitForFinished(5000));
}

QTEST_GUILESS_MAIN(TestProgram)
#include "tst_program.moc"

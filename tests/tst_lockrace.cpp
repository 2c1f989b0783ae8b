// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "filehelpers.h"
#include "logfiles/logfolderlock.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

// A child process takes the folder's lock as the program does at start, says what came of it and
// holds it until its input closes.
int takeLockAndHold(const char *folder)
{
    const LogFolderLock lock(LogFolder(QString::fromLocal8Bit(folder)), 20ms);
    const char *state = lock.heldByAnotherCopy() ? "held"
        : lock.message().text.isEmpty()          ? "taken"
                                                 : "unavailable";
    std::printf("%s\n", state);
    std::fflush(stdout);
    while (std::getchar() != EOF) { }
    return 0;
}

} // namespace

// Starts that race for a lock nobody holds any more: exactly one of them may take it.
class TestLockRace : public QObject {
    Q_OBJECT

private slots:
    void oneOfRacingStartsTakesLock_data();
    void oneOfRacingStartsTakesLock();
};

void TestLockRace::oneOfRacingStartsTakesLock_data()
{
    QTest::addColumn<QByteArray>("lockContent"); // "-" for no lock at all
    QTest::newRow("no-lock") << QByteArray("-");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("garbage") << QByteArray("\x01not a lock\n");
    QTest::newRow("owner-gone") << "4194303\nquillog\n" + QSysInfo::machineHostName().toUtf8()
            + '\n';
}

void TestLockRace::oneOfRacingStartsTakesLock()
{
    QFETCH(QByteArray, lockContent);
    constexpr int rounds = 12;
    constexpr int starts = 3;
    for (int round = 0; round < rounds; ++round) {
        QTemporaryDir folder;
        if (lockContent != "-") {
            writeBytes(folder.filePath(u".quillog.lock"_s), lockContent);
        }
        std::array<QProcess, starts> copies;
        for (QProcess &copy : copies) {
            copy.start(QCoreApplication::applicationFilePath(), { u"--take"_s, folder.path() });
        }
        QStringList states;
        for (QProcess &copy : copies) {
            QVERIFY(copy.waitForReadyRead(10000));
            states << QString::fromLatin1(copy.readLine().trimmed());
        }
        for (QProcess &copy : copies) {
            copy.closeWriteChannel();
            QVERIFY(copy.waitForFinished(10000));
        }
        QVERIFY2(states.count(u"taken"_s) == 1 && states.count(u"held"_s) == starts - 1,
            qPrintable(u"round %1: "_s.arg(round) + states.join(u' ')));
    }
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--take") == 0) {
        return takeLockAndHold(argv[2]);
    }
    TestLockRace test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_lockrace.moc"

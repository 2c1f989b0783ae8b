// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "filehelpers.h"
#include "logfiles/logfolderlock.h"

#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QScopeGuard>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

// A child process takes the folder's lock as the program does at start, says what came of it and
// what the operator is told, and holds it until its input closes. Asked to, it does so where the
// file system refuses locks on folders, or as a user other than root, whom no permission stops.
int takeLockAndHold(const char *folder, const QStringList &options)
{
    refuseTurnLocksForTests(options.contains(u"--refuse-turn-locks"_s));
#ifdef Q_OS_UNIX
    if (options.contains(u"--not-as-root"_s) && ::geteuid() == 0
        && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
        return 1;
    }
#endif
    const LogFolderLock lock(LogFolder(QString::fromLocal8Bit(folder)), 20ms);
    std::printf("%s\t%s\n",
        lock.startRefused()                 ? "held"
            : lock.message().text.isEmpty() ? "taken"
                                            : "unavailable",
        qPrintable(lock.message().text));
    std::fflush(stdout);
    while (std::getchar() != EOF) { }
    return 0;
}

} // namespace

// Starts the real program as an operator would, with its home folder in a temporary folder, and
// several copies of this test at once that race for the folder's lock as the program does.
class TestProgram : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void startsAndCreatesLogFolder();
    void takesOverLockOfKilledCopy();
    // Starts that race for a lock nobody holds any more: exactly one of them may take it.
    void oneOfRacingStartsTakesLock_data();
    void oneOfRacingStartsTakesLock();
    void namesLockLeftInReadOnlyFolder();

private:
    // Where the real program keeps its log folder when its home folder is the one given: there on
    // Unix, C:\adif on Windows.
    static QString logFolder(const QTemporaryDir &home);
    // What a copy started with "--take" found, and what the operator would be told.
    static std::pair<QString, QString> takeOutcome(QProcess &copy);
    // The real program, with its home folder in the temporary folder.
    void start(QProcess &program, const QTemporaryDir &home);
};

QString TestProgram::logFolder(const QTemporaryDir &home)
{
#ifdef Q_OS_WIN
    Q_UNUSED(home);
    return u"C:/adif"_s;
#else
    return home.filePath(u"adif"_s);
#endif
}

void TestProgram::initTestCase()
{
#ifdef Q_OS_WIN
    if (QFileInfo::exists(u"C:/adif"_s)) {
        QSKIP("C:\\adif is there: the real program is started only where it would make its own, "
              "as in the Wine prefix the build gives these tests");
    }
#endif
}

void TestProgram::cleanup()
{
#ifdef Q_OS_WIN
    QDir(u"C:/adif"_s).removeRecursively(); // made by the program these tests started
#endif
}

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

    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(logFolder(home)).isDir(), 10000);
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
    const LogFolder folder(logFolder(home));
    QLockFile lockFile(logFolder(home) + u"/.quillog.lock"_s);
    const auto lockHolder = [&lockFile] {
        qint64 pid = 0;
        return lockFile.getLockInfo(&pid, nullptr, nullptr) ? pid : 0;
    };

    QProcess crashed;
    start(crashed, home);
    const qint64 crashedId = crashed.processId();
    QTRY_COMPARE_WITH_TIMEOUT(lockHolder(), crashedId, 10000);
    QVERIFY(LogFolderLock(folder).startRefused());
    crashed.kill(); // SIGKILL: no chance to remove its lock
    QVERIFY(crashed.waitForFinished(5000));
    QCOMPARE(lockHolder(), crashedId);

    // The next start finds the lock of a process that is gone, and takes it.
    QProcess next;
    start(next, home);
    QTRY_COMPARE_WITH_TIMEOUT(lockHolder(), next.processId(), 10000);
    QVERIFY(!next.waitForFinished(500));
    QVERIFY(LogFolderLock(folder).startRefused());
    next.kill();
    QVERIFY(next.waitForFinished(5000));
}

void TestProgram::oneOfRacingStartsTakesLock_data()
{
    QTest::addColumn<QByteArray>("lockContent"); // "-" for no lock at all
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("turnContent"); // a turn file left behind; "-" for none
    const QByteArray host = QSysInfo::machineHostName().toUtf8();
    const QByteArray ownerGone = "4194303\nquillog\n" + host + '\n';
    for (const QString &options : { QString(), u"--refuse-turn-locks"_s }) {
        const char *suffix = options.isEmpty() ? "" : "-turn-locks-refused";
        const QStringList list = options.isEmpty() ? QStringList() : QStringList { options };
        QTest::addRow("no-lock%s", suffix) << QByteArray("-") << list << QByteArray("-");
        QTest::addRow("empty%s", suffix) << QByteArray() << list << QByteArray("-");
        QTest::addRow("garbage%s", suffix)
            << QByteArray("\x01not a lock\n") << list << QByteArray("-");
        QTest::addRow("owner-gone%s", suffix) << ownerGone << list << QByteArray("-");
    }
    // Where the file system keeps no locks on folders, the turn is a file, and one is left: by a
    // copy that ended, by nobody (empty) or by a copy of another computer, and it has stood for
    // longer than any turn lasts. Whatever lock lies there too, one start opens.
    const std::pair<const char *, QByteArray> turns[] = { { "dead", "4194303\n" + host + '\n' },
        { "empty", "" }, { "foreign", "1234\nanother-computer\n" } };
    for (const auto &[turn, turnContent] : turns) {
        for (const QByteArray &lock :
            { QByteArray("-"), QByteArray("\x01not a lock\n"), ownerGone }) {
            QTest::addRow("%s-turn-file-%s-lock", turn,
                lock == "-"             ? "no"
                    : lock == ownerGone ? "dead"
                                        : "garbage")
                << lock << QStringList { u"--refuse-turn-locks"_s } << turnContent;
        }
    }
}

void TestProgram::oneOfRacingStartsTakesLock()
{
    QFETCH(QByteArray, lockContent);
    QFETCH(QStringList, options);
    QFETCH(QByteArray, turnContent);
    const int rounds = turnContent == "-" ? 12 : 20;
    const int starts = turnContent == "-" ? 3 : 5;
    for (int round = 0; round < rounds; ++round) {
        QTemporaryDir folder;
        const QString turn = folder.filePath(u".quillog.turn"_s);
        if (turnContent != "-") {
            writeBytes(turn, turnContent);
            QFile file(turn);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(
                QDateTime::currentDateTime().addSecs(-10), QFile::FileModificationTime));
        }
        if (lockContent != "-") {
            writeBytes(folder.filePath(u".quillog.lock"_s), lockContent);
        }
        std::vector<std::unique_ptr<QProcess>> copies;
        for (int i = 0; i < starts; ++i) {
            copies.push_back(std::make_unique<QProcess>());
            copies.back()->start(QCoreApplication::applicationFilePath(),
                QStringList { u"--take"_s, folder.path() } + options);
        }
        QStringList states;
        for (const auto &copy : copies) {
            states << takeOutcome(*copy).first;
        }
        for (const auto &copy : copies) { // each holds what it took until all have said theirs
            copy->closeWriteChannel();
            QVERIFY(copy->waitForFinished(10000));
        }
        QVERIFY2(states.count(u"taken"_s) == 1 && states.count(u"held"_s) == starts - 1,
            qPrintable(u"round %1: "_s.arg(round) + states.join(u' ')));
        // Every turn ended, and removed the file it had.
        QVERIFY(!QFileInfo::exists(turn));
    }
}

void TestProgram::namesLockLeftInReadOnlyFolder()
{
#ifdef Q_OS_UNIX
    QTemporaryDir home;
    const QString folder = home.filePath(u"adif"_s);
    const QString lockPath = folder + u"/.quillog.lock"_s;
    QVERIFY(QDir().mkpath(folder));
    const QByteArray lockContent
        = "4194303\nquillog\n" + QSysInfo::machineHostName().toUtf8() + '\n';
    writeBytes(lockPath, lockContent);
    // Another user may enter the folder, and nobody may change it.
    QVERIFY(::chmod(QFile::encodeName(home.path()), 0755) == 0);
    QVERIFY(::chmod(QFile::encodeName(folder), 0555) == 0);
    const auto restore = qScopeGuard([&] { ::chmod(QFile::encodeName(folder), 0755); });

    QProcess copy;
    copy.start(
        QCoreApplication::applicationFilePath(), { u"--take"_s, folder, u"--not-as-root"_s });
    const auto [state, message] = takeOutcome(copy);
    QCOMPARE(state, u"held"_s);
    QVERIFY2(message.contains(u"ended without removing its lock file "_s
                 + QDir::toNativeSeparators(lockPath) + u", and Quillog cannot remove it: "_s),
        qPrintable(message));
    copy.closeWriteChannel();
    QVERIFY(copy.waitForFinished(10000));
    QCOMPARE(readBytes(lockPath), lockContent);
#else
    QSKIP("needs Unix permissions");
#endif
}

std::pair<QString, QString> TestProgram::takeOutcome(QProcess &copy)
{
    if (!copy.canReadLine()) {
        copy.waitForReadyRead(10000);
    }
    const QStringList parts = QString::fromUtf8(copy.readLine().trimmed()).split(u'\t');
    return { parts.value(0), parts.value(1) };
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc >= 3 && qstrcmp(argv[1], "--take") == 0) {
        return takeLockAndHold(argv[2], app.arguments().mid(3));
    }
    TestProgram test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_program.moc"

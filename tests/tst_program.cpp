#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// Starts the real program as an operator would, with its home folder in a temporary folder.
class TestProgram : public QObject {
    Q_OBJECT

private slots:
    void startsAndCreatesLogFolder();
};

void TestProgram::startsAndCreatesLogFolder()
{
    QTemporaryDir home;
    QVERIFY(home.isValid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"HOME"_s, home.path());
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);

    QProcess program;
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QStringLiteral(QUILLOG_EXECUTABLE), {});
    QVERIFY2(program.waitForStarted(), qPrintable(program.errorString()));

    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(home.filePath(u"adif"_s)).isDir(), 10000);
    // Still running a moment later: the window is up and waiting for the operator.
    QVERIFY(!program.waitForFinished(500));
    QCOMPARE(program.state(), QProcess::Running);

    program.kill();
    QVERIFY(program.waitForFinished(5000));
}

QTEST_GUILESS_MAIN(TestProgram)
#include "tst_program.moc"

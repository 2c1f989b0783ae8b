// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

// Measures Quillog at scale: start-up, Save, keystrokes, Generate Log and peak memory, with
// generated pending records in a temporary folder. Prints a Markdown table of medians.
//
//   quillog-bench [runs]
//
// Start-up and memory are measured in fresh processes of this same program (started with
// --child), each building the real window the way the program's main() does; the parent times
// from starting the process until the child reports its window shown and the event queue idle.

#include "logfiles/logfolder.h"
#include "logfiles/pendinglog.h"
#include "logfiles/programname.h"
#include "record/entrychoices.h"
#include "record/logtext.h"
#include "record/qsorecord.h"
#include "window/mainwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// Varied, realistic contacts: many call-sign shapes, the whole band and mode lists, real dates.
QString pendingRecords(int count)
{
    QRandomGenerator random(7);
    const QStringList prefixes { "K", "W", "N", "DL", "G", "F", "EA", "I", "JA", "VK", "PY", "VE",
        "9A", "OH", "SP", "UA", "ZL", "LU", "HB9", "OK" };
    const QStringList bands = bandChoices();
    const QStringList modes = modeChoices();
    const QStringList months = monthChoices();
    QString logText;
    logText.reserve(qsizetype(count) * 90);
    for (int i = 0; i < count; ++i) {
        QString call = prefixes.at(random.bounded(int(prefixes.size())))
            + QString::number(random.bounded(10));
        for (int letter = random.bounded(1, 4); letter > 0; --letter) {
            call += QChar(u'A' + random.bounded(26));
        }
        if (random.bounded(20) == 0) {
            call += u"/P"_s;
        }
        const QString mode = modes.at(random.bounded(int(modes.size())));
        const QsoFields fields { call, QString::number(random.bounded(1, 29)),
            months.at(random.bounded(12)), QString::number(random.bounded(2014, 2027)),
            u"%1:%2"_s.arg(random.bounded(24)).arg(random.bounded(60), 2, 10, QLatin1Char('0')),
            bands.at(random.bounded(int(bands.size()))), mode,
            mode == u"CW"_s || mode == u"RTTY"_s ? u"599"_s : u"59"_s };
        const QsoRecordResult result = composeQsoRecord(fields);
        if (!result.accepted()) {
            qFatal("generated contact rejected: %s", qPrintable(result.rejection));
        }
        logText += result.record;
    }
    return logText;
}

QString makeFolder(const QTemporaryDir &root, int records)
{
    const QString path = root.filePath(u"adif-%1"_s.arg(records));
    QDir().mkpath(path);
    if (records > 0) {
        QFile file(path + u"/log.pnd"_s);
        file.open(QIODevice::WriteOnly);
        file.write(pendingRecords(records).toLatin1() + "\r\n");
    }
    return path;
}

// The records of a folder with the given number of hand edits spread over them: each a letter
// typed into a call sign without its length changed, which Generate Log sets.
QString makeEditedFolder(const QTemporaryDir &root, int records, int edits)
{
    const QString path = root.filePath(u"adif-%1-edited"_s.arg(records));
    QDir().mkpath(path);
    QStringList lines = pendingRecords(records).split(u"\r\n"_s);
    for (int edit = 0; edit < edits; ++edit) {
        QString &line = lines[qsizetype(edit) * records / edits];
        line.insert(line.indexOf(u'>') + 1, u'X');
    }
    QFile file(path + u"/log.pnd"_s);
    file.open(QIODevice::WriteOnly);
    file.write(lines.join(u"\r\n"_s).toLatin1() + "\r\n");
    return path;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values.at(n / 2) : (values.at(n / 2 - 1) + values.at(n / 2)) / 2;
}

// The process's own peak, from its fresh address space: getrusage's maximum is carried over from
// the parent through fork and exec, and the parent holds a million generated records.
long peakMemoryKiB()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return 0;
    }
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLong();
        }
    }
    return 0;
}

// In a child process: show the real window (or a bare one), wait until it is exposed and the event
// queue has run dry, then report the peak memory and leave without closing the window.
int runChild(int argc, char *argv[])
{
    const QString kind = QString::fromLocal8Bit(argv[2]);
    const QString folder = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(applicationTitle());
    std::unique_ptr<QWidget> window;
    if (kind == u"bare"_s || kind == u"label"_s) {
        window = std::make_unique<QWidget>();
        window->setFixedSize(865, 256);
        if (kind == u"label"_s) {
            // The same bare window with one line of text: what the font set-up alone costs.
            new QLabel(u"0 record"_s, window.get());
        }
    } else {
        window = std::make_unique<MainWindow>(
            LogFolder(folder), qOverload<>(&QDateTime::currentDateTime));
    }
    window->show();
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (window->windowHandle() && window->windowHandle()->isExposed()) {
            poll.stop();
            QTimer::singleShot(0, [] {
                std::printf("ready %ld\n", peakMemoryKiB());
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
    });
    poll.start(0);
    return app.exec();
}

struct StartUp {
    double milliseconds;
    double peakMiB;
};

StartUp startChild(const QString &kind, const QString &folder)
{
    QProcess child;
    QElapsedTimer timer;
    timer.start();
    child.start(QCoreApplication::applicationFilePath(), { u"--child"_s, kind, folder });
    if (!child.waitForReadyRead(30000)) {
        qFatal("child did not start: %s", qPrintable(child.errorString()));
    }
    const double elapsed = double(timer.nsecsElapsed()) / 1e6;
    const QByteArray line = child.readLine().trimmed();
    child.waitForFinished(30000);
    return { elapsed, line.split(' ').value(1).toDouble() / 1024.0 };
}

struct Row {
    QString what;
    double value;
    QString unit;
    QString target;
    bool met;
};

QList<Row> g_rows;

void report(const QString &what, double value, const QString &unit, const QString &target, bool met)
{
    g_rows.append({ what, value, unit, target, met });
    std::fprintf(stderr, "  %-52s %10.2f %s\n", qPrintable(what), value, qPrintable(unit));
}

// The window with the given pending records, shown and settled, messages going nowhere.
std::unique_ptr<MainWindow> shownWindow(const QString &folder)
{
    auto window = std::make_unique<MainWindow>(
        LogFolder(folder), qOverload<>(&QDateTime::currentDateTime), [](const UserMessage &) {});
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get())) {
        qFatal("window not exposed");
    }
    QCoreApplication::processEvents();
    return window;
}

// Times an action on the window, including the repaint that shows its result.
template <typename Action> double timeAction(Action action)
{
    QElapsedTimer timer;
    timer.start();
    action();
    QCoreApplication::processEvents();
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 2 && qstrcmp(argv[1], "--child") == 0) {
        return runChild(argc, argv);
    }
    // Without a display, a screen of a usual desktop's size, on which the window stands as drawn
    // (the platform's own is 800 x 600, where it would give way).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" QUILLOG_OFFSCREEN_SCREEN);
    }
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(3, QByteArray(argv[1]).toInt()) : 7;

    QTemporaryDir root;
    std::fprintf(stderr, "Generating pending records in %s\n", qPrintable(root.path()));
    const QString empty = makeFolder(root, 0);
    const QString records5k = makeFolder(root, 5000);
    const QString records20k = makeFolder(root, 20000);
    const QString records50k = makeFolder(root, 50000);
    const QString records100k = makeFolder(root, 100000);
    const QString records800k = makeFolder(root, 800000);
    const QString records1m = makeFolder(root, 1000000);
    const QString edited50k = makeEditedFolder(root, 50000, 100);

    // Start-up, interleaved so that a slow moment of the machine falls on every kind alike.
    QMap<QString, QList<double>> startTimes;
    QMap<QString, QList<double>> peaks;
    const QList<std::pair<QString, QString>> kinds { { u"bare"_s, QString() },
        { u"label"_s, QString() }, { u"empty"_s, empty }, { u"5000"_s, records5k },
        { u"50000"_s, records50k }, { u"100000"_s, records100k }, { u"800000"_s, records800k },
        { u"1000000"_s, records1m } };
    startChild(u"bare"_s, {}); // warm the file cache
    for (int run = 0; run < runs; ++run) {
        for (const auto &[kind, folder] : kinds) {
            const StartUp result = startChild(folder.isEmpty() ? kind : u"window"_s, folder);
            startTimes[kind] << result.milliseconds;
            peaks[kind] << result.peakMiB;
        }
    }
    const double bare = median(startTimes[u"bare"_s]);
    report(u"Start-up, bare Qt window of the same size"_s, bare, u"ms"_s, u"(floor)"_s, true);
    report(u"Start-up, bare window with one text label"_s, median(startTimes[u"label"_s]), u"ms"_s,
        {}, true);
    const double emptyStart = median(startTimes[u"empty"_s]);
    report(u"Start-up, empty log folder"_s, emptyStart, u"ms"_s, u"≤ 1.3 × bare"_s,
        emptyStart <= 1.3 * bare);
    report(u"Start-up, 5,000 pending records"_s, median(startTimes[u"5000"_s]), u"ms"_s, {}, true);
    const double fullStart = median(startTimes[u"50000"_s]);
    report(u"Start-up, 50,000 pending records"_s, fullStart, u"ms"_s, u"< 1000 ms"_s,
        fullStart < 1000);
    // Start-up grows with the records in proportion, as far as the text box's own filling allows.
    const double start100k = median(startTimes[u"100000"_s]);
    const double start800k = median(startTimes[u"800000"_s]);
    report(u"Start-up, 100,000 pending records"_s, start100k, u"ms"_s, {}, true);
    report(u"Start-up, 800,000 pending records"_s, start800k, u"ms"_s, u"≤ about 10 × 100,000"_s,
        start800k <= 11 * start100k);
    const double startMillion = median(startTimes[u"1000000"_s]);
    report(u"Start-up, 1,000,000 pending records"_s, startMillion, u"ms"_s, u"≤ about 5 s"_s,
        startMillion <= 5000);

    for (const auto &[count, records] : { std::pair { 20000, records20k },
             std::pair { 50000, records50k }, std::pair { 1000000, records1m } }) {
        // A copy: the keystrokes below leave text outside the records, which Generate Log, timed
        // later on the same records, would refuse.
        QTemporaryDir scratch;
        const QString folder = scratch.filePath(u"adif"_s);
        QDir().mkpath(folder);
        QFile::copy(records + u"/log.pnd"_s, folder + u"/log.pnd"_s);
        auto window = shownWindow(folder);
        auto *save = window->findChild<QPushButton *>(u"Command1"_s);
        auto *callSign = window->findChild<QLineEdit *>(u"Text1"_s);
        auto *logBox = window->findChild<QPlainTextEdit *>(u"Text4"_s);
        auto *frame = window->findChild<QGroupBox *>(u"Frame1"_s);
        const QString temporaryLog = folder + u"/log.pnd"_s;
        QTest::keyClicks(callSign, u"K1AB"_s);
        QList<double> saves, logKeys, callKeys, writes;
        for (int run = 0; run < runs; ++run) {
            const QString before = frame->title();
            saves << timeAction([&] { save->click(); });
            if (frame->title() == before) {
                qFatal("Save did not change the count");
            }
            logKeys << timeAction([&] { QTest::keyClick(logBox, Qt::Key_X); });
            // The write that follows a hand edit once the typing pauses: the whole log box read
            // and written to the temporary log, flushed to the disk.
            const qint64 sizeBefore = QFileInfo(temporaryLog).size();
            writes << timeAction([&] { window->pendingLog().writeWaitingEdit(); });
            if (QFileInfo(temporaryLog).size() != sizeBefore + 1) {
                qFatal("the hand edit was not written");
            }
            callKeys << timeAction([&] { QTest::keyClick(callSign, Qt::Key_A); });
        }
        const QString n = QLocale(QLocale::English).toString(count);
        const bool small = count == 20000;
        const double saveTime = median(saves);
        const double logKey = median(logKeys);
        const double callKey = median(callKeys);
        report(u"Save, written to disk, %1 pending records"_s.arg(n), saveTime, u"ms"_s,
            small ? u"≤ 16 ms"_s : QString(), !small || saveTime <= 16);
        report(u"Keystroke in the log box, %1 records"_s.arg(n), logKey, u"ms"_s,
            small ? u"≤ 16 ms"_s : QString(), !small || logKey <= 16);
        report(u"Keystroke in the call-sign box, %1 records"_s.arg(n), callKey, u"ms"_s,
            u"≤ 2 ms"_s, callKey <= 2);
        report(u"Write of the temporary log after a hand edit, %1 records"_s.arg(n), median(writes),
            u"ms"_s, {}, true);
        window->hide();
    }

    struct Generation {
        QString what;
        QString records;
        bool targeted;
    };
    for (const auto &[what, records, targeted] :
        { Generation { u"50,000 records"_s, records50k, true },
            Generation { u"50,000 records with 100 hand edits"_s, edited50k, true },
            Generation { u"1,000,000 records"_s, records1m, false } }) {
        QList<double> generates;
        for (int run = 0; run < runs; ++run) {
            QTemporaryDir scratch;
            const QString folder = scratch.filePath(u"adif"_s);
            QDir().mkpath(folder);
            QFile::copy(records + u"/log.pnd"_s, folder + u"/log.pnd"_s);
            auto window = shownWindow(folder);
            generates << timeAction(
                [&] { window->findChild<QPushButton *>(u"Command4"_s)->click(); });
            if (QDir(folder).entryList({ u"log_*.adi"_s }, QDir::Files).size() != 1) {
                qFatal("Generate Log wrote no daily log");
            }
            window->hide();
        }
        const double generate = median(generates);
        report(u"Generate Log, "_s + what, generate, u"ms"_s, targeted ? u"< 200 ms"_s : QString(),
            !targeted || generate < 200);
    }

    report(u"Peak memory, empty log folder"_s, median(peaks[u"empty"_s]), u"MiB"_s, {}, true);
    const double peak = median(peaks[u"50000"_s]);
    report(u"Peak memory, 50,000 pending records"_s, peak, u"MiB"_s, u"< 120 MB"_s,
        peak * 1.048576 < 120);
    report(u"Peak memory, 1,000,000 pending records"_s, median(peaks[u"1000000"_s]), u"MiB"_s, {},
        true);

    std::printf("Machine: %s, %d cores, Qt %s, platform %s; median of %d runs.\n\n",
        qPrintable(QSysInfo::prettyProductName()), QThread::idealThreadCount(), qVersion(),
        qPrintable(QGuiApplication::platformName()), runs);
    std::printf("| measurement | median | target | met |\n|---|---:|---|---|\n");
    for (const Row &row : g_rows) {
        std::printf("| %s | %.1f %s | %s | %s |\n", qPrintable(row.what), row.value,
            qPrintable(row.unit), qPrintable(row.target),
            row.target.isEmpty() || row.target == u"(floor)"_s ? "" : (row.met ? "yes" : "no"));
    }
    return 0;
}

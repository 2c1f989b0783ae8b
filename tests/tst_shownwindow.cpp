// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "window/interfacefont.h"
#include "window/mainwindow.h"

#include <QComboBox>
#include <QLineEdit>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The window as the system shows it, grabbed from the screen with the system's own platform and
// the font the program chooses, at the dots per inch the system is set to (the test command runs
// it at 96 and at 144): every entry shows its text.
class TestShownWindow : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void entryShowsItsText_data();
    void entryShowsItsText();

private:
    // Pixels of text in the entry as shown: dark ones inside its frame, left of a list's arrow.
    int textPixels(const QWidget *entry) const;

    QTemporaryDir m_dir;
    std::unique_ptr<MainWindow> m_window;
};

void TestShownWindow::initTestCase()
{
    useInstalledInterfaceFont();
    m_window = std::make_unique<MainWindow>(
        LogFolder(m_dir.filePath(u"adif"_s)),
        [] { return QDateTime(QDate(2026, 12, 9), QTime(17, 12)); }, [](const UserMessage &) {});
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QTest::keyClicks(m_window->findChild<QLineEdit *>(u"Text1"_s), u"DL1ABC"_s);
    // Away from the entries: a blinking text cursor is no text.
    m_window->findChild<QWidget *>(u"Command1"_s)->setFocus();
}

void TestShownWindow::entryShowsItsText_data()
{
    QTest::addColumn<QString>("entry");
    QTest::newRow("call-sign") << u"Text1"_s;
    QTest::newRow("day") << u"Combo1"_s;
    QTest::newRow("month") << u"Combo2"_s;
    QTest::newRow("year") << u"Combo3"_s;
    QTest::newRow("time") << u"Text2"_s;
    QTest::newRow("band") << u"Combo4"_s;
    QTest::newRow("mode") << u"Combo5"_s;
    QTest::newRow("report") << u"Text3"_s;
}

void TestShownWindow::entryShowsItsText()
{
    QFETCH(QString, entry);
    const auto *control = m_window->findChild<QWidget *>(entry);
    QVERIFY(control);
    // Drawn once the window's paint has reached the screen; an entry without text never is.
    QTRY_VERIFY2(textPixels(control) > 10,
        qPrintable(u"%1 shows no text at %2 DPI"_s.arg(entry).arg(
            qRound(m_window->devicePixelRatioF() * 96))));
}

int TestShownWindow::textPixels(const QWidget *entry) const
{
    // A list's text stands in the line edit it holds, left of its arrow.
    if (const auto *combo = qobject_cast<const QComboBox *>(entry)) {
        entry = combo->lineEdit();
    }
    const QRect text(entry->mapTo(m_window.get(), QPoint(3, 3)), entry->size() - QSize(6, 6));
    const QImage shot = m_window->screen()->grabWindow(m_window->winId()).toImage();
    const qreal ratio = shot.width() / qreal(m_window->width());
    const QRect pixels = QRectF(QPointF(text.topLeft()) * ratio, QSizeF(text.size()) * ratio)
                             .toAlignedRect()
                             .intersected(shot.rect());
    int dark = 0;
    for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
        for (int x = pixels.left(); x <= pixels.right(); ++x) {
            const QColor pixel = shot.pixelColor(x, y);
            dark += std::max({ pixel.red(), pixel.green(), pixel.blue() }) < 128 ? 1 : 0;
        }
    }
    return dark;
}

QTEST_MAIN(TestShownWindow)
#include "tst_shownwindow.moc"

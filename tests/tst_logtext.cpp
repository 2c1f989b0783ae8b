// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "record/entrychoices.h"
#include "record/logtext.h"

#include <QLocale>
#include <QScopeGuard>
#include <QTest>

class TestLogText : public QObject {
    Q_OBJECT

private slots:
    void countsMarkers_data();
    void countsMarkers();
    void captionsUsePluralForEveryCount_data();
    void captionsUsePluralForEveryCount();
    void convertsBetweenBoxAndLogText_data();
    void convertsBetweenBoxAndLogText();
    void turnsRawBoxLineEndsIntoCrLf();
    void leavesOutWhatLatin1CannotHold_data();
    void leavesOutWhatLatin1CannotHold();
    void upperCasesCallSignInEveryLocale();
    void presetsDateAndTimeFromClock_data();
    void presetsDateAndTimeFromClock();
    void offersChoiceListsInOrder();
};

void TestLogText::countsMarkers_data()
{
    QTest::addColumn<QString>("logText");
    QTest::addColumn<qsizetype>("expected");

    const QString record = QStringLiteral("<CALL:4>K1AB<QSO_DATE:8:D>20150305<EOR>\r\n");
    QTest::newRow("empty") << QString() << qsizetype(0);
    QTest::newRow("one-record") << record << qsizetype(1);
    QTest::newRow("three-records") << record + record + record << qsizetype(3);
    QTest::newRow("lower-case-marker") << QStringLiteral("<CALL:4>K1AB<eor>\r\n") << qsizetype(1);
    QTest::newRow("mixed-case-marker") << QStringLiteral("<Eor><eOr>") << qsizetype(2);
    QTest::newRow("broken-marker") << QStringLiteral("<CALL:4>K1AB<EOR\r\n") << qsizetype(0);
    QTest::newRow("plain-text") << QStringLiteral("a note\r\nwithout records\r\n") << qsizetype(0);
    QTest::newRow("adjacent-markers") << QStringLiteral("<EOR><EOR><EOR>") << qsizetype(3);
    QTest::newRow("nested-bracket") << QStringLiteral("<<EOR>") << qsizetype(1);
    QTest::newRow("marker-at-end-no-line-end") << QStringLiteral("x<EOR>") << qsizetype(1);
    QTest::newRow("truncated-at-end") << QStringLiteral("<EO") << qsizetype(0);
}

void TestLogText::countsMarkers()
{
    QFETCH(QString, logText);
    QFETCH(qsizetype, expected);
    QCOMPARE(countRecords(logText), expected);
}

void TestLogText::captionsUsePluralForEveryCount_data()
{
    QTest::addColumn<qsizetype>("count");
    QTest::addColumn<QString>("caption");
    QTest::newRow("zero") << qsizetype(0) << QStringLiteral("0 records");
    QTest::newRow("one") << qsizetype(1) << QStringLiteral("1 records");
    QTest::newRow("many") << qsizetype(50000) << QStringLiteral("50000 records");
}

void TestLogText::captionsUsePluralForEveryCount()
{
    QFETCH(qsizetype, count);
    QFETCH(QString, caption);
    QCOMPARE(recordCountCaption(count), caption);
    QCOMPARE(startUpCountCaption(), QStringLiteral("0 record"));
}

void TestLogText::convertsBetweenBoxAndLogText_data()
{
    QTest::addColumn<QString>("boxText");
    QTest::addColumn<QString>("logText");
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("records") << QStringLiteral("<EOR>\n<EOR>\n")
                             << QStringLiteral("<EOR>\r\n<EOR>\r\n");
    QTest::newRow("no-final-line-end") << QStringLiteral("a\nb") << QStringLiteral("a\r\nb");
    QTest::newRow("empty-lines") << QStringLiteral("\n\n") << QStringLiteral("\r\n\r\n");
    QTest::newRow("lone-carriage-return") << QStringLiteral("a\rb\r") << QStringLiteral("a\rb\r");
}

void TestLogText::convertsBetweenBoxAndLogText()
{
    QFETCH(QString, boxText);
    QFETCH(QString, logText);
    QCOMPARE(logTextFromBoxText(boxText), logText);
    QCOMPARE(boxTextFromLogText(logText), boxText);
}

void TestLogText::turnsRawBoxLineEndsIntoCrLf()
{
    const QString raw = QStringLiteral("a\u00a0b\u2029c\u2028d\u2029");
    QCOMPARE(logTextFromBoxText(raw), QStringLiteral("a\u00a0b\r\nc\r\nd\r\n"));
}

void TestLogText::leavesOutWhatLatin1CannotHold_data()
{
    QTest::addColumn<QString>("boxText");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<QStringList>("leftOut");
    // Latin-1 to its last character, a no-break space, and the box's two kinds of line end.
    const QString latin1 = QStringLiteral("Zoë\u00a0\u00ff\u2029<EOR>\u2028");
    QTest::newRow("latin1") << latin1 << latin1 << QStringList();
    QTest::newRow("lone-surrogate")
        << QStringLiteral("a") + QChar(0xd83d) + u'b' << QStringLiteral("ab")
        << QStringList { QString(QChar(0xd83d)) };
}

void TestLogText::leavesOutWhatLatin1CannotHold()
{
    QFETCH(QString, boxText);
    QFETCH(QString, kept);
    QFETCH(QStringList, leftOut);
    QCOMPARE(withoutCharactersOutsideLatin1(boxText), kept);
    QCOMPARE(charactersOutsideLatin1(boxText), leftOut);
}

void TestLogText::upperCasesCallSignInEveryLocale()
{
    const auto restore = qScopeGuard([] { QLocale::setDefault(QLocale::system()); });
    for (const auto language : { QLocale::English, QLocale::Turkish, QLocale::Azerbaijani }) {
        QLocale::setDefault(QLocale(language));
        QCOMPARE(callSignUpperCase(QStringLiteral("dl1abc/p")), QStringLiteral("DL1ABC/P"));
        QCOMPARE(callSignUpperCase(QStringLiteral("ti2i")), QStringLiteral("TI2I"));
        QCOMPARE(callSignUpperCase(QStringLiteral("K1AB")), QStringLiteral("K1AB"));
    }
}

void TestLogText::presetsDateAndTimeFromClock_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QStringList>("presets");
    QTest::newRow("morning") << QDateTime(QDate(2015, 7, 3), QTime(9, 5))
                             << QStringList { "03", "July", "2015", "09:05" };
    QTest::newRow("after-list-years") << QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59))
                                      << QStringList { "31", "December", "2026", "23:59" };
    QTest::newRow("midnight") << QDateTime(QDate(2024, 1, 1), QTime(0, 0))
                              << QStringList { "01", "January", "2024", "00:00" };
}

void TestLogText::presetsDateAndTimeFromClock()
{
    QFETCH(QDateTime, now);
    QFETCH(QStringList, presets);
    const EntryPresets actual = entryPresets(now);
    QCOMPARE(QStringList({ actual.day, actual.month, actual.year, actual.time }), presets);
}

void TestLogText::offersChoiceListsInOrder()
{
    QCOMPARE(dayChoices().size(), 31);
    QCOMPARE(dayChoices().first(), QStringLiteral("1"));
    QCOMPARE(dayChoices().at(9), QStringLiteral("10"));
    QCOMPARE(monthChoices().size(), 12);
    QCOMPARE(
        yearChoices(), QStringList({ "2014", "2015", "2016", "2017", "2018", "2019", "2020" }));
    QCOMPARE(bandChoices().first(), QStringLiteral("23cm"));
    QCOMPARE(bandChoices().last(), QStringLiteral("160m"));
    QCOMPARE(modeChoices(), QStringList({ "SSB", "RTTY", "FM", "AM", "CW" }));
}

QTEST_APPLESS_MAIN(TestLogText)
#include "tst_logtext.moc"

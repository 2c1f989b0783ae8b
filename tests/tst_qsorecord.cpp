// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "record/entrychoices.h"
#include "record/qsorecord.h"

#include <QDate>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

namespace {

QsoFields contact()
{
    return { QStringLiteral("DL1ABC"), QStringLiteral("5"), QStringLiteral("March"),
        QStringLiteral("2015"), QStringLiteral("9:07"), QStringLiteral("20m"),
        QStringLiteral("SSB"), QStringLiteral("59") };
}

const QString callMessage = QStringLiteral("Insert a valid callsign");
const QString dateMessage = QStringLiteral("Insert a valid date");
const QString timeMessage = QStringLiteral("Insert UTC in the format hh:mm");
const QString bandMessage = QStringLiteral("Insert a valid band");
const QString modeMessage = QStringLiteral("Insert a valid mode");
const QString rstMessage = QStringLiteral("Insert a valid RST");

} // namespace

Q_DECLARE_METATYPE(QsoFields)

class TestQsoRecord : public QObject {
    Q_OBJECT

private slots:
    void composesRecord_data();
    void composesRecord();
    void rejectsEntry_data();
    void rejectsEntry();
    void everyAcceptedRecordIsWellFormed();
};

void TestQsoRecord::composesRecord_data()
{
    QTest::addColumn<QsoFields>("fields");
    QTest::addColumn<QString>("expected");

    QTest::newRow("example") << contact()
                             << QStringLiteral("<CALL:6>DL1ABC<QSO_DATE:8:D>20150305<TIME_ON:4>0907"
                                               "<BAND:3>20m<MODE:3>SSB<RST_SENT:2>59<EOR>\r\n");

    const QString tail = QStringLiteral("<BAND:3>20m<MODE:3>SSB<RST_SENT:2>59<EOR>\r\n");
    QsoFields f = contact();
    f.call = QStringLiteral("K1");
    QTest::newRow("two-char-call") << f << "<CALL:2>K1<QSO_DATE:8:D>20150305<TIME_ON:4>0907" + tail;
    f = contact();
    f.call = QStringLiteral("VE3/DL1ABC");
    QTest::newRow("ten-char-call")
        << f << "<CALL:10>VE3/DL1ABC<QSO_DATE:8:D>20150305<TIME_ON:4>0907" + tail;

    const QString head = QStringLiteral("<CALL:6>DL1ABC<QSO_DATE:8:D>");
    f = contact();
    f.day = QStringLiteral("07");
    QTest::newRow("two-digit-day") << f << head + "20150307<TIME_ON:4>0907" + tail;
    f.day = QStringLiteral("7");
    QTest::newRow("one-digit-day") << f << head + "20150307<TIME_ON:4>0907" + tail;
    f = contact();
    f.day = QStringLiteral("29");
    f.month = QStringLiteral("February");
    f.year = QStringLiteral("2016");
    QTest::newRow("leap-day") << f << head + "20160229<TIME_ON:4>0907" + tail;
    f = contact();
    f.day = QStringLiteral("1");
    f.month = QStringLiteral("January");
    f.year = QStringLiteral("1930");
    QTest::newRow("first-adif-year") << f << head + "19300101<TIME_ON:4>0907" + tail;
    f = contact();
    f.month = QStringLiteral("December");
    f.day = QStringLiteral("31");
    QTest::newRow("december") << f << head + "20151231<TIME_ON:4>0907" + tail;

    const QString dated = head + QStringLiteral("20150305<TIME_ON:4>");
    f = contact();
    f.time = QStringLiteral("9:30");
    QTest::newRow("short-hour") << f << dated + "0930" + tail;
    f.time = QStringLiteral("23:59");
    QTest::newRow("last-minute") << f << dated + "2359" + tail;
    f.time = QStringLiteral("0:00");
    QTest::newRow("midnight") << f << dated + "0000" + tail;
    f.time = QStringLiteral("09:05");
    QTest::newRow("padded-hour") << f << dated + "0905" + tail;

    f = contact();
    f.band.clear();
    QTest::newRow("empty-band") << f << dated + "0907<BAND:0><MODE:3>SSB<RST_SENT:2>59<EOR>\r\n";
    f = contact();
    f.mode.clear();
    f.rst.clear();
    QTest::newRow("empty-mode-and-report")
        << f << dated + "0907<BAND:3>20m<MODE:0><RST_SENT:0><EOR>\r\n";
    f = contact();
    f.band = QStringLiteral(" 20m ");
    f.mode = QStringLiteral("ssb");
    f.rst = QStringLiteral("599+10");
    QTest::newRow("texts-as-typed")
        << f << dated + "0907<BAND:5> 20m <MODE:3>ssb<RST_SENT:6>599+10<EOR>\r\n";
    f = contact();
    f.band = QStringLiteral("~");
    f.mode = QStringLiteral(" ");
    f.rst = QStringLiteral("5:9!");
    QTest::newRow("printable-ascii-edges")
        << f << dated + "0907<BAND:1>~<MODE:1> <RST_SENT:4>5:9!<EOR>\r\n";
}

void TestQsoRecord::composesRecord()
{
    QFETCH(QsoFields, fields);
    QFETCH(QString, expected);
    const QsoRecordResult result = composeQsoRecord(fields);
    QVERIFY2(result.accepted(), qPrintable(result.rejection));
    QCOMPARE(result.record, expected);
}

void TestQsoRecord::rejectsEntry_data()
{
    QTest::addColumn<QsoFields>("fields");
    QTest::addColumn<QString>("message");

    const auto withCall = [](const QString &call) {
        QsoFields f = contact();
        f.call = call;
        return f;
    };
    QTest::newRow("empty-call") << withCall({}) << callMessage;
    QTest::newRow("one-char-call") << withCall(QStringLiteral("K")) << callMessage;
    QTest::newRow("lower-case-call") << withCall(QStringLiteral("dl1abc")) << callMessage;
    QTest::newRow("call-with-space") << withCall(QStringLiteral("DL1 ABC")) << callMessage;
    QTest::newRow("call-with-marker") << withCall(QStringLiteral("K1<EOR>")) << callMessage;
    QTest::newRow("call-with-bracket") << withCall(QStringLiteral("K1>")) << callMessage;
    QTest::newRow("call-non-ascii") << withCall(QStringLiteral("DL1ÄB")) << callMessage;
    QTest::newRow("call-dotted-capital") << withCall(QStringLiteral("İK1")) << callMessage;

    QsoFields f = contact();
    f.call.clear();
    f.time = QStringLiteral("0930");
    QTest::newRow("call-before-time") << f << callMessage;
    f = contact();
    f.call = QStringLiteral("K");
    f.day.clear();
    QTest::newRow("call-before-date") << f << callMessage;

    const auto withDate = [](const QString &day, const QString &month, const QString &year) {
        QsoFields f = contact();
        f.day = day;
        f.month = month;
        f.year = year;
        return f;
    };
    const QString march = QStringLiteral("March");
    QTest::newRow("empty-day") << withDate({}, march, "2015") << dateMessage;
    QTest::newRow("three-char-day") << withDate("007", march, "2015") << dateMessage;
    QTest::newRow("letter-day") << withDate("a", march, "2015") << dateMessage;
    QTest::newRow("day-zero") << withDate("0", march, "2015") << dateMessage;
    QTest::newRow("day-32") << withDate("32", march, "2015") << dateMessage;
    QTest::newRow("day-with-space") << withDate(" 7", march, "2015") << dateMessage;
    QTest::newRow("arabic-digit-day")
        << withDate(QString(QChar(0x0663)), march, "2015") << dateMessage;
    QTest::newRow("lower-case-month") << withDate("5", "march", "2015") << dateMessage;
    QTest::newRow("short-month") << withDate("5", "Mar", "2015") << dateMessage;
    QTest::newRow("empty-month") << withDate("5", {}, "2015") << dateMessage;
    QTest::newRow("two-digit-year") << withDate("5", march, "15") << dateMessage;
    QTest::newRow("five-digit-year") << withDate("5", march, "20150") << dateMessage;
    QTest::newRow("letter-year") << withDate("5", march, "20a5") << dateMessage;
    QTest::newRow("before-1930") << withDate("31", "December", "1929") << dateMessage;
    QTest::newRow("april-31") << withDate("31", "April", "2015") << dateMessage;
    QTest::newRow("february-29-2015") << withDate("29", "February", "2015") << dateMessage;

    f = contact();
    f.day = QStringLiteral("32");
    f.time = QStringLiteral("0930");
    QTest::newRow("date-before-time") << f << dateMessage;

    const auto withTime = [](const QString &time) {
        QsoFields f = contact();
        f.time = time;
        return f;
    };
    const QStringList badTimes = { "0930", "9:5", "12:30:45", "24:00", "12:60", "ab:cd", " 9:30",
        "9:30 ", "", ":30", "123:45", "9.30", "+9:30", "-1:30" };
    for (const QString &time : badTimes) {
        QTest::addRow("time-%s", qPrintable(time.isEmpty() ? QStringLiteral("empty") : time))
            << withTime(time) << timeMessage;
    }

    // Band, mode and report hold printable ASCII without the tag brackets; checked in the order
    // of the boxes on the window, after the time.
    const auto withText = [](QString QsoFields::*field, const QString &text) {
        QsoFields f = contact();
        f.*field = text;
        return f;
    };
    const QList<std::pair<const char *, QString>> badTexts { { "typed-marker", "<eor>" },
        { "open-bracket", "5<9" }, { "close-bracket", "20m>" }, { "e-acute", "5\u00e99" },
        { "euro", "\u20ac20m" }, { "no-break-space", "5\u00a09" }, { "line-break", "59\n57" },
        { "crlf", "59\r\n" }, { "tab", "5\t9" }, { "delete", "59\u007f" } };
    for (const auto &[tag, text] : badTexts) {
        QTest::addRow("band-%s", tag) << withText(&QsoFields::band, text) << bandMessage;
        QTest::addRow("mode-%s", tag) << withText(&QsoFields::mode, text) << modeMessage;
        QTest::addRow("rst-%s", tag) << withText(&QsoFields::rst, text) << rstMessage;
    }
    f = withText(&QsoFields::band, "20m<");
    f.time = QStringLiteral("0930");
    QTest::newRow("time-before-band") << f << timeMessage;
    f = withText(&QsoFields::band, "20m<");
    f.mode = QStringLiteral("SSB<EOR>");
    f.rst = QStringLiteral("5\u00e99");
    QTest::newRow("band-before-mode") << f << bandMessage;
    f.band = QStringLiteral("20m");
    QTest::newRow("mode-before-rst") << f << modeMessage;
}

void TestQsoRecord::rejectsEntry()
{
    QFETCH(QsoFields, fields);
    QFETCH(QString, message);
    const QsoRecordResult result = composeQsoRecord(fields);
    QCOMPARE(result.rejection, message);
    QVERIFY(!result.accepted());
    QVERIFY(result.record.isEmpty());
}

namespace {

QString pick(QRandomGenerator &random, const QStringList &choices)
{
    return choices.at(random.bounded(int(choices.size())));
}

// A text of up to maxLength characters drawn from an alphabet that holds what breaks ADIF: tag
// brackets, colons, spaces, a lower-case marker, and characters outside ASCII and Latin-1.
QString hostileText(QRandomGenerator &random, int maxLength)
{
    static const QString alphabet = QStringLiteral("AZKW019/ az<>:.,-+~ éÄ€İ\t\r\n\u00a0");
    QString text;
    const int length = random.bounded(maxLength + 1);
    for (int i = 0; i < length; ++i) {
        text += alphabet.at(random.bounded(int(alphabet.size())));
    }
    if (random.bounded(8) == 0) {
        text += QStringLiteral("<eor>");
    }
    return text;
}

QsoFields generatedEntry(QRandomGenerator &random)
{
    const bool wellFormed = random.bounded(2) == 0;
    QsoFields f;
    f.call = wellFormed ? pick(random, { "DL1ABC", "K1AB", "VE3/W1AW", "G4XYZ/P", "9A2AA" })
                        : hostileText(random, 10);
    f.day = wellFormed ? QString::number(1 + random.bounded(31))
                       : pick(random, { "", "0", "00", "007", "a", " 7", "32", "07", "29", "31" });
    f.month = wellFormed ? pick(random, monthChoices())
                         : pick(random, { "", "march", "Mar", "May ", "February", "April" });
    f.year = wellFormed ? QString::number(1930 + random.bounded(100))
                        : pick(random, { "", "1929", "15", "20a6", "20150", "2016", "1930" });
    if (wellFormed) {
        const int hour = random.bounded(26);
        const int minute = random.bounded(62);
        f.time = QStringLiteral("%1:%2")
                     .arg(hour, random.bounded(2) ? 2 : 1, 10, QLatin1Char('0'))
                     .arg(minute, 2, 10, QLatin1Char('0'));
    } else {
        f.time = pick(random, { "", "0930", "9:5", "12:30:45", "ab:cd", " 9:30", "9:30 ", "7:07" });
    }
    // Band, mode and report are mostly what an operator types, now and then hostile.
    f.band = random.bounded(4) ? pick(random, { "20m", "", " 2m", "70cm", "6 m" })
                               : hostileText(random, 8);
    f.mode = random.bounded(4) ? pick(random, { "SSB", "", "ft8", "CW ", "RTTY" })
                               : hostileText(random, 6);
    f.rst = random.bounded(4) ? pick(random, { "59", "", "599+10", "-12", "5 9" })
                              : hostileText(random, 4);
    return f;
}

// A pattern that must match the whole text; a plain "$" would also match before a final line end.
QRegularExpression whole(const char *pattern)
{
    return QRegularExpression(QRegularExpression::anchoredPattern(QLatin1StringView(pattern)));
}

// The rules, written independently of the composer, as the message the entry should get.
QString expectedRejection(const QsoFields &f)
{
    static const QRegularExpression call(whole("[A-Z0-9/]{2,}"));
    static const QRegularExpression day(whole("[0-9]{1,2}"));
    static const QRegularExpression year(whole("[0-9]{4}"));
    static const QRegularExpression time(whole("([01]?[0-9]|2[0-3]):[0-5][0-9]"));
    if (!call.match(f.call).hasMatch()) {
        return callMessage;
    }
    const int month = int(monthChoices().indexOf(f.month)) + 1;
    const bool dateShaped
        = day.match(f.day).hasMatch() && month > 0 && year.match(f.year).hasMatch();
    if (!dateShaped || !QDate(f.year.toInt(), month, f.day.toInt()).isValid()
        || f.year.toInt() < 1930) {
        return dateMessage;
    }
    if (!time.match(f.time).hasMatch()) {
        return timeMessage;
    }
    static const QRegularExpression text(whole("[ -;=?-~]*"));
    if (!text.match(f.band).hasMatch()) {
        return bandMessage;
    }
    if (!text.match(f.mode).hasMatch()) {
        return modeMessage;
    }
    if (!text.match(f.rst).hasMatch()) {
        return rstMessage;
    }
    return {};
}

// Reads the record tag by tag, checking each declared length against its data; returns the
// fields by name, or a description of the first fault.
QString readTags(const QString &record, QMap<QString, QString> &tags)
{
    qsizetype at = 0;
    while (at < record.size()) {
        if (record.at(at) != u'<') {
            return QStringLiteral("text outside a tag at %1").arg(at);
        }
        const qsizetype close = record.indexOf(u'>', at);
        if (close < 0) {
            return QStringLiteral("unclosed tag");
        }
        const QStringList parts = record.mid(at + 1, close - at - 1).split(u':');
        if (parts.first() == u"EOR") {
            return close + 1 == record.size() - 2 ? QString() : QStringLiteral("data after <EOR>");
        }
        bool isNumber = false;
        const int length = parts.size() >= 2 ? parts.at(1).toInt(&isNumber) : -1;
        if (!isNumber || length < 0 || close + 1 + length > record.size()) {
            return QStringLiteral("bad length in tag %1").arg(parts.first());
        }
        tags.insert(parts.first(), record.mid(close + 1, length));
        at = close + 1 + length;
    }
    return QStringLiteral("no <EOR>");
}

} // namespace

void TestQsoRecord::everyAcceptedRecordIsWellFormed()
{
    QRandomGenerator random(20261208);
    int accepted = 0;
    for (int i = 0; i < 4000; ++i) {
        const QsoFields f = generatedEntry(random);
        const QsoRecordResult result = composeQsoRecord(f);
        const QString context
            = QStringLiteral("entry %1: call '%2' date '%3' '%4' '%5' time '%6' '%7' '%8' '%9'")
                  .arg(QString::number(i), f.call, f.day, f.month, f.year, f.time, f.band, f.mode,
                      f.rst);
        QCOMPARE_NE(result.accepted(), result.record.isEmpty());
        QVERIFY2(result.rejection == expectedRejection(f), qPrintable(context));
        if (!result.accepted()) {
            continue;
        }
        ++accepted;
        const QString &record = result.record;
        QVERIFY2(record.endsWith(QStringLiteral("<EOR>\r\n")), qPrintable(context));
        QVERIFY2(
            record.count(QStringLiteral("<eor>"), Qt::CaseInsensitive) == 1, qPrintable(context));
        QCOMPARE(record.count(u'\n') + record.count(u'\r'), 2);

        QMap<QString, QString> tags;
        const QString fault = readTags(record, tags);
        QVERIFY2(fault.isEmpty(), qPrintable(context + ": " + fault));
        QCOMPARE(tags.keys(),
            QStringList({ "BAND", "CALL", "MODE", "QSO_DATE", "RST_SENT", "TIME_ON" }));
        QCOMPARE(tags.value("CALL"), f.call);
        QCOMPARE(tags.value("BAND"), f.band);
        QCOMPARE(tags.value("MODE"), f.mode);
        QCOMPARE(tags.value("RST_SENT"), f.rst);
        const QDate date = QDate::fromString(tags.value("QSO_DATE"), QStringLiteral("yyyyMMdd"));
        QCOMPARE(
            date, QDate(f.year.toInt(), int(monthChoices().indexOf(f.month)) + 1, f.day.toInt()));
        QCOMPARE(tags.value("TIME_ON"), QString(f.time).remove(u':').rightJustified(4, u'0'));
    }
    // The generator is only useful if it reaches both outcomes often.
    QVERIFY(accepted > 400);
    QVERIFY(accepted < 3600);
}

QTEST_APPLESS_MAIN(TestQsoRecord)
#include "tst_qsorecord.moc"

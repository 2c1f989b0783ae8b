// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "record/logtextcheck.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestLogTextCheck : public QObject {
    Q_OBJECT

private slots:
    void setsLengthsToTheirValues_data();
    void setsLengthsToTheirValues();
    void refusesWhatCannotBeRead_data();
    void refusesWhatCannotBeRead();
};

namespace {
const QString composed = u"<CALL:4>K1AB<QSO_DATE:8:D>20150305<TIME_ON:4>0907<BAND:3>20m"
                         "<MODE:3>SSB<RST_SENT:2>59<EOR>\r\n"_s;
const QString set = u"Field lengths set to match your edits: "_s;
}

void TestLogTextCheck::setsLengthsToTheirValues_data()
{
    QTest::addColumn<QString>("logText");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("summary");

    // Lists that read as meant, and stay as they are.
    QTest::newRow("untouched") << composed + composed << composed + composed << QString();
    QTest::newRow("spaces-between-fields")
        << u"<CALL:4>K1AB \r\n<BAND:3>20m\t<EOR>\r\n"_s
        << u"<CALL:4>K1AB \r\n<BAND:3>20m\t<EOR>\r\n"_s << QString();
    QTest::newRow("tag-like-word-in-value")
        << u"<COMMENT:13>see <QSL> tnx<EOR>"_s << u"<COMMENT:13>see <QSL> tnx<EOR>"_s << QString();

    // Hand edits that changed a value's length.
    QTest::newRow("two-typos") << composed
            + u"<CALL:6>DL1AB<QSO_DATE:8:D>20150305<RST_SENT:2>599<EOR>\r\n"_s
                               << composed
            + u"<CALL:5>DL1AB<QSO_DATE:8:D>20150305<RST_SENT:3>599<EOR>\r\n"_s
                               << set + u"CALL and RST_SENT of DL1AB."_s;
    QTest::newRow("cut-into-next-tag")
        << u"<CALL:10>K1AB<BAND:3>20m<EOR>"_s << u"<CALL:4>K1AB<BAND:3>20m<EOR>"_s
        << set + u"CALL of K1AB."_s;
    QTest::newRow("type-form") << u"<QSO_DATE:8:D>2015035<EOR>"_s << u"<QSO_DATE:7:D>2015035<EOR>"_s
                               << set + u"QSO_DATE of record 1."_s;
    QTest::newRow("lower-case") << u"<call:4>k1abc<eor>"_s << u"<call:5>k1abc<eor>"_s
                                << set + u"call of k1abc."_s;
    QTest::newRow("latin1") << u"<NAME:4>José<EOR><NAME:4>Zoë Ñ<EOR>"_s
                            << u"<NAME:4>José<EOR><NAME:5>Zoë Ñ<EOR>"_s
                            << set + u"NAME of record 2."_s;
    QTest::newRow("length-past-any-text") << u"<CALL:99999999999999999999>K1AB<EOR>"_s
                                          << u"<CALL:4>K1AB<EOR>"_s << set + u"CALL of K1AB."_s;
    // The old length now ends just past the record's end: read by it, two contacts would merge.
    QTest::newRow("length-over-eor")
        << u"<CALL:4>K1AB<COMMENT:10>nice!<EOR>\r\n"_s + composed
        << u"<CALL:4>K1AB<COMMENT:5>nice!<EOR>\r\n"_s + composed << set + u"COMMENT of K1AB."_s;
    // A "<" that opens no tag is part of the value.
    QTest::newRow("bracket-in-comment")
        << u"<CALL:4>K1AB<COMMENT:3>QRP <5W<EOR>"_s << u"<CALL:4>K1AB<COMMENT:7>QRP <5W<EOR>"_s
        << set + u"COMMENT of K1AB."_s;
    QTest::newRow("bracket-after-call")
        << u"<CALL:6>PA3XYZ<P<QSO_DATE:8:D>20261209<EOR>"_s
        << u"<CALL:8>PA3XYZ<P<QSO_DATE:8:D>20261209<EOR>"_s << set + u"CALL of PA3XYZ<P."_s;
    QTest::newRow("header-field") << u"<ADIF_VER:3>3.1.4<EOH>\r\n"_s + composed
                                  << u"<ADIF_VER:5>3.1.4<EOH>\r\n"_s + composed
                                  << set + u"ADIF_VER of the header."_s;
    // Loading made one line end of two inside the value; the operator typed nothing.
    QTest::newRow("empty-line-dropped-at-load")
        << u"<CALL:4>K1AB<COMMENT:6>a\r\nb<EOR>"_s << u"<CALL:4>K1AB<COMMENT:4>a\r\nb<EOR>"_s
        << u"Field lengths set where loading the list dropped an empty line inside the value: "
           "COMMENT of K1AB."_s;
    const QString many = u"<BAND:2>20m<EOR>"_s.repeated(12);
    QTest::newRow("many-records") << many << QString(many).replace(u"BAND:2"_s, u"BAND:3"_s)
                                  << set
            + u"BAND of record 1; BAND of record 2; BAND of record 3; BAND of record 4; BAND of "
              "record 5; BAND of record 6; BAND of record 7; BAND of record 8; BAND of record 9; "
              "BAND of record 10; and 2 more records."_s;
}

void TestLogTextCheck::setsLengthsToTheirValues()
{
    QFETCH(QString, logText);
    QFETCH(QString, expected);
    QFETCH(QString, summary);
    const LogTextCheck check = checkLogText(logText);
    QVERIFY2(check.readsAsRecords(), qPrintable(check.problemSummary()));
    QCOMPARE(check.logText, expected);
    QCOMPARE(check.lengthSummary(), summary);
    // An untouched list is handed on, not copied.
    QCOMPARE(check.logText.constData() == logText.constData(), expected == logText);
}

void TestLogTextCheck::refusesWhatCannotBeRead_data()
{
    QTest::addColumn<QString>("logText");
    QTest::addColumn<QString>("problems");

    QTest::newRow("end-missing") << composed + u"<CALL:6>DL1ABC<BAND:3>20m\r\n"_s
                                 << u"the end of record DL1ABC is missing"_s;
    QTest::newRow("eor-deleted")
        << u"<CALL:4>K1AB<RST_SENT:2>59\r\n<CALL:6>DL1ABC<RST_SENT:3>599<EOR>\r\n"_s
        << u"record K1AB holds CALL twice; record K1AB holds RST_SENT twice"_s;
    QTest::newRow("eor-bracket-deleted")
        << u"<CALL:4>K1AB<RST_SENT:2>59<EOR\r\n<CALL:6>DL1ABC<EOR>\r\n"_s
        << u"record K1AB holds CALL twice"_s;
    QTest::newRow("field-without-length")
        << u"<CALL:5>K1ABC<NAME>Hans<EOR>"_s << u"NAME of K1ABC has no length"_s;
    QTest::newRow("field-with-empty-length")
        << u"<CALL:5>K1ABC <NAME:>Hans<EOR>"_s << u"NAME of K1ABC has no length"_s;
    QTest::newRow("header-among-records")
        << composed + u"Exported<ADIF_VER:5>3.1.4<EOH>\r\n<CALL:6>DL1ABC<EOR>"_s
        << u"a header (fields ending in <EOH>) after record K1AB, where only records may stand"_s;
    QTest::newRow("notes-above-first-record") << u"my notes\r\n"_s
            + composed << u"text outside the records before record K1AB: \"my notes\""_s;
    QTest::newRow("text-between-records")
        << u"<CALL:4>K1AB<EOR> tnx fer the nice QSO, hope to cu agn\r\n<CALL:3>W1A<EOR>"_s
        << u"text outside the records before record W1A: \"tnx fer the nice QSO, hope to ...\""_s;
    QTest::newRow("text-after-last-record")
        << composed + u"73\r\n"_s << u"text outside the records after record K1AB: \"73\""_s;
    QTest::newRow("no-records") << u"just a note\r\n"_s
                                << u"text that is no record: \"just a note\""_s;
}

void TestLogTextCheck::refusesWhatCannotBeRead()
{
    QFETCH(QString, logText);
    QFETCH(QString, problems);
    const LogTextCheck check = checkLogText(logText);
    QVERIFY(!check.readsAsRecords());
    QCOMPARE(check.problemSummary(),
        u"No ADIF log was made: the list cannot be read as records. Correct it in the list and "
        "press Generate Log again: "_s
            + problems + u'.');
}

QTEST_APPLESS_MAIN(TestLogTextCheck)
#include "tst_logtextcheck.moc"

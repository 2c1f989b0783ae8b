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
// What every contact holds besides its call sign.
const QString when = u"<QSO_DATE:8:D>20261209<TIME_ON:4>1712"_s;
}

void TestLogTextCheck::setsLengthsToTheirValues_data()
{
    QTest::addColumn<QString>("logText");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("summary");

    // Lists that read as meant, and stay as they are.
    QTest::newRow("untouched") << composed + composed << composed + composed << QString();
    QTest::newRow("spaces-between-fields")
        << u"<CALL:4>K1AB \r\n<BAND:3>20m\t"_s + when + u"<EOR>\r\n"_s
        << u"<CALL:4>K1AB \r\n<BAND:3>20m\t"_s + when + u"<EOR>\r\n"_s << QString();
    QTest::newRow("tag-like-word-in-value")
        << u"<CALL:4>K1AB<COMMENT:13>see <QSL> tnx"_s + when + u"<EOR>"_s
        << u"<CALL:4>K1AB<COMMENT:13>see <QSL> tnx"_s + when + u"<EOR>"_s << QString();
    // Blank text above the first record: a reader would take the first contact for a header.
    QTest::newRow("blank-lines-above") << u" \r\n\t\r\n"_s + composed << composed << QString();
    QTest::newRow("only-blank-text") << u" \r\n\r\n"_s << QString() << QString();

    // Hand edits that changed a value's length.
    QTest::newRow("two-typos") << composed
            + u"<CALL:6>DL1AB<QSO_DATE:8:D>20150305<TIME_ON:4>0910<RST_SENT:2>599<EOR>\r\n"_s
                               << composed
            + u"<CALL:5>DL1AB<QSO_DATE:8:D>20150305<TIME_ON:4>0910<RST_SENT:3>599<EOR>\r\n"_s
                               << set + u"CALL and RST_SENT of DL1AB."_s;
    QTest::newRow("cut-into-next-tag")
        << u"<CALL:10>K1AB<BAND:3>20m"_s + when + u"<EOR>"_s
        << u"<CALL:4>K1AB<BAND:3>20m"_s + when + u"<EOR>"_s << set + u"CALL of K1AB."_s;
    QTest::newRow("type-form") << u"<QSO_DATE:8:D>2015035<TIME_ON:4>1712<CALL:4>K1AB<EOR>"_s
                               << u"<QSO_DATE:7:D>2015035<TIME_ON:4>1712<CALL:4>K1AB<EOR>"_s
                               << set + u"QSO_DATE of K1AB."_s;
    QTest::newRow("lower-case") << u"<call:4>k1abc<qso_date:8>20261209<time_on:4>1712<eor>"_s
                                << u"<call:5>k1abc<qso_date:8>20261209<time_on:4>1712<eor>"_s
                                << set + u"call of k1abc."_s;
    QTest::newRow("latin1") << when + u"<CALL:3>W1A<NAME:4>José<EOR><NAME:4>Zoë Ñ"_s + when
            + u"<CALL:4>K1AB<EOR>"_s
                            << when + u"<CALL:3>W1A<NAME:4>José<EOR><NAME:5>Zoë Ñ"_s + when
            + u"<CALL:4>K1AB<EOR>"_s
                            << set + u"NAME of K1AB."_s;
    QTest::newRow("length-past-any-text")
        << when + u"<CALL:99999999999999999999>K1AB<EOR>"_s << when + u"<CALL:4>K1AB<EOR>"_s
        << set + u"CALL of K1AB."_s;
    // The old length now ends just past the record's end: read by it, two contacts would merge.
    QTest::newRow("length-over-eor")
        << when + u"<CALL:4>K1AB<COMMENT:10>nice!<EOR>\r\n"_s + composed
        << when + u"<CALL:4>K1AB<COMMENT:5>nice!<EOR>\r\n"_s + composed
        << set + u"COMMENT of K1AB."_s;
    // A "<" that opens no tag is part of the value.
    QTest::newRow("bracket-in-comment")
        << when + u"<CALL:4>K1AB<COMMENT:3>QRP <5W<EOR>"_s
        << when + u"<CALL:4>K1AB<COMMENT:7>QRP <5W<EOR>"_s << set + u"COMMENT of K1AB."_s;
    QTest::newRow("bracket-after-call")
        << u"<CALL:6>PA3XYZ<P"_s + when + u"<EOR>"_s << u"<CALL:8>PA3XYZ<P"_s + when + u"<EOR>"_s
        << set + u"CALL of PA3XYZ<P."_s;
    QTest::newRow("header-field") << u"<ADIF_VER:3>3.1.4<EOH>\r\n"_s + composed
                                  << u"<ADIF_VER:5>3.1.4<EOH>\r\n"_s + composed
                                  << set + u"ADIF_VER of the header."_s;
    // Loading made one line end of two inside the value; the operator typed nothing.
    QTest::newRow("empty-line-dropped-at-load")
        << when + u"<CALL:4>K1AB<COMMENT:6>a\r\nb<EOR>"_s
        << when + u"<CALL:4>K1AB<COMMENT:4>a\r\nb<EOR>"_s
        << u"Field lengths set where loading the list dropped an empty line inside the value: "
           "COMMENT of K1AB."_s;
    const QString many = (when + u"<CALL:3>W1A<BAND:2>20m<EOR>"_s).repeated(12);
    QTest::newRow("many-records") << many << QString(many).replace(u"BAND:2"_s, u"BAND:3"_s)
                                  << set
            + u"BAND of W1A; BAND of W1A; BAND of W1A; BAND of W1A; BAND of W1A; BAND of W1A; "
              "BAND of W1A; BAND of W1A; BAND of W1A; BAND of W1A; and 2 more records."_s;
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
    QTest::addColumn<int>("lineToFix");

    const QString k1ab = u"<CALL:4>K1AB"_s + when;
    QTest::newRow("end-missing") << composed + u"<CALL:6>DL1ABC<BAND:3>20m\r\n"_s
                                 << u"the end of record DL1ABC, line 2 is missing"_s << 2;
    // The next contact's line, run into: told as the end lost, not as its fields twice.
    QTest::newRow("eor-deleted")
        << composed + k1ab + u"<RST_SENT:2>59\r\n<CALL:6>DL1ABC<RST_SENT:3>599"_s + when
            + u"<EOR>\r\n"_s
        << u"the end of record K1AB, line 2 is missing, before record DL1ABC, line 3"_s << 2;
    QTest::newRow("eor-bracket-deleted")
        << k1ab + u"<EOR\r\n<CALL:6>DL1ABC"_s + when + u"<EOR>\r\n"_s
        << u"a line end breaks the tag <EOR in record K1AB, line 1; the end of record K1AB, line "
           "1 is missing, before record DL1ABC, line 2"_s
        << 1;
    QTest::newRow("field-twice") << composed + k1ab + u"<BAND:3>20m<BAND:3>40m<EOR>"_s
                                 << u"record K1AB, line 2 holds BAND twice"_s << 2;
    QTest::newRow("field-without-length")
        << k1ab + u"<NAME>Hans<EOR>"_s << u"NAME in record K1AB, line 1 has no length"_s << 1;
    QTest::newRow("field-with-empty-length")
        << k1ab + u" <NAME:>Hans<EOR>"_s << u"NAME in record K1AB, line 1 has no length"_s << 1;
    // A "<", a name and a ":" are a tag to every reader, whatever follows them.
    const QString cannotRead = u"the %1 of %2 in record K1AB, line 2 cannot be read: %3"_s;
    QTest::newRow("length-negative") << composed + k1ab + u"<NAME:-4>Hans<EOR>"_s
                                     << cannotRead.arg("length", "NAME", "<NAME:-4>") << 2;
    QTest::newRow("length-in-words") << composed + k1ab + u"<BAND:three>20m<EOR>"_s
                                     << cannotRead.arg("length", "BAND", "<BAND:three>") << 2;
    QTest::newRow("length-signed") << composed + k1ab + u"<RST_SENT:+2>59 <EOR>"_s
                                   << cannotRead.arg("length", "RST_SENT", "<RST_SENT:+2>") << 2;
    QTest::newRow("type-empty") << composed + k1ab + u"<NAME:4:>Hans<EOR>"_s
                                << cannotRead.arg("type", "NAME", "<NAME:4:>") << 2;
    QTest::newRow("type-word") << composed + u"<CALL:4>K1AB<QSO_DATE:8:Date>20261209<EOR>"_s
                               << cannotRead.arg("type", "QSO_DATE", "<QSO_DATE:8:Date>") << 2;
    QTest::newRow("tag-split-by-enter")
        << composed + u"<CALL:4>K1AB<TIME_ON:4>1712<QSO_\r\nDATE:8:D>20261209<EOR>"_s
        << u"a line end breaks the tag <QSO_ in record K1AB, line 2"_s << 2;
    QTest::newRow("empty-record") << composed
            + u"<EOR>\r\n"_s << u"an <EOR> with no record before it, after record K1AB, line 1"_s
                                  << 2;
    QTest::newRow("empty-record-at-top")
        << u"\r\n<EOR>"_s + composed
        << u"an <EOR> with no record before it, at the top of the list"_s << 2;
    // An "<EOR>" typed inside a record leaves one part without a call sign.
    QTest::newRow("eor-inside-record")
        << composed + u"<CALL:6>PA3XYZ<EOR><QSO_DATE:8:D>20261209<TIME_ON:4>1712<EOR>\r\n"_s
        << u"record PA3XYZ, line 2 has no QSO_DATE and TIME_ON; record 3 (after PA3XYZ), line 2 "
           "has no CALL"_s
        << 2;
    QTest::newRow("header-among-records")
        << composed + u"Exported<ADIF_VER:5>3.1.4<EOH>\r\n<CALL:6>DL1ABC"_s + when + u"<EOR>"_s
        << u"a header (fields ending in <EOH>) after record K1AB, line 1, where only records may "
           "stand"_s
        << 2;
    QTest::newRow("notes-above-first-record")
        << u"my notes\r\n"_s + composed
        << u"text outside the records before record K1AB, line 1: \"my notes\""_s << 1;
    QTest::newRow("text-between-records")
        << k1ab + u"<EOR> tnx fer the nice QSO, hope to cu agn\r\n<CALL:3>W1A"_s + when + u"<EOR>"_s
        << u"text outside the records before record W1A, line 1: \"tnx fer the nice QSO, hope to "
           "...\""_s
        << 1;
    QTest::newRow("text-after-last-record")
        << composed + u"73\r\n"_s << u"text outside the records after record K1AB, line 1: \"73\""_s
        << 2;
    QTest::newRow("no-records") << u"just a note\r\n"_s
                                << u"text that is no record: \"just a note\""_s << 1;
}

void TestLogTextCheck::refusesWhatCannotBeRead()
{
    QFETCH(QString, logText);
    QFETCH(QString, problems);
    QFETCH(int, lineToFix);
    const LogTextCheck check = checkLogText(logText);
    QVERIFY(!check.readsAsRecords());
    QCOMPARE(check.problemSummary(),
        u"No ADIF log was made: the list cannot be read as records. Correct it in the list and "
        "press Generate Log again: "_s
            + problems + u'.');
    QCOMPARE(check.firstToFix().first, lineToFix);
}

QTEST_APPLESS_MAIN(TestLogTextCheck)
#include "tst_logtextcheck.moc"

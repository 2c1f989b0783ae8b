// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "record/fieldlengths.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestFieldLengths : public QObject {
    Q_OBJECT

private slots:
    void setsLengthsToTheirValues_data();
    void setsLengthsToTheirValues();
};

void TestFieldLengths::setsLengthsToTheirValues_data()
{
    QTest::addColumn<QString>("logText");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("summary");

    const QString composed = u"<CALL:4>K1AB<QSO_DATE:8:D>20150305<TIME_ON:4>0907<BAND:3>20m"
                             "<MODE:3>SSB<RST_SENT:2>59<EOR>\r\n"_s;
    QTest::newRow("untouched") << composed + composed << composed + composed << QString();
    QTest::newRow("two-typos")
        << composed + u"<CALL:6>DL1AB<QSO_DATE:8:D>20150305<RST_SENT:2>599<EOR>\r\n"_s
        << composed + u"<CALL:5>DL1AB<QSO_DATE:8:D>20150305<RST_SENT:3>599<EOR>\r\n"_s
        << u"Field lengths set to match your edits: CALL and RST_SENT of DL1AB."_s;
    QTest::newRow("cut-into-next-tag")
        << u"<CALL:10>K1AB<BAND:3>20m<EOR>"_s << u"<CALL:4>K1AB<BAND:3>20m<EOR>"_s
        << u"Field lengths set to match your edits: CALL of K1AB."_s;
    QTest::newRow("type-form") << u"<QSO_DATE:8:D>2015035<EOR>"_s << u"<QSO_DATE:7:D>2015035<EOR>"_s
                               << u"Field lengths set to match your edits: QSO_DATE of record 1."_s;
    QTest::newRow("lower-case") << u"<call:4>k1abc<eor>"_s << u"<call:5>k1abc<eor>"_s
                                << u"Field lengths set to match your edits: call of k1abc."_s;
    QTest::newRow("spaces-between-fields")
        << u"<CALL:4>K1AB \r\n<BAND:3>20m\t<EOR>\r\n"_s
        << u"<CALL:4>K1AB \r\n<BAND:3>20m\t<EOR>\r\n"_s << QString();
    QTest::newRow("value-holding-bracket")
        << u"<NOTES:11>a<b> <EOR>c<EOR>"_s << u"<NOTES:11>a<b> <EOR>c<EOR>"_s << QString();
    QTest::newRow("unreadable-left-as-typed")
        << u"<CALL:4>K1AB<RST_SENT:2>5<9<EOR>"_s << u"<CALL:4>K1AB<RST_SENT:2>5<9<EOR>"_s
        << u"Fields left as typed, as their end could not be read: RST_SENT of K1AB."_s;
    QTest::newRow("latin1") << u"<NAME:4>José<EOR><NAME:4>Zoë Ñ<EOR>"_s
                            << u"<NAME:4>José<EOR><NAME:5>Zoë Ñ<EOR>"_s
                            << u"Field lengths set to match your edits: NAME of record 2."_s;
    QTest::newRow("length-past-any-text")
        << u"<CALL:99999999999999999999>K1AB<EOR>"_s << u"<CALL:4>K1AB<EOR>"_s
        << u"Field lengths set to match your edits: CALL of K1AB."_s;
    const QString many = u"<BAND:2>20m<EOR>"_s.repeated(12);
    QTest::newRow("many-records")
        << many << QString(many).replace(u"BAND:2"_s, u"BAND:3"_s)
        << u"Field lengths set to match your edits: BAND of record 1; BAND of record 2; BAND of "
           "record 3; BAND of record 4; BAND of record 5; BAND of record 6; BAND of record 7; "
           "BAND of record 8; BAND of record 9; BAND of record 10; and 2 more records."_s;
}

void TestFieldLengths::setsLengthsToTheirValues()
{
    QFETCH(QString, logText);
    QFETCH(QString, expected);
    QFETCH(QString, summary);
    const FieldLengthRepair repair = repairFieldLengths(logText);
    QCOMPARE(repair.logText, expected);
    QCOMPARE(repair.summary(), summary);
}

QTEST_APPLESS_MAIN(TestFieldLengths)
#include "tst_fieldlengths.moc"

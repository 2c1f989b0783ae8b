// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "qsorecord.h"

#include "entrychoices.h"

#include <QDate>

using namespace Qt::StringLiterals;

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isDigits(QStringView text, qsizetype minLength, qsizetype maxLength)
{
    if (text.size() < minLength || text.size() > maxLength) {
        return false;
    }
    for (const QChar c : text) {
        if (!isAsciiDigit(c)) {
            return false;
        }
    }
    return true;
}

// Call signs are ASCII letters, digits and the "/" of portable and prefix forms. Keeping
// everything else out also keeps "<", ">" and a typed "<EOR>" from breaking the record apart.
bool isValidCallSign(const QString &call)
{
    if (call.size() < 2) {
        return false;
    }
    for (const QChar c : call) {
        const bool allowed = (c >= u'A' && c <= u'Z') || isAsciiDigit(c) || c == u'/';
        if (!allowed) {
            return false;
        }
    }
    return true;
}

// ADIF text fields hold printable ASCII only (space to "~"). The tag brackets are kept out as well:
// a "<" or ">" typed into a field would let a reader that looks for the next tag cut the value
// there, and a typed "<EOR>" would end the record early. A line break or tab is no printable
// character, so a pasted second line cannot split the record either.
bool isAdifText(QStringView text)
{
    for (const QChar c : text) {
        if (c < u' ' || c > u'~' || c == u'<' || c == u'>') {
            return false;
        }
    }
    return true;
}

// ADIF dates are YYYYMMDD, real calendar dates, from 1930 on.
QDate parseDate(const QString &day, const QString &month, const QString &year)
{
    const qsizetype monthIndex = monthChoices().indexOf(month);
    if (!isDigits(day, 1, 2) || monthIndex < 0 || !isDigits(year, 4, 4)) {
        return {};
    }
    const QDate date(year.toInt(), int(monthIndex) + 1, day.toInt());
    if (!date.isValid() || date.year() < 1930) {
        return {};
    }
    return date;
}

// "h:mm" or "hh:mm" on the 24-hour clock gives the four digits of ADIF's HHMM.
QString parseTime(const QString &time)
{
    const qsizetype colon = time.indexOf(u':');
    if (colon < 1 || colon > 2 || !isDigits(QStringView(time).left(colon), 1, 2)
        || !isDigits(QStringView(time).mid(colon + 1), 2, 2)) {
        return {};
    }
    const int hours = QStringView(time).left(colon).toInt();
    const int minutes = QStringView(time).mid(colon + 1).toInt();
    if (hours > 23 || minutes > 59) {
        return {};
    }
    return QStringLiteral("%1%2")
        .arg(hours, 2, 10, QLatin1Char('0'))
        .arg(minutes, 2, 10, QLatin1Char('0'));
}

// An ADIF field: "<NAME:length>data", the length in decimal without leading zeros.
QString field(QLatin1StringView name, const QString &data)
{
    return QLatin1Char('<') + name + QLatin1Char(':') + QString::number(data.size())
        + QLatin1Char('>') + data;
}

QsoRecordResult rejected(QsoEntry entry, const QString &message)
{
    return { {}, message, entry };
}

} // namespace

QsoRecordResult composeQsoRecord(const QsoFields &fields)
{
    if (!isValidCallSign(fields.call)) {
        return rejected(QsoEntry::Call, QStringLiteral("Insert a valid callsign"));
    }
    const QDate date = parseDate(fields.day, fields.month, fields.year);
    if (!date.isValid()) {
        return rejected(QsoEntry::Date, QStringLiteral("Insert a valid date"));
    }
    const QString time = parseTime(fields.time);
    if (time.isEmpty()) {
        return rejected(QsoEntry::Time, QStringLiteral("Insert UTC in the format hh:mm"));
    }
    if (!isAdifText(fields.band)) {
        return rejected(QsoEntry::Band, QStringLiteral("Insert a valid band"));
    }
    if (!isAdifText(fields.mode)) {
        return rejected(QsoEntry::Mode, QStringLiteral("Insert a valid mode"));
    }
    if (!isAdifText(fields.rst)) {
        return rejected(QsoEntry::Report, QStringLiteral("Insert a valid RST"));
    }

    // Date and time have fixed lengths once validated, so their tags carry fixed lengths too.
    QString record = field("CALL"_L1, fields.call);
    record += "<QSO_DATE:8:D>"_L1 + date.toString(QStringLiteral("yyyyMMdd"));
    record += "<TIME_ON:4>"_L1 + time;
    record += field("BAND"_L1, fields.band);
    record += field("MODE"_L1, fields.mode);
    record += field("RST_SENT"_L1, fields.rst);
    record += "<EOR>\r\n"_L1;
    return { record, {}, {} };
}

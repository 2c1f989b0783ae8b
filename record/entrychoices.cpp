// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "entrychoices.h"

namespace {

// "first" to "last" in decimal, without leading zeros.
QStringList numbers(int first, int last)
{
    QStringList list;
    for (int n = first; n <= last; ++n) {
        list << QString::number(n);
    }
    return list;
}

} // namespace

QStringList dayChoices()
{
    return numbers(1, 31);
}

QStringList monthChoices()
{
    return { QStringLiteral("January"), QStringLiteral("February"), QStringLiteral("March"),
        QStringLiteral("April"), QStringLiteral("May"), QStringLiteral("June"),
        QStringLiteral("July"), QStringLiteral("August"), QStringLiteral("September"),
        QStringLiteral("October"), QStringLiteral("November"), QStringLiteral("December") };
}

QStringList yearChoices()
{
    return numbers(2014, 2020);
}

QStringList bandChoices()
{
    return { QStringLiteral("23cm"), QStringLiteral("70cm"), QStringLiteral("2m"),
        QStringLiteral("4m"), QStringLiteral("6m"), QStringLiteral("10m"), QStringLiteral("12m"),
        QStringLiteral("15m"), QStringLiteral("17m"), QStringLiteral("20m"), QStringLiteral("30m"),
        QStringLiteral("40m"), QStringLiteral("80m"), QStringLiteral("160m") };
}

QStringList modeChoices()
{
    return { QStringLiteral("SSB"), QStringLiteral("RTTY"), QStringLiteral("FM"),
        QStringLiteral("AM"), QStringLiteral("CW") };
}

EntryPresets entryPresets(const QDateTime &now)
{
    const QDate date = now.date();
    return {
        date.toString(QStringLiteral("dd")),
        monthChoices().at(date.month() - 1),
        date.toString(QStringLiteral("yyyy")),
        now.time().toString(QStringLiteral("HH:mm")),
    };
}

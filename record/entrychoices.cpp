#include "entrychoices.h"

QStringList dayChoices()
{
    QStringList days;
    for (int day = 1; day <= 31; ++day) {
        days << QString::number(day);
    }
    return days;
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
    QStringList years;
    for (int year = 2014; year <= 2020; ++year) {
        years << QString::number(year);
    }
    return years;
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

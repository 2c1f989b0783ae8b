#include "logtext.h"

namespace {
constexpr QLatin1StringView recordMarker("<EOR>");
}

QString appendRecord(const QString &logText, const QString &record)
{
    return logText + record;
}

qsizetype countRecords(QStringView logText)
{
    // Runs on every keystroke in the log box: look for each "<" and compare only there.
    qsizetype count = 0;
    qsizetype from = 0;
    while ((from = logText.indexOf(u'<', from)) >= 0) {
        if (logText.mid(from, recordMarker.size()).compare(recordMarker, Qt::CaseInsensitive)
            == 0) {
            ++count;
            from += recordMarker.size();
        } else {
            ++from;
        }
    }
    return count;
}

QString recordCountCaption(qsizetype count)
{
    return QString::number(count) + QStringLiteral(" records");
}

QString startUpCountCaption()
{
    return QStringLiteral("0 record");
}

QString logTextFromBoxText(QString boxText)
{
    boxText.replace(QChar::ParagraphSeparator, u'\n');
    boxText.replace(QChar::LineSeparator, u'\n');
    return boxText.replace(u'\n', QStringLiteral("\r\n"));
}

QString boxTextFromLogText(QString logText)
{
    return logText.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QString callSignUpperCase(const QString &text)
{
    return text.toUpper();
}

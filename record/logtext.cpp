// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "logtext.h"

namespace {
constexpr QLatin1StringView recordMarker("<EOR>");
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

// Both conversions build a new text in one pass. Replacing in place would move the rest of the text
// at every batch of line ends, so a large list would take time with the square of its length.

QString logTextFromBoxText(QStringView boxText)
{
    const auto isLineEnd = [](QChar c) {
        return c == u'\n' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
    };
    QString logText;
    logText.reserve(boxText.size() + boxText.size() / 32);
    qsizetype from = 0;
    for (qsizetype i = 0; i < boxText.size(); ++i) {
        if (isLineEnd(boxText[i])) {
            logText += boxText.sliced(from, i - from);
            logText += u"\r\n";
            from = i + 1;
        }
    }
    logText += boxText.sliced(from);
    return logText;
}

QString boxTextFromLogText(QStringView logText)
{
    QString boxText;
    boxText.reserve(logText.size());
    qsizetype from = 0;
    for (qsizetype end; (end = logText.indexOf(u"\r\n", from)) >= 0; from = end + 2) {
        boxText += logText.sliced(from, end - from);
        boxText += u'\n';
    }
    boxText += logText.sliced(from);
    return boxText;
}

QString callSignUpperCase(const QString &text)
{
    return text.toUpper();
}

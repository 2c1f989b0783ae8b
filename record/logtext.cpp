// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "logtext.h"

#include <algorithm>

namespace {
constexpr QLatin1StringView recordMarker("<EOR>");

// How many of the characters left out a message names.
constexpr qsizetype namedAtMost = 5;

// Calls back with every character of the text that Latin-1 cannot hold, a pair of surrogates as one
// character, and gives the text without them.
template <typename Found> QString keepLatin1(QStringView boxText, Found found)
{
    QString kept;
    for (qsizetype i = 0; i < boxText.size(); ++i) {
        const QChar c = boxText[i];
        if (c.unicode() <= 0xFF || c == QChar::ParagraphSeparator || c == QChar::LineSeparator) {
            kept += c;
            continue;
        }
        const bool pair
            = c.isHighSurrogate() && i + 1 < boxText.size() && boxText[i + 1].isLowSurrogate();
        found(boxText.sliced(i, pair ? 2 : 1));
        i += pair ? 1 : 0;
    }
    return kept;
}

bool isBoxLineEnd(QChar c)
{
    return c == u'\n' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}
} // namespace

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

bool isBlankLogText(QStringView logText)
{
    return std::all_of(logText.begin(), logText.end(),
        [](QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; });
}

QString startUpCountCaption()
{
    return QStringLiteral("0 record");
}

// Both conversions build a new text in one pass. Replacing in place would move the rest of the text
// at every batch of line ends, so a large list would take time with the square of its length.

QString logTextFromBoxText(QStringView boxText)
{
    QString logText;
    logText.reserve(boxText.size() + boxText.size() / 32);
    qsizetype from = 0;
    for (qsizetype i = 0; i < boxText.size(); ++i) {
        if (isBoxLineEnd(boxText[i])) {
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

std::pair<qsizetype, qsizetype> boxTextSpanOfLines(
    QStringView boxText, qsizetype first, qsizetype last)
{
    qsizetype line = 1;
    qsizetype begin = first <= 1 ? 0 : boxText.size();
    for (qsizetype i = 0; i < boxText.size(); ++i) {
        if (isBoxLineEnd(boxText[i])) {
            if (line == last) {
                return { std::min(begin, i), i };
            }
            if (++line == first) {
                begin = i + 1;
            }
        }
    }
    return { begin, boxText.size() };
}

QStringList charactersOutsideLatin1(QStringView boxText)
{
    QStringList characters;
    keepLatin1(boxText, [&characters](QStringView character) {
        if (!characters.contains(character)) {
            characters << character.toString();
        }
    });
    return characters;
}

QString withoutCharactersOutsideLatin1(QStringView boxText)
{
    return keepLatin1(boxText, [](QStringView) {});
}

QString joinedWithAnd(const QStringList &names)
{
    if (names.size() < 2) {
        return names.value(0);
    }
    return names.first(names.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ")
        + names.last();
}

QString charactersLeftOutMessage(const QStringList &characters)
{
    QStringList quoted;
    for (const QString &character : characters.first(std::min(characters.size(), namedAtMost))) {
        quoted << u'"' + character + u'"';
    }
    if (characters.size() > namedAtMost) {
        quoted << QStringLiteral("%1 more").arg(characters.size() - namedAtMost);
    }
    const QString named = joinedWithAnd(quoted);
    return QStringLiteral("The list keeps only the characters its files can hold (ISO 8859-1, "
                          "Latin-1), so %1 %2 left out.")
        .arg(named, characters.size() == 1 ? QStringLiteral("was") : QStringLiteral("were"));
}

QString callSignUpperCase(const QString &text)
{
    return text.toUpper();
}

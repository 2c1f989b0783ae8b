// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#pragma once

#include <QString>
#include <QStringList>

// The log text is every pending record, one per line, each ending "<EOR>" and CR LF. The operator
// may edit it freely, so the count is always recomputed from the text, never kept beside it.

// The number of "<EOR>" markers, matched without regard to case, left to right, not overlapping.
[[nodiscard]] qsizetype countRecords(QStringView logText);

// Nothing but spaces, tabs and line ends: such a list holds no record, and counts as empty.
[[nodiscard]] bool isBlankLogText(QStringView logText);

// "N records" for every N, "1 records" included.
[[nodiscard]] QString recordCountCaption(qsizetype count);

// The caption shown before the first count is made.
[[nodiscard]] QString startUpCountCaption();

// The log box holds plain line breaks; the log text that is saved and counted ends its lines with
// CR LF. These two convert between them. The box's raw text, which keeps every character as it was
// loaded or typed (a no-break space stays one), ends its lines with paragraph separators, or with
// line separators where Shift+Enter was pressed: each of them becomes CR LF too.
[[nodiscard]] QString logTextFromBoxText(QStringView boxText);
[[nodiscard]] QString boxTextFromLogText(QStringView logText);
// Where lines first to last of a box text stand, counted from 1: from the start of the first to
// the end of the last, before its line end; the text's end for lines past it.
[[nodiscard]] std::pair<qsizetype, qsizetype> boxTextSpanOfLines(
    QStringView boxText, qsizetype first, qsizetype last);

// The files hold ISO 8859-1 (Latin-1), one byte a character: any other character typed or pasted
// into the list ("€", Cyrillic, emoji) would reach them as "?". The box's own line ends are no
// characters of the text. These give such characters of a box text, each once in the order they
// come, and the box text without them.
[[nodiscard]] QStringList charactersOutsideLatin1(QStringView boxText);
[[nodiscard]] QString withoutCharactersOutsideLatin1(QStringView boxText);
// Names as the operator reads them in a sentence: "CALL", "CALL and BAND", "CALL, BAND and MODE".
[[nodiscard]] QString joinedWithAnd(const QStringList &names);

// What the operator is told when such characters were left out of the list.
[[nodiscard]] QString charactersLeftOutMessage(const QStringList &characters);

// Call signs are kept in capitals while they are typed. Letters are mapped without regard to the
// user's locale, so "i" becomes "I" everywhere (a Turkish dotted capital is no call-sign letter).
[[nodiscard]] QString callSignUpperCase(const QString &text);

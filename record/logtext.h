// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#pragma once

#include <QString>

// The log text is every pending record, one per line, each ending "<EOR>" and CR LF. The operator
// may edit it freely, so the count is always recomputed from the text, never kept beside it.

// The number of "<EOR>" markers, matched without regard to case, left to right, not overlapping.
[[nodiscard]] qsizetype countRecords(QStringView logText);

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

// Call signs are kept in capitals while they are typed. Letters are mapped without regard to the
// user's locale, so "i" becomes "I" everywhere (a Turkish dotted capital is no call-sign letter).
[[nodiscard]] QString callSignUpperCase(const QString &text);

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#pragma once

#include <QList>
#include <QString>

// ADIF readers take a field's value by its declared length: "<CALL:6>DL1ABC" is six characters of
// call sign, whatever follows them. A hand edit in the list that makes a value shorter or longer
// without changing its tag's number makes such a reader take part of the next tag, or leave part of
// the value behind. Before the list becomes a daily log, every length that no longer fits its value
// is set to the value's length.

// One field whose declared length did not fit its value.
struct LengthMismatch {
    QString field; // the field's name as written
    qsizetype record = 0; // the record it is in, counted from 1 by the "<EOR>" markers
    QString callSign; // the call sign of that record; empty when it has none
    bool corrected = true; // false: left as typed, its value's end could not be told
};

struct FieldLengthRepair {
    QString logText; // the text with every length corrected; the same text when none was
    QList<LengthMismatch> mismatches;

    // One line for the operator naming the fields corrected or left as typed and their records;
    // empty when every length fitted.
    [[nodiscard]] QString summary() const;
};

// A tag "<NAME:LENGTH>" or "<NAME:LENGTH:TYPE>" (any name, any case) fits when its value is
// followed by the next "<" (after spaces, tabs or line ends) or by the end of the text; such a
// field is never touched, whatever its value holds. Otherwise the value is taken to run up to the
// next "<", less trailing spaces, tabs and line ends, and the length is set to that, provided the
// "<" opens a well-formed tag or the text ends there; else the field stays as typed. Only the
// digits of a length change. One pass over the text.
[[nodiscard]] FieldLengthRepair repairFieldLengths(const QString &logText);

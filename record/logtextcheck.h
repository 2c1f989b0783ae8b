// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#pragma once

#include <QList>
#include <QString>

#include <optional>

// Before the list becomes a daily log, it is read the way ADIF readers read it, and what a hand
// edit left behind is either set right or named for the operator to fix.
//
// ADIF readers take a field's value by its declared length: "<CALL:6>DL1ABC" is six characters of
// call sign, whatever follows them. A hand edit that makes a value shorter or longer without
// changing its tag's number makes such a reader take part of what follows, a record's end
// included, or leave part of the value behind; such lengths are set to the value's length.
//
// A tag is one only when it is one: "<NAME:LENGTH>" or "<NAME:LENGTH:TYPE>" (a name of letters,
// digits and underscores, any case), "<EOR>" or "<EOH>". A field reads cleanly when its declared
// characters hold no tag and are followed, after spaces, tabs or line ends, by a tag or the end of
// the text. Otherwise its value is the text up to the next tag, less trailing spaces, tabs and
// line ends: a "<" that opens no tag ("QRP <5W", "see <QSL> tnx") is part of the value. Only the
// digits of a length change.
//
// What no length can mend is a list that cannot be read as records: a record without its
// "<EOR>", two fields of one name in a record (two contacts run together), a field typed without
// its length ("<NAME>Hans"), a header ("... <EOH>") anywhere but at the very top, or text outside
// the records.

// The record a field or a problem is in.
struct RecordPlace {
    QString callSign; // as its first CALL field holds it; empty when it has none
    qsizetype number = 0; // counted from 1 by the "<EOR>" markers; 0 for the header

    [[nodiscard]] QString name() const; // "DL1ABC", "record 3", "the header"
    [[nodiscard]] QString withWord() const; // "record DL1ABC", "record 3", "the header"
    friend bool operator==(const RecordPlace &, const RecordPlace &) = default;
};

// One field whose declared length did not fit its value.
struct LengthMismatch {
    QString field; // the field's name as written
    RecordPlace place;
    // The list lost an empty line inside the value as it was loaded (two line ends become one),
    // rather than the operator shortening it.
    bool lineEndsDropped = false;
};

// Something that keeps the list from being read as records.
struct ShapeProblem {
    enum class Kind {
        MissingEnd, // a record without "<EOR>" at the end of the list
        FieldTwice, // the same field twice in one record
        NoLength, // a field typed without its length where a value ends
        HeaderNotAtTop, // fields ending in "<EOH>" after a record
        StrayText, // text outside the records
    };
    Kind kind;
    QString detail; // the field's name, or the stray text
    // The record it is in; for stray text and a header, the record it stands before, or after
    // when afterRecord is set. No record at all when the list holds none.
    std::optional<RecordPlace> place;
    bool afterRecord = false;
};

struct LogTextCheck {
    QString logText; // the text with every length set to its value; the same text when none was
    QList<LengthMismatch> mismatches;
    QList<ShapeProblem> problems;

    [[nodiscard]] bool readsAsRecords() const { return problems.isEmpty(); }

    // One line for the operator naming the lengths set and their records; empty when every
    // length fitted.
    [[nodiscard]] QString lengthSummary() const;
    // Why no daily log was made, naming each record to fix; empty when the list reads as records.
    [[nodiscard]] QString problemSummary() const;
};

// One pass over the text.
[[nodiscard]] LogTextCheck checkLogText(const QString &logText);

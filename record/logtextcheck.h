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
// digits and underscores, any case; a length of digits; a type of one letter), "<EOR>" or "<EOH>".
// A field reads cleanly when its declared characters hold no tag and are followed, after spaces,
// tabs or line ends, by a tag or the end of the text. Otherwise its value is the text up to the
// next tag, less trailing spaces, tabs and line ends: a "<" that opens no tag ("QRP <5W",
// "see <QSL> tnx") is part of the value. Only the digits of a length change.
//
// What no length can mend is a list that cannot be read as records:
// - a tag attempt that is no tag: a "<", a name and a ":" whose length is not plain digits
//   ("<NAME:-4>"), whose type is not one letter ("<QSO_DATE:8:Date>"), or that a line end breaks
//   ("<QSO_" at a line's end), and a field typed without its length ("<NAME>Hans", "<NAME:>");
//   readers that meet one lose the record, or every record after it;
// - a record without its "<EOR>": at the end of the list, or where the next line begins with a
//   field the record already holds (the line of the next contact, run into);
// - two fields of one name in a record, an "<EOR>" with no field before it (an empty record), and
//   a record without CALL, QSO_DATE or TIME_ON, the three every contact holds;
// - a header ("... <EOH>") anywhere but at the very top, or text outside the records.
// Spaces, tabs and line ends before the first record or header are left out of the text that
// goes out: a reader takes a file that does not begin with "<" for one that begins with a header.

// Lines of the list, counted from 1 by its line ends.
struct Lines {
    qsizetype first = 0;
    qsizetype last = 0;
    friend bool operator==(const Lines &, const Lines &) = default;
};

// The record a field or a problem is in.
struct RecordPlace {
    QString callSign; // as its first CALL field holds it; empty when it has none
    qsizetype number = 0; // counted from 1 by the "<EOR>" markers; 0 for the header
    qsizetype line = 0; // where it begins in the list
    QString previousCallSign; // of the record before it, for one without a call sign of its own

    [[nodiscard]] QString name() const; // "DL1ABC", "record 3", "the header"
    // "record DL1ABC, line 5", "record 3 (after K1AB), line 9", "the header"
    [[nodiscard]] QString withWord() const;
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
        MissingEnd, // a record without "<EOR>", at the end of the list or before another
        FieldTwice, // the same field twice in one record
        NoLength, // a field typed without its length where a value ends
        UnreadableLength, // a tag attempt whose length is not plain digits
        UnreadableType, // a tag attempt whose type is not one letter
        BrokenTag, // a tag attempt broken by a line end
        EmptyRecord, // an "<EOR>" with no field before it
        MissingField, // a record without CALL, QSO_DATE or TIME_ON
        HeaderNotAtTop, // fields ending in "<EOH>" after a record
        StrayText, // text outside the records
    };
    Kind kind;
    // The field's name or names, the tag attempt or the stray text as written, or the record
    // that one without its end ran into
    QString detail;
    // The record it is in; for stray text and a header, the record it stands before, or after
    // when afterRecord is set. No record at all when the list holds none.
    std::optional<RecordPlace> place;
    bool afterRecord = false;
    Lines lines; // what to show the operator: the record, or the text itself
};

struct LogTextCheck {
    // The text that goes out: every length set to its value, without the blank text before the
    // first record; the same text when neither changed anything, empty when it holds no record.
    QString logText;
    QList<LengthMismatch> mismatches;
    QList<ShapeProblem> problems;

    [[nodiscard]] bool readsAsRecords() const { return problems.isEmpty(); }

    // One line for the operator naming the lengths set and their records; empty when every
    // length fitted.
    [[nodiscard]] QString lengthSummary() const;
    // Why no daily log was made, naming each record to fix; empty when the list reads as records.
    [[nodiscard]] QString problemSummary() const;
    // The lines of the first thing to fix, as the list reads top to bottom; none when nothing is.
    [[nodiscard]] Lines firstToFix() const;
};

// One pass over the text.
[[nodiscard]] LogTextCheck checkLogText(const QString &logText);

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "fieldlengths.h"

using namespace Qt::StringLiterals;

namespace {

// The operator reads the list in the box; a long tail of fields would not fit the message.
constexpr qsizetype recordsNamed = 10;

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// ADIF field names and data types: letters, digits and underscores.
bool isNameCharacter(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || isAsciiDigit(c) || c == u'_';
}

bool isSpaceOrLineEnd(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

qsizetype skip(QStringView text, qsizetype from, bool (*matches)(QChar))
{
    while (from < text.size() && matches(text[from])) {
        ++from;
    }
    return from;
}

// A well-formed tag "<NAME>", "<NAME:LENGTH>" or "<NAME:LENGTH:TYPE>".
struct Tag {
    qsizetype end = -1; // just after its ">"; -1 when no well-formed tag starts there
    QStringView name;
    qsizetype lengthBegin = -1; // the length's digits; -1 when the tag declares none
    qsizetype lengthEnd = -1;

    [[nodiscard]] bool wellFormed() const { return end >= 0; }
    [[nodiscard]] bool declaresLength() const { return lengthBegin >= 0; }
};

Tag readTag(QStringView text, qsizetype at)
{
    Tag tag;
    const qsizetype nameEnd = skip(text, at + 1, isNameCharacter);
    if (nameEnd == at + 1 || nameEnd == text.size()) {
        return {};
    }
    tag.name = text.sliced(at + 1, nameEnd - at - 1);
    if (text[nameEnd] == u'>') {
        tag.end = nameEnd + 1;
        return tag;
    }
    if (text[nameEnd] != u':') {
        return {};
    }
    tag.lengthBegin = nameEnd + 1;
    tag.lengthEnd = skip(text, tag.lengthBegin, isAsciiDigit);
    if (tag.lengthEnd == tag.lengthBegin || tag.lengthEnd == text.size()) {
        return {};
    }
    qsizetype close = tag.lengthEnd;
    if (text[close] == u':') {
        close = skip(text, close + 1, isNameCharacter);
        if (close == tag.lengthEnd + 1 || close == text.size()) {
            return {};
        }
    }
    if (text[close] != u'>') {
        return {};
    }
    tag.end = close + 1;
    return tag;
}

// A length of more digits than any text can hold counts as longer than the text.
qsizetype declaredLength(QStringView text, const Tag &tag)
{
    bool ok = false;
    const qlonglong length
        = text.sliced(tag.lengthBegin, tag.lengthEnd - tag.lengthBegin).toLongLong(&ok);
    return ok ? qsizetype(length) : text.size() + 1;
}

bool readsCleanly(QStringView text, qsizetype valueBegin, qsizetype length)
{
    if (length > text.size() - valueBegin) {
        return false;
    }
    const qsizetype next = skip(text, valueBegin + length, isSpaceOrLineEnd);
    return next == text.size() || text[next] == u'<';
}

// "CALL", "CALL and BAND", "CALL, BAND and MODE".
QString joinedNames(const QStringList &names)
{
    if (names.size() < 2) {
        return names.value(0);
    }
    return names.first(names.size() - 1).join(", "_L1) + " and "_L1 + names.last();
}

// "CALL and RST_SENT of DL1AB; BAND of record 3", at most a few records, for the one kind.
QString describe(const QList<LengthMismatch> &mismatches, bool corrected)
{
    QStringList records;
    qsizetype more = 0;
    qsizetype record = 0;
    QStringList names;
    QString where;
    const auto flush = [&] {
        if (names.isEmpty()) {
            return;
        }
        if (records.size() < recordsNamed) {
            records << joinedNames(names) + " of "_L1 + where;
        } else {
            ++more;
        }
        names.clear();
    };
    for (const LengthMismatch &mismatch : mismatches) {
        if (mismatch.corrected != corrected) {
            continue;
        }
        if (mismatch.record != record) {
            flush();
            record = mismatch.record;
            where = mismatch.callSign.isEmpty() ? u"record %1"_s.arg(record) : mismatch.callSign;
        }
        names << mismatch.field;
    }
    flush();
    QString text = records.join("; "_L1);
    if (more > 0) {
        text += u"; and %1 more records"_s.arg(more);
    }
    return text;
}

} // namespace

QString FieldLengthRepair::summary() const
{
    QStringList sentences;
    if (const QString fields = describe(mismatches, true); !fields.isEmpty()) {
        sentences << "Field lengths set to match your edits: "_L1 + fields + u'.';
    }
    if (const QString fields = describe(mismatches, false); !fields.isEmpty()) {
        sentences << "Fields left as typed, as their end could not be read: "_L1 + fields + u'.';
    }
    return sentences.join(u' ');
}

FieldLengthRepair repairFieldLengths(const QString &logText)
{
    const QStringView text(logText);
    FieldLengthRepair repair;
    struct NewLength {
        qsizetype begin;
        qsizetype end;
        qsizetype length;
    };
    QList<NewLength> newLengths;
    qsizetype record = 1;
    qsizetype firstOfRecord = 0; // the first mismatch of the record being read
    QString callSign;
    const auto endRecord = [&] {
        for (qsizetype i = firstOfRecord; i < repair.mismatches.size(); ++i) {
            repair.mismatches[i].callSign = callSign;
        }
        firstOfRecord = repair.mismatches.size();
        callSign.clear();
        ++record;
    };

    for (qsizetype at = text.indexOf(u'<'); at >= 0;) {
        const Tag tag = readTag(text, at);
        if (!tag.wellFormed() || !tag.declaresLength()) {
            if (tag.wellFormed() && tag.name.compare("EOR"_L1, Qt::CaseInsensitive) == 0) {
                endRecord();
            }
            at = text.indexOf(u'<', at + 1);
            continue;
        }
        const bool isCall = tag.name.compare("CALL"_L1, Qt::CaseInsensitive) == 0;
        const qsizetype length = declaredLength(text, tag);
        if (readsCleanly(text, tag.end, length)) {
            if (isCall) {
                callSign = text.sliced(tag.end, length).toString();
            }
            // Whatever the value holds, a "<" among it included, it is the field's.
            at = text.indexOf(u'<', tag.end + length);
            continue;
        }
        const qsizetype next = text.indexOf(u'<', tag.end);
        qsizetype valueEnd = next < 0 ? text.size() : next;
        while (valueEnd > tag.end && isSpaceOrLineEnd(text[valueEnd - 1])) {
            --valueEnd;
        }
        const bool readable = next < 0 || readTag(text, next).wellFormed();
        if (readable) {
            newLengths.append({ tag.lengthBegin, tag.lengthEnd, valueEnd - tag.end });
        }
        if (isCall) {
            callSign = readable ? text.sliced(tag.end, valueEnd - tag.end).toString() : QString();
        }
        repair.mismatches.append({ tag.name.toString(), record, {}, readable });
        at = next;
    }
    endRecord(); // the last record may have lost its marker

    if (newLengths.isEmpty()) {
        repair.logText = logText;
        return repair;
    }
    repair.logText.reserve(text.size() + newLengths.size());
    qsizetype from = 0;
    for (const NewLength &newLength : newLengths) {
        repair.logText += text.sliced(from, newLength.begin - from);
        repair.logText += QString::number(newLength.length);
        from = newLength.end;
    }
    repair.logText += text.sliced(from);
    return repair;
}

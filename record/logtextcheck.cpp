// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "logtextcheck.h"

#include "record/logtext.h"

#include <QVarLengthArray>

using namespace Qt::StringLiterals;

namespace {

// The operator reads the list in the box; a long tail of names would not fit the message.
constexpr qsizetype namedAtMost = 10;
// How much of a stray text the message quotes.
constexpr qsizetype quotedAtMost = 30;

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

// What a "<" opens.
struct Tag {
    enum class Kind {
        None, // no tag: the "<" is text
        Field, // "<NAME:LENGTH>" or "<NAME:LENGTH:TYPE>"
        EndOfRecord, // "<EOR>"
        EndOfHeader, // "<EOH>"
        NoLength, // "<NAME>" or "<NAME:>": a field written without its length
    };
    Kind kind = Kind::None;
    qsizetype end = -1; // just after its ">"
    QStringView name;
    qsizetype lengthBegin = -1; // the length's digits
    qsizetype lengthEnd = -1;

    [[nodiscard]] bool real() const
    {
        return kind == Kind::Field || kind == Kind::EndOfRecord || kind == Kind::EndOfHeader;
    }
};

Tag readTag(QStringView text, qsizetype at)
{
    if (at >= text.size() || text[at] != u'<') {
        return {};
    }
    const qsizetype nameEnd = skip(text, at + 1, isNameCharacter);
    if (nameEnd == at + 1 || nameEnd == text.size()) {
        return {};
    }
    Tag tag;
    tag.name = text.sliced(at + 1, nameEnd - at - 1);
    if (text[nameEnd] == u'>') {
        tag.end = nameEnd + 1;
        tag.kind = tag.name.compare("EOR"_L1, Qt::CaseInsensitive) == 0 ? Tag::Kind::EndOfRecord
            : tag.name.compare("EOH"_L1, Qt::CaseInsensitive) == 0      ? Tag::Kind::EndOfHeader
                                                                        : Tag::Kind::NoLength;
        return tag;
    }
    if (text[nameEnd] != u':') {
        return {};
    }
    tag.lengthBegin = nameEnd + 1;
    tag.lengthEnd = skip(text, tag.lengthBegin, isAsciiDigit);
    if (tag.lengthEnd == text.size()) {
        return {};
    }
    qsizetype close = tag.lengthEnd;
    if (tag.lengthEnd > tag.lengthBegin && text[close] == u':') {
        close = skip(text, close + 1, isNameCharacter);
        if (close == tag.lengthEnd + 1 || close == text.size()) {
            return {};
        }
    }
    if (text[close] != u'>') {
        return {};
    }
    tag.end = close + 1;
    tag.kind = tag.lengthEnd > tag.lengthBegin ? Tag::Kind::Field : Tag::Kind::NoLength;
    return tag;
}

// The next tag from the position on, and where it starts; -1 when there is none.
qsizetype nextRealTag(QStringView text, qsizetype from, Tag &tag)
{
    for (qsizetype at = text.indexOf(u'<', from); at >= 0; at = text.indexOf(u'<', at + 1)) {
        tag = readTag(text, at);
        if (tag.real()) {
            return at;
        }
    }
    return -1;
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
    const qsizetype valueEnd = valueBegin + length;
    for (qsizetype at = text.indexOf(u'<', valueBegin); at >= 0 && at < valueEnd;
         at = text.indexOf(u'<', at + 1)) {
        if (readTag(text, at).real()) {
            return false;
        }
    }
    const qsizetype next = skip(text, valueEnd, isSpaceOrLineEnd);
    return next == text.size() || readTag(text, next).real();
}

// The items joined with "; ", at most a few, then how many more.
QString joinedAtMost(const QStringList &items, const QString &more)
{
    QString text = items.first(std::min(items.size(), namedAtMost)).join("; "_L1);
    if (items.size() > namedAtMost) {
        text += "; "_L1 + more.arg(items.size() - namedAtMost);
    }
    return text;
}

// "CALL and RST_SENT of DL1AB; BAND of record 3", for the mismatches of the one kind.
QString describe(const QList<LengthMismatch> &mismatches, bool lineEndsDropped)
{
    QStringList records;
    QStringList names;
    const RecordPlace *place = nullptr;
    const auto flush = [&] {
        if (!names.isEmpty()) {
            records << joinedWithAnd(names) + " of "_L1 + place->name();
            names.clear();
        }
    };
    for (const LengthMismatch &mismatch : mismatches) {
        if (mismatch.lineEndsDropped != lineEndsDropped) {
            continue;
        }
        if (!place || !(mismatch.place == *place)) {
            flush();
            place = &mismatch.place;
        }
        names << mismatch.field;
    }
    flush();
    return records.isEmpty() ? QString() : joinedAtMost(records, u"and %1 more records"_s);
}

// A stray text as the message quotes it: on one line, and not too long.
QString quoted(QStringView text)
{
    QString line = text.trimmed().toString().simplified();
    if (line.size() > quotedAtMost) {
        line = line.first(quotedAtMost) + "..."_L1;
    }
    return u'"' + line + u'"';
}

QString describe(const ShapeProblem &problem)
{
    const QString where = problem.place ? problem.place->withWord() : QString();
    using Kind = ShapeProblem::Kind;
    switch (problem.kind) {
    case Kind::MissingEnd:
        return u"the end of %1 is missing"_s.arg(where);
    case Kind::FieldTwice:
        return u"%1 holds %2 twice"_s.arg(where, problem.detail);
    case Kind::NoLength:
        return u"%1 of %2 has no length"_s.arg(problem.detail, problem.place->name());
    case Kind::HeaderNotAtTop:
        return u"a header (fields ending in <EOH>) after %1, where only records may stand"_s.arg(
            where);
    case Kind::StrayText:
        if (!problem.place) {
            return "text that is no record: "_L1 + problem.detail;
        }
        return u"text outside the records %1 %2: %3"_s.arg(
            problem.afterRecord ? "after"_L1 : "before"_L1, where, problem.detail);
    }
    return {};
}

// Reads the text one segment at a time: what stands up to an "<EOR>", an "<EOH>" or the end.
class Reader {
public:
    explicit Reader(const QString &logText)
        : m_text(logText)
    {
    }

    LogTextCheck read()
    {
        qsizetype at = 0;
        for (;;) {
            Tag tag;
            const qsizetype tagAt = nextRealTag(m_text, at, tag);
            const QStringView between = m_text.sliced(at, (tagAt < 0 ? m_text.size() : tagAt) - at);
            if (m_segment.strayText.isEmpty()
                && skip(between, 0, isSpaceOrLineEnd) < between.size()) {
                m_segment.strayText = between;
            }
            if (tagAt < 0) {
                break;
            }
            if (tag.kind == Tag::Kind::Field) {
                at = readField(tag);
            } else {
                endSegment(tag.kind);
                at = tag.end;
            }
        }
        endSegment(Tag::Kind::None);
        setLengths();
        return std::move(m_check);
    }

private:
    struct Segment {
        QStringView strayText; // text before its first tag, other than spaces and line ends
        QVarLengthArray<QStringView, 16> names;
        QString callSign;
        qsizetype firstMismatch = 0;
        qsizetype firstProblem = 0;
    };
    struct NewLength {
        qsizetype begin;
        qsizetype end;
        qsizetype length;
    };

    // Reads the field whose tag this is; gives where its value ends.
    qsizetype readField(const Tag &tag)
    {
        const qsizetype length = declaredLength(m_text, tag);
        const qsizetype valueBegin = tag.end;
        qsizetype valueEnd = valueBegin + length;
        qsizetype readTo = valueEnd; // where reading goes on
        if (!readsCleanly(m_text, valueBegin, length)) {
            Tag next;
            const qsizetype nextAt = nextRealTag(m_text, valueBegin, next);
            readTo = nextAt < 0 ? m_text.size() : nextAt;
            // A field added without its length where this value ends: the value is as declared,
            // and the added field's text is read past.
            const Tag added = length <= m_text.size() - valueBegin
                ? readTag(m_text, skip(m_text, valueEnd, isSpaceOrLineEnd))
                : Tag();
            if (added.kind == Tag::Kind::NoLength) {
                m_check.problems.append(
                    { ShapeProblem::Kind::NoLength, added.name.toString(), {} });
                addName(tag, valueBegin, valueEnd);
                return readTo;
            }
            valueEnd = readTo;
            while (valueEnd > valueBegin && isSpaceOrLineEnd(m_text[valueEnd - 1])) {
                --valueEnd;
            }
            const qsizetype newLength = valueEnd - valueBegin;
            m_newLengths.append({ tag.lengthBegin, tag.lengthEnd, newLength });
            // Loading turns two line ends in a row into one; each such pair makes the value two
            // characters shorter than its length says.
            const qsizetype shorter = length - newLength;
            const bool lineEndsDropped = shorter > 0 && shorter % 2 == 0
                && m_text.sliced(valueBegin, newLength).count(u"\r\n") >= shorter / 2;
            m_check.mismatches.append({ tag.name.toString(), {}, lineEndsDropped });
            readTo = valueEnd;
        }
        addName(tag, valueBegin, valueEnd);
        return readTo;
    }

    // Notes the field in its record: its name, and its value when it is the call sign.
    void addName(const Tag &tag, qsizetype valueBegin, qsizetype valueEnd)
    {
        const auto sameName
            = [&tag](QStringView name) { return name.compare(tag.name, Qt::CaseInsensitive) == 0; };
        if (std::any_of(m_segment.names.begin(), m_segment.names.end(), sameName)) {
            m_check.problems.append({ ShapeProblem::Kind::FieldTwice, tag.name.toString(), {} });
        } else {
            m_segment.names.append(tag.name);
        }
        if (m_segment.callSign.isEmpty() && tag.name.compare("CALL"_L1, Qt::CaseInsensitive) == 0) {
            m_segment.callSign = m_text.sliced(valueBegin, valueEnd - valueBegin).toString();
        }
    }

    void endSegment(Tag::Kind end)
    {
        using Kind = ShapeProblem::Kind;
        const bool header = end == Tag::Kind::EndOfHeader && !m_markerSeen;
        const RecordPlace place { header ? QString() : m_segment.callSign,
            header ? 0 : m_recordsEnded + 1 };
        for (qsizetype i = m_segment.firstMismatch; i < m_check.mismatches.size(); ++i) {
            m_check.mismatches[i].place = place;
        }
        for (qsizetype i = m_segment.firstProblem; i < m_check.problems.size(); ++i) {
            m_check.problems[i].place = place;
        }
        const QString stray
            = m_segment.strayText.isEmpty() ? QString() : quoted(m_segment.strayText);
        if (end == Tag::Kind::EndOfRecord) {
            if (!stray.isEmpty()) {
                m_check.problems.append({ Kind::StrayText, stray, place });
            }
            ++m_recordsEnded;
            m_lastRecord = place;
        } else if (end == Tag::Kind::EndOfHeader && !header) {
            // A header pasted among the records: one problem, whatever it holds.
            m_check.problems.resize(m_segment.firstProblem);
            m_check.problems.append({ Kind::HeaderNotAtTop, {}, m_lastRecord });
        } else if (end == Tag::Kind::None) {
            if (!m_segment.names.isEmpty()) {
                m_check.problems.append({ Kind::MissingEnd, {}, place });
            } else if (!stray.isEmpty()) {
                m_check.problems.append({ Kind::StrayText, stray, m_lastRecord, true });
            }
        }
        m_markerSeen = true;
        m_segment = { {}, {}, {}, m_check.mismatches.size(), m_check.problems.size() };
    }

    // Only the digits of the lengths change; the rest of the text is copied as it stands.
    void setLengths()
    {
        if (m_newLengths.isEmpty()) {
            return;
        }
        QString &out = m_check.logText;
        out.reserve(m_text.size() + m_newLengths.size());
        qsizetype from = 0;
        for (const NewLength &newLength : std::as_const(m_newLengths)) {
            out += m_text.sliced(from, newLength.begin - from);
            out += QString::number(newLength.length);
            from = newLength.end;
        }
        out += m_text.sliced(from);
    }

    QStringView m_text;
    LogTextCheck m_check;
    QList<NewLength> m_newLengths;
    Segment m_segment;
    qsizetype m_recordsEnded = 0;
    bool m_markerSeen = false; // an "<EOR>" or "<EOH>" ended a segment
    std::optional<RecordPlace> m_lastRecord;
};

} // namespace

QString RecordPlace::name() const
{
    if (number == 0) {
        return u"the header"_s;
    }
    return callSign.isEmpty() ? u"record %1"_s.arg(number) : callSign;
}

QString RecordPlace::withWord() const
{
    return number != 0 && !callSign.isEmpty() ? "record "_L1 + callSign : name();
}

QString LogTextCheck::lengthSummary() const
{
    QStringList sentences;
    if (const QString fields = describe(mismatches, false); !fields.isEmpty()) {
        sentences << "Field lengths set to match your edits: "_L1 + fields + u'.';
    }
    if (const QString fields = describe(mismatches, true); !fields.isEmpty()) {
        sentences << "Field lengths set where loading the list dropped an empty line inside the "
                     "value: "_L1
                + fields + u'.';
    }
    return sentences.join(u' ');
}

QString LogTextCheck::problemSummary() const
{
    if (problems.isEmpty()) {
        return {};
    }
    QStringList items;
    for (const ShapeProblem &problem : problems) {
        items << describe(problem);
    }
    return "No ADIF log was made: the list cannot be read as records. Correct it in the list and "
           "press Generate Log again: "_L1
        + joinedAtMost(items, u"and %1 more"_s) + u'.';
}

LogTextCheck checkLogText(const QString &logText)
{
    // An untouched list comes back as the same shared text, not a copy.
    LogTextCheck check = Reader(logText).read();
    if (check.mismatches.isEmpty()) {
        check.logText = logText;
    }
    return check;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "logtextcheck.h"

#include "record/logtext.h"

#include <QVarLengthArray>

#include <algorithm>
#include <array>

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

bool isLineEnd(QChar c)
{
    return c == u'\r' || c == u'\n';
}

bool isAsciiLetter(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

// What a "<" opens.
struct Tag {
    enum class Kind {
        None, // no tag: the "<" is text
        Field, // "<NAME:LENGTH>" or "<NAME:LENGTH:TYPE>"
        EndOfRecord, // "<EOR>"
        EndOfHeader, // "<EOH>"
        NoLength, // "<NAME>" or "<NAME:>": a field written without its length
        Unreadable, // "<NAME:" and what no reader can read as a length, a type and a ">"
    };
    enum class Fault { Length, Type, LineEnd };
    Kind kind = Kind::None;
    Fault fault = Fault::Length; // why an unreadable one is
    qsizetype begin = -1; // its "<"
    qsizetype end = -1; // just after its ">", or where an unreadable one stops
    QStringView name;
    qsizetype lengthBegin = -1; // the length's digits; -1 for "<NAME>"
    qsizetype lengthEnd = -1;

    [[nodiscard]] bool real() const
    {
        return kind == Kind::Field || kind == Kind::EndOfRecord || kind == Kind::EndOfHeader;
    }
    // A "<", a name and a ":" mean a tag wherever they stand: readers take them for one. "<NAME>"
    // means one only where a value ends; elsewhere it may be text ("see <QSL> tnx").
    [[nodiscard]] bool attempt() const
    {
        return kind == Kind::Unreadable || (kind == Kind::NoLength && lengthBegin >= 0);
    }
};

// An attempt at a field's tag that does not close where a tag would: it runs to its ">", or stops
// before a "<", a line end or the text's end.
Tag unreadable(Tag tag, QStringView text, qsizetype stoppedAt, Tag::Fault fault)
{
    qsizetype end = stoppedAt;
    while (end < text.size() && text[end] != u'>' && text[end] != u'<' && !isLineEnd(text[end])) {
        ++end;
    }
    tag.kind = Tag::Kind::Unreadable;
    tag.fault = end < text.size() && isLineEnd(text[end]) ? Tag::Fault::LineEnd : fault;
    tag.end = end < text.size() && text[end] == u'>' ? end + 1 : end;
    return tag;
}

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
    tag.begin = at;
    tag.name = text.sliced(at + 1, nameEnd - at - 1);
    if (text[nameEnd] == u'>') {
        tag.end = nameEnd + 1;
        tag.kind = tag.name.compare("EOR"_L1, Qt::CaseInsensitive) == 0 ? Tag::Kind::EndOfRecord
            : tag.name.compare("EOH"_L1, Qt::CaseInsensitive) == 0      ? Tag::Kind::EndOfHeader
                                                                        : Tag::Kind::NoLength;
        return tag;
    }
    if (isLineEnd(text[nameEnd])) {
        return unreadable(tag, text, nameEnd, Tag::Fault::LineEnd);
    }
    if (text[nameEnd] != u':') {
        return {};
    }
    tag.lengthBegin = nameEnd + 1;
    tag.lengthEnd = skip(text, tag.lengthBegin, isAsciiDigit);
    const bool hasLength = tag.lengthEnd > tag.lengthBegin;
    qsizetype close = tag.lengthEnd;
    if (close == text.size() || (text[close] != u'>' && text[close] != u':')) {
        return unreadable(tag, text, close, Tag::Fault::Length);
    }
    if (text[close] == u':') {
        const qsizetype typeEnd = skip(text, close + 1, isNameCharacter);
        if (!hasLength || typeEnd != close + 2 || !isAsciiLetter(text[close + 1])
            || typeEnd == text.size() || text[typeEnd] != u'>') {
            return unreadable(
                tag, text, close + 1, hasLength ? Tag::Fault::Type : Tag::Fault::Length);
        }
        close = typeEnd;
    }
    tag.end = close + 1;
    tag.kind = hasLength ? Tag::Kind::Field : Tag::Kind::NoLength;
    return tag;
}

// The next tag from the position on, or the next tag attempt when attempts count; -1 when there
// is none.
qsizetype nextTag(QStringView text, qsizetype from, Tag &tag, bool attempts = false)
{
    for (qsizetype at = text.indexOf(u'<', from); at >= 0; at = text.indexOf(u'<', at + 1)) {
        tag = readTag(text, at);
        if (tag.real() || (attempts && tag.attempt())) {
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
        if (!problem.detail.isEmpty()) {
            return u"the end of %1 is missing, before %2"_s.arg(where, problem.detail);
        }
        return u"the end of %1 is missing"_s.arg(where);
    case Kind::FieldTwice:
        return u"%1 holds %2 twice"_s.arg(where, problem.detail);
    case Kind::NoLength:
        return u"%1 in %2 has no length"_s.arg(problem.detail, where);
    case Kind::UnreadableLength:
    case Kind::UnreadableType: {
        const QStringView name = QStringView(problem.detail).sliced(1).split(u':').first();
        return u"the %1 of %2 in %3 cannot be read: %4"_s.arg(
            problem.kind == Kind::UnreadableType ? "type"_L1 : "length"_L1, name, where,
            problem.detail);
    }
    case Kind::BrokenTag:
        return u"a line end breaks the tag %1 in %2"_s.arg(problem.detail, where);
    case Kind::EmptyRecord:
        if (!problem.place) {
            return u"an <EOR> with no record before it, at the top of the list"_s;
        }
        return u"an <EOR> with no record before it, after %1"_s.arg(where);
    case Kind::MissingField:
        return u"%1 has no %2"_s.arg(where, problem.detail);
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

// The fields every contact holds: without one, a QSL service cannot match the contact.
const std::array<QLatin1StringView, 3> contactFields { "CALL"_L1, "QSO_DATE"_L1, "TIME_ON"_L1 };

// Reads the text one segment at a time: what stands up to an "<EOR>", an "<EOH>" or the end.
class Reader {
public:
    Reader(const QString &logText, qsizetype start)
        : m_text(logText)
        , m_start(start)
    {
    }

    LogTextCheck read()
    {
        qsizetype at = m_start;
        for (;;) {
            Tag tag;
            const qsizetype tagAt = nextTag(m_text, at, tag, true);
            noteStrayText(at, tagAt < 0 ? m_text.size() : tagAt);
            if (tagAt < 0) {
                break;
            }
            if (tag.kind == Tag::Kind::Field) {
                at = readField(tag);
            } else if (tag.attempt()) {
                at = readPast(tag);
            } else {
                endSegment(tag.kind, tagAt);
                at = tag.end;
            }
        }
        endSegment(Tag::Kind::None, m_text.size());
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
        qsizetype line = 0; // where its first tag or text stands; 0 while it holds none
    };
    struct NewLength {
        qsizetype begin;
        qsizetype end;
        qsizetype length;
    };

    // The line the position is on, counted on from the last one asked for.
    qsizetype lineAt(qsizetype position)
    {
        if (position >= m_linePosition) {
            m_line += m_text.sliced(m_linePosition, position - m_linePosition).count(u'\n');
        } else {
            m_line -= m_text.sliced(position, m_linePosition - position).count(u'\n');
        }
        m_linePosition = position;
        return m_line;
    }

    void beginSegmentAt(qsizetype position)
    {
        if (m_segment.line == 0) {
            m_segment.line = lineAt(position);
        }
    }

    void noteStrayText(qsizetype from, qsizetype to)
    {
        const qsizetype textAt = skip(m_text, from, isSpaceOrLineEnd);
        if (textAt >= to) {
            return;
        }
        beginSegmentAt(textAt);
        if (m_segment.strayText.isEmpty()) {
            qsizetype textEnd = to;
            while (isSpaceOrLineEnd(m_text[textEnd - 1])) {
                --textEnd;
            }
            m_segment.strayText = m_text.sliced(textAt, textEnd - textAt);
            m_strayLines = { lineAt(textAt), lineAt(textEnd) };
        }
    }

    // Reads the field whose tag this is; gives where its value ends.
    qsizetype readField(const Tag &tag)
    {
        beginSegmentAt(tag.begin);
        const qsizetype length = declaredLength(m_text, tag);
        const qsizetype valueBegin = tag.end;
        qsizetype valueEnd = valueBegin + length;
        if (readsCleanly(m_text, valueBegin, length)) {
            addName(tag, valueBegin, valueEnd);
            return valueEnd;
        }
        // A tag attempt where this value ends, or a field added there without its length: the
        // value is as declared, and what the attempt holds is read past.
        if (length <= m_text.size() - valueBegin) {
            if (const Tag added = readTag(m_text, skip(m_text, valueEnd, isSpaceOrLineEnd));
                added.kind == Tag::Kind::NoLength || added.kind == Tag::Kind::Unreadable) {
                addName(tag, valueBegin, valueEnd);
                return readPast(added);
            }
        }
        Tag next;
        const qsizetype nextAt = nextTag(m_text, valueBegin, next, true);
        valueEnd = nextAt < 0 ? m_text.size() : nextAt;
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
        addName(tag, valueBegin, valueEnd);
        return valueEnd;
    }

    // A tag attempt is named for the operator, and reading goes on at the next tag.
    qsizetype readPast(const Tag &attempt)
    {
        using Kind = ShapeProblem::Kind;
        beginSegmentAt(attempt.begin);
        if (attempt.kind == Tag::Kind::NoLength) {
            m_check.problems.append({ Kind::NoLength, attempt.name.toString(), {}, false, {} });
        } else {
            const Kind kind = attempt.fault == Tag::Fault::Length ? Kind::UnreadableLength
                : attempt.fault == Tag::Fault::Type               ? Kind::UnreadableType
                                                                  : Kind::BrokenTag;
            m_check.problems.append(
                { kind, m_text.sliced(attempt.begin, attempt.end - attempt.begin).toString(), {},
                    false, {} });
        }
        Tag next;
        const qsizetype nextAt = nextTag(m_text, attempt.end, next);
        return nextAt < 0 ? m_text.size() : nextAt;
    }

    // Notes the field in its record: its name, and its value when it is the call sign.
    void addName(const Tag &tag, qsizetype valueBegin, qsizetype valueEnd)
    {
        const auto sameName
            = [&tag](QStringView name) { return name.compare(tag.name, Qt::CaseInsensitive) == 0; };
        if (std::any_of(m_segment.names.begin(), m_segment.names.end(), sameName)) {
            if (startsLine(tag.begin)) {
                // The next contact's line, run into by a record whose "<EOR>" was lost.
                endRecordWithoutEnd(tag.begin);
            } else {
                m_check.problems.append(
                    { ShapeProblem::Kind::FieldTwice, tag.name.toString(), {}, false, {} });
                return;
            }
        }
        beginSegmentAt(tag.begin);
        m_segment.names.append(tag.name);
        if (m_segment.callSign.isEmpty() && tag.name.compare("CALL"_L1, Qt::CaseInsensitive) == 0) {
            m_segment.callSign = m_text.sliced(valueBegin, valueEnd - valueBegin).toString();
        }
    }

    // Only spaces and tabs stand between the position and the line end before it.
    bool startsLine(qsizetype position) const
    {
        while (position > 0 && (m_text[position - 1] == u' ' || m_text[position - 1] == u'\t')) {
            --position;
        }
        return position > 0 && m_text[position - 1] == u'\n';
    }

    RecordPlace segmentPlace(bool header) const
    {
        if (header) {
            return { {}, 0, m_segment.line, {} };
        }
        return { m_segment.callSign, m_recordsEnded + 1, m_segment.line,
            m_lastRecord ? m_lastRecord->callSign : QString() };
    }

    // Gives the segment's mismatches and problems their place, and the lines to show.
    void placeFindings(const RecordPlace &place, qsizetype lastLine)
    {
        for (qsizetype i = m_segment.firstMismatch; i < m_check.mismatches.size(); ++i) {
            m_check.mismatches[i].place = place;
        }
        for (qsizetype i = m_segment.firstProblem; i < m_check.problems.size(); ++i) {
            m_check.problems[i].place = place;
            m_check.problems[i].lines = { place.line, lastLine };
        }
        // A record run into by the one before: now its name is known.
        if (m_runInto >= 0 && m_runInto < m_segment.firstProblem) {
            m_check.problems[m_runInto].detail = place.withWord();
            m_runInto = -1;
        }
    }

    void startSegment()
    {
        m_segment = { {}, {}, {}, m_check.mismatches.size(), m_check.problems.size(), 0 };
    }

    void endRecordWithoutEnd(qsizetype nextRecordAt)
    {
        const RecordPlace place = segmentPlace(false);
        const qsizetype lastLine = lineAt(nextRecordAt) - 1;
        placeFindings(place, lastLine);
        m_runInto = m_check.problems.size();
        m_check.problems.append(
            { ShapeProblem::Kind::MissingEnd, {}, place, false, { place.line, lastLine } });
        ++m_recordsEnded;
        m_lastRecord = place;
        startSegment();
    }

    void endSegment(Tag::Kind end, qsizetype at)
    {
        using Kind = ShapeProblem::Kind;
        const bool header = end == Tag::Kind::EndOfHeader && !m_markerSeen;
        beginSegmentAt(at);
        const RecordPlace place = segmentPlace(header);
        const qsizetype lastLine = lineAt(at);
        placeFindings(place, lastLine);
        const QString stray
            = m_segment.strayText.isEmpty() ? QString() : quoted(m_segment.strayText);
        if (end == Tag::Kind::EndOfRecord) {
            ++m_recordsEnded;
            if (m_segment.names.isEmpty() && stray.isEmpty()) {
                // Nothing of a contact: the record before stays the one to name others by.
                m_check.problems.append(
                    { Kind::EmptyRecord, {}, m_lastRecord, false, { lastLine, lastLine } });
            } else {
                if (!stray.isEmpty()) {
                    m_check.problems.append({ Kind::StrayText, stray, place, false, m_strayLines });
                }
                // A record already named for another fault is not named again for a field
                // that the fault hid.
                if (m_check.problems.size() == m_segment.firstProblem) {
                    checkContactFields(place, lastLine);
                }
                m_lastRecord = place;
            }
        } else if (end == Tag::Kind::EndOfHeader && !header) {
            // A header pasted among the records: one problem, whatever it holds.
            m_check.problems.resize(m_segment.firstProblem);
            m_check.problems.append(
                { Kind::HeaderNotAtTop, {}, m_lastRecord, false, { place.line, lastLine } });
        } else if (end == Tag::Kind::None) {
            if (!m_segment.names.isEmpty()) {
                m_check.problems.append(
                    { Kind::MissingEnd, {}, place, false, { place.line, lastLine } });
            } else if (!stray.isEmpty()) {
                m_check.problems.append(
                    { Kind::StrayText, stray, m_lastRecord, true, m_strayLines });
            }
        }
        m_markerSeen = true;
        startSegment();
    }

    void checkContactFields(const RecordPlace &place, qsizetype lastLine)
    {
        QStringList missing;
        for (const QLatin1StringView field : contactFields) {
            const auto named = [field](QStringView name) {
                return name.compare(field, Qt::CaseInsensitive) == 0;
            };
            if (std::none_of(m_segment.names.begin(), m_segment.names.end(), named)) {
                missing << field;
            }
        }
        if (!missing.isEmpty()) {
            m_check.problems.append({ ShapeProblem::Kind::MissingField, joinedWithAnd(missing),
                place, false, { place.line, lastLine } });
        }
    }

    // Only the digits of the lengths change; the rest of the text is copied as it stands.
    void setLengths()
    {
        if (m_newLengths.isEmpty()) {
            return;
        }
        QString &out = m_check.logText;
        out.reserve(m_text.size() + m_newLengths.size());
        qsizetype from = m_start;
        for (const NewLength &newLength : std::as_const(m_newLengths)) {
            out += m_text.sliced(from, newLength.begin - from);
            out += QString::number(newLength.length);
            from = newLength.end;
        }
        out += m_text.sliced(from);
    }

    QStringView m_text;
    qsizetype m_start; // the first record's or header's first character
    LogTextCheck m_check;
    QList<NewLength> m_newLengths;
    Segment m_segment;
    Lines m_strayLines;
    qsizetype m_recordsEnded = 0;
    bool m_markerSeen = false; // an "<EOR>" or "<EOH>" ended a segment
    std::optional<RecordPlace> m_lastRecord;
    qsizetype m_runInto = -1; // the problem of a record without its end, until the next is read
    qsizetype m_line = 1; // the line at m_linePosition
    qsizetype m_linePosition = 0;
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
    if (number == 0) {
        return name();
    }
    QString words = "record "_L1 + (callSign.isEmpty() ? QString::number(number) : callSign);
    if (callSign.isEmpty() && !previousCallSign.isEmpty()) {
        words += " (after "_L1 + previousCallSign + u')';
    }
    return line > 0 ? words + ", line "_L1 + QString::number(line) : words;
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

Lines LogTextCheck::firstToFix() const
{
    const auto first = std::min_element(problems.begin(), problems.end(),
        [](const ShapeProblem &a, const ShapeProblem &b) { return a.lines.first < b.lines.first; });
    return first == problems.end() ? Lines() : first->lines;
}

LogTextCheck checkLogText(const QString &logText)
{
    const qsizetype start = skip(logText, 0, isSpaceOrLineEnd);
    LogTextCheck check = Reader(logText, start).read();
    // An untouched list comes back as the same shared text, not a copy.
    if (check.mismatches.isEmpty()) {
        check.logText = start == 0 ? logText : logText.sliced(start);
    }
    return check;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "logbox.h"

#include "record/logtext.h"

#include <QSignalBlocker>

using namespace Qt::StringLiterals;

LogBox::LogBox(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setObjectName(u"Text4"_s);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setTabChangesFocus(true);
    setAccessibleName(u"Pending records"_s);
    connect(document(), &QTextDocument::contentsChange, this,
        [this](int position, int /*removed*/, int added) {
            m_changedFrom
                = m_changedFrom < m_changedTo ? std::min(m_changedFrom, position) : position;
            m_changedTo = std::max(m_changedTo, position + added);
        });
}

QString LogBox::logText() const
{
    // The raw text: the plain-text view would turn a no-break space into a plain one and so change
    // a record that nobody touched.
    return logTextFromBoxText(document()->toRawText());
}

void LogBox::load(const QString &logText)
{
    {
        const QSignalBlocker loading(this);
        setPlainText(boxTextFromLogText(logText));
    }
    moveCursor(QTextCursor::End);
    m_changedFrom = m_changedTo = 0; // read from Latin-1, so every character fits
}

void LogBox::append(const QString &record)
{
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    end.insertText(boxTextFromLogText(record));
}

void LogBox::selectLines(Lines lines)
{
    const auto [begin, end] = boxTextSpanOfLines(document()->toRawText(), lines.first, lines.last);
    QTextCursor selection(document());
    selection.setPosition(int(begin));
    selection.setPosition(int(end), QTextCursor::KeepAnchor);
    setTextCursor(selection);
    centerCursor();
    setFocus();
}

QStringList LogBox::keepOnlyLatin1()
{
    if (m_changedFrom >= m_changedTo) {
        return {};
    }
    const int last = document()->characterCount() - 1;
    QTextCursor changed(document());
    changed.setPosition(std::min(m_changedFrom, last));
    changed.setPosition(std::min(m_changedTo, last), QTextCursor::KeepAnchor);
    m_changedFrom = m_changedTo = 0;
    const QString text = changed.selectedText();
    const QStringList leftOut = charactersOutsideLatin1(text);
    if (!leftOut.isEmpty()) {
        // Undone together with the typing or pasting it belongs to.
        changed.joinPreviousEditBlock();
        changed.insertText(withoutCharactersOutsideLatin1(text));
        changed.endEditBlock();
    }
    return leftOut;
}

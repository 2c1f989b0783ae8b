// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#pragma once

#include "record/logtextcheck.h"

#include <QPlainTextEdit>

// The list of pending records, as the operator sees and edits it. Plain text: it lays out only
// what is on screen, so tens of thousands of records stay quick. Its text is the log text with
// the box's own line ends; it remembers what a change has just put in, so that the characters
// its files cannot hold can be taken out of that part alone.
class LogBox : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit LogBox(QWidget *parent = nullptr);

    // The box's text with CR LF line ends, as it is saved and counted.
    [[nodiscard]] QString logText() const;
    // Fills the box with a log text at once, without a change to handle, and shows its end.
    void load(const QString &logText);
    // Adds a record at the end by one insertion, not a new text for the whole box: Save stays
    // quick however many records are pending.
    void append(const QString &record);
    // Shows these lines selected, with the keyboard in the box.
    void selectLines(Lines lines);
    // Takes the characters Latin-1 cannot hold out of what the last change put in, as part of
    // that change, and gives them, each once.
    QStringList keepOnlyLatin1();

private:
    // The part that a change has just put in; empty when there is none.
    int m_changedFrom = 0;
    int m_changedTo = 0;
};

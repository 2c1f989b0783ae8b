// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#pragma once

#include <QWidget>

// Invisible on screen, heard by screen readers: each text given to announce() is spoken as a
// notification, whichever control has the focus. Screen readers speak a changed name only of the
// focused control, so a count that changes after Save would otherwise go unheard.
class Announcer : public QWidget {
    Q_OBJECT

public:
    explicit Announcer(QWidget *parent);

    [[nodiscard]] QString text() const { return m_text; }
    void announce(const QString &text);

    // Gives every announcer the accessible role of a notification; installed once per program.
    static void installAccessibleRole();

private:
    QString m_text;
};

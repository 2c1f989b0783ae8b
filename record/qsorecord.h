// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#pragma once

#include <QString>

// The eight texts of one contact, exactly as they stand in the entry boxes.
struct QsoFields {
    QString call;
    QString day;
    QString month;
    QString year;
    QString time;
    QString band;
    QString mode;
    QString rst;
};

// The entries of a contact, in the order of their boxes on the window; the date's three boxes
// count as one entry.
enum class QsoEntry {
    Call,
    Date,
    Time,
    Band,
    Mode,
    Report,
};

// Either one ADIF record line (ending "<EOR>" CR LF) or the message that tells the operator
// which entry to correct, and that entry.
struct QsoRecordResult {
    QString record;
    QString rejection;
    QsoEntry rejectedEntry = QsoEntry::Call;

    [[nodiscard]] bool accepted() const { return rejection.isEmpty(); }
};

// Checks the call sign, the date, the time, the band, the mode and the report, in the order of the
// boxes on the window, and stops at the first that fails, so the operator sees one message per
// Save. An empty band, mode or report is accepted. The texts are taken as they stand: nothing is
// trimmed and nothing changes case here.
[[nodiscard]] QsoRecordResult composeQsoRecord(const QsoFields &fields);

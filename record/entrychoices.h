// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#pragma once

#include <QDateTime>
#include <QStringList>

// The fixed choice lists of the entry boxes, in the order they are offered.
[[nodiscard]] QStringList dayChoices();
[[nodiscard]] QStringList monthChoices();
[[nodiscard]] QStringList yearChoices();
[[nodiscard]] QStringList bandChoices();
[[nodiscard]] QStringList modeChoices();

// The texts the date and time boxes start with, taken from the local clock at start-up.
struct EntryPresets {
    QString day; // two digits: "07", not "7"
    QString month; // the month's name as it stands in the month list
    QString year; // four digits
    QString time; // "hh:mm", 24-hour
};

[[nodiscard]] EntryPresets entryPresets(const QDateTime &now);

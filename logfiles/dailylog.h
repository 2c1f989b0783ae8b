// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#pragma once

#include "logfiles/logfolder.h"
#include "record/logtextcheck.h"

#include <QDate>
#include <QLocale>

// The date stamp in daily log names: two-digit day, the locale's abbreviated month name, four-digit
// year ("07Dec2026" under English, "07Dez.2026" under German).
[[nodiscard]] QString dailyLogStamp(QDate date, const QLocale &locale);

// The name of the next daily log of that date: "log_<stamp>.adi" for the first, then
// "log_<stamp>_2.adi", "_3" and so on after the highest one present, whatever stands at it (a
// file, a folder, a link). A gap is not filled, so a name is never used twice.
[[nodiscard]] QString nextDailyLogName(const LogFolder &folder, QDate date, const QLocale &locale);

// A daily log just made.
struct DailyLogMade {
    QString path; // empty when nothing was pending
    QString lengthNote; // which declared lengths were set to match their values; empty if none
    Lines toFix; // where a list that was refused needs correcting first
};

// Sets every declared length that a hand edit left out of step with its value, saves the log text
// to the temporary log, then moves the temporary log to the day's next daily log; nothing is made
// when nothing is pending (no log text and no temporary log). All or nothing: on any failure no
// daily log is left behind and the temporary log keeps the records. A list (or, with no log text,
// a temporary log) that cannot be read as records is refused before anything is written, with a
// message naming each record to correct, and the lines of the first. A list of nothing but
// spaces, tabs and line ends is an empty list.
FileResult<DailyLogMade> makeDailyLog(
    const LogFolder &folder, const QString &logText, QDate today, const QLocale &locale);

// What the operator is told after a daily log was made, with the note on corrected lengths, and
// when nothing was pending.
[[nodiscard]] UserMessage dailyLogCreatedMessage(
    const LogFolder &folder, const QString &lengthNote = {});
[[nodiscard]] UserMessage nothingToElaborateMessage();

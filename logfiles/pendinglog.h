// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#pragma once

#include "logfiles/logfolder.h"
#include "logfiles/usermessage.h"
#include "record/logtextcheck.h"

#include <QDate>
#include <QLocale>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>

// Decides when the pending records are written to the temporary log, and remembers what that
// needs: whether the log text holds a change not yet written, and whether a failed write has been
// told. A record added by Save is written at once, a hand edit once the typing pauses, and the
// whole list once more when the window closes or the program is told to end. The log text is
// read through the function given; what the operator is to be told comes out of tell().
class PendingLog : public QObject {
    Q_OBJECT

public:
    using LogTextReader = std::function<QString()>;

    PendingLog(LogFolder folder, LogTextReader logText, QObject *parent = nullptr);

    // How long the typing must pause before a hand edit is written: a second unless set.
    [[nodiscard]] std::chrono::milliseconds typingPause() const;
    void setTypingPause(std::chrono::milliseconds pause);
    // A hand edit waits for the typing to pause before it is written.
    [[nodiscard]] bool isWriteWaiting() const { return m_typingPause.isActive(); }

    // Save added a record: it is on disk before this returns.
    void recordSaved();
    // The operator changed the list by hand: written once the typing pauses.
    void editedByHand();
    // The typing has paused: writes the waiting hand edit.
    void writeWaitingEdit();

    // Saves the list and moves it into the day's daily log. Once the records are there, the
    // window is told to empty the list (handedOver) before anything else is told, so that nothing
    // can write them back while a message box is open.
    void generateDailyLog(QDate today, const QLocale &locale);

    // Exit, or the window closed by its title bar: writes the list and confirms it. False when
    // the write failed and the window must stay open, so that nothing is lost.
    [[nodiscard]] bool saveBeforeClosing();
    // The program ends with nobody to answer a message box (the session ends, a signal to stop):
    // writes a change not yet written, telling nothing.
    void saveQuietly();

signals:
    void tell(const UserMessage &message);
    // The records are in a daily log: the list must be emptied now.
    void handedOver();
    // The list was refused, as told just before: these lines of it are the first to correct.
    void refusedAt(Lines lines);

private:
    // How a failed write is told to the operator.
    enum class FailureReport {
        Always, // the operator asked for the save and waits for it
        Once, // a save made along the way: told when writing starts to fail, not at every change
        Never, // the program is ending and nobody is there to answer a box
    };
    // Writes the log text to the temporary log; false when that failed.
    bool write(const QString &logText, FailureReport report);

    LogFolder m_folder;
    LogTextReader m_logText;
    QTimer m_typingPause;
    bool m_unwritten = false; // the log text holds a change the temporary log does not
    bool m_failureTold = false; // the last write failed and the operator has been told
    bool m_handingOver = false; // the list is being emptied after Generate Log
};

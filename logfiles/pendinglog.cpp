// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "pendinglog.h"

#include "logfiles/dailylog.h"
#include "record/logtext.h"

PendingLog::PendingLog(LogFolder folder, LogTextReader logText, QObject *parent)
    : QObject(parent)
    , m_folder(std::move(folder))
    , m_logText(std::move(logText))
{
    m_typingPause.setSingleShot(true);
    m_typingPause.setInterval(std::chrono::seconds(1));
    connect(&m_typingPause, &QTimer::timeout, this, &PendingLog::writeWaitingEdit);
}

std::chrono::milliseconds PendingLog::typingPause() const
{
    return m_typingPause.intervalAsDuration();
}

void PendingLog::setTypingPause(std::chrono::milliseconds pause)
{
    m_typingPause.setInterval(pause);
}

void PendingLog::recordSaved()
{
    // On disk before Save returns: a crash or a kill right after it loses nothing.
    write(m_logText(), FailureReport::Once);
}

void PendingLog::editedByHand()
{
    // The list emptied as its records are handed over is no edit: there is nothing to write.
    if (m_handingOver) {
        return;
    }
    m_unwritten = true;
    m_typingPause.start();
}

void PendingLog::writeWaitingEdit()
{
    write(m_logText(), FailureReport::Once);
}

void PendingLog::generateDailyLog(QDate today, const QLocale &locale)
{
    const FileResult<DailyLogMade> made = makeDailyLog(m_folder, m_logText(), today, locale);
    if (!made.ok()) {
        // The records stay in the list, and the next change, Exit and Generate Log try again.
        m_unwritten = true;
        emit tell(made.message());
        if (made.value.toFix.first > 0) {
            emit refusedAt(made.value.toFix);
        }
        return;
    }
    if (made.value.path.isEmpty()) {
        emit tell(nothingToElaborateMessage());
        return;
    }
    // The temporary log is gone, and with it anything left to write: a write the typing
    // scheduled, a signal or the end of the session must not bring the records back while the
    // message box runs its event loop. The list is emptied before anything is told.
    m_typingPause.stop();
    m_unwritten = false;
    m_failureTold = false;
    m_handingOver = true;
    emit handedOver();
    m_handingOver = false;
    emit tell(dailyLogCreatedMessage(m_folder, made.value.lengthNote));
}

bool PendingLog::saveBeforeClosing()
{
    const QString logText = m_logText();
    if (isBlankLogText(logText)) {
        return true;
    }
    if (!write(logText, FailureReport::Always)) {
        return false;
    }
    emit tell({ MessageStyle::Information, temporaryLogUpdatedMessage(m_folder) });
    return true;
}

void PendingLog::saveQuietly()
{
    if (m_unwritten) {
        write(m_logText(), FailureReport::Never);
    }
}

bool PendingLog::write(const QString &logText, FailureReport report)
{
    m_typingPause.stop();
    const FileOutcome saved = saveTemporaryLog(m_folder, logText);
    if (saved.ok()) {
        m_unwritten = false;
        m_failureTold = false;
        return true;
    }
    m_unwritten = true;
    if (report == FailureReport::Always || (report == FailureReport::Once && !m_failureTold)) {
        emit tell(saved.message());
    }
    m_failureTold = m_failureTold || report != FailureReport::Never;
    return false;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "terminationsignals.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>

#include <qt_windows.h>

namespace {

// Sees the messages Windows sends the program's windows before Qt does.
class SessionEndFilter : public QAbstractNativeEventFilter {
public:
    explicit SessionEndFilter(TerminationSignals &termination)
        : m_termination(termination)
    {
    }

    bool nativeEventFilter(const QByteArray &, void *message, qintptr *result) override
    {
        const auto *windowsMessage = static_cast<const MSG *>(message);
        if (windowsMessage->message == WM_QUERYENDSESSION) {
            emit m_termination.sessionEnding();
            *result = TRUE; // the session may end as far as this program goes
            return true;
        }
        if (windowsMessage->message == WM_ENDSESSION && windowsMessage->wParam) {
            emit m_termination.received(0);
            *result = 0;
            return true;
        }
        return false;
    }

private:
    TerminationSignals &m_termination;
};
} // namespace

TerminationSignals::TerminationSignals(QObject *parent)
    : QObject(parent)
    , m_sessionEnd(std::make_unique<SessionEndFilter>(*this))
{
    QCoreApplication::instance()->installNativeEventFilter(m_sessionEnd.get());
}

TerminationSignals::~TerminationSignals()
{
    QCoreApplication::instance()->removeNativeEventFilter(m_sessionEnd.get());
}

void TerminationSignals::onReadable()
{
    // Windows tells the end of the session through the filter, never through a socket.
}

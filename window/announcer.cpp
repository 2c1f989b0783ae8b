// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 Quillog developers

#include "announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace {

// A notification whose name is the text last announced.
class AccessibleAnnouncer : public QAccessibleWidget {
public:
    explicit AccessibleAnnouncer(Announcer *announcer)
        : QAccessibleWidget(announcer, QAccessible::Notification)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name) {
            return static_cast<const Announcer *>(widget())->text();
        }
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface *announcerInterface(const QString &className, QObject *object)
{
    if (className == QLatin1StringView(Announcer::staticMetaObject.className())) {
        return new AccessibleAnnouncer(static_cast<Announcer *>(object));
    }
    return nullptr;
}

} // namespace

Announcer::Announcer(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("countAnnouncer"));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // One transparent pixel: a notification must be shown to be spoken, and this shows nothing.
    setGeometry(0, 0, 1, 1);
}

void Announcer::announce(const QString &text)
{
    m_text = text;
    QAccessibleEvent named(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&named);
    // Screen readers speak a notification as it appears.
    hide();
    show();
}

void Announcer::installAccessibleRole()
{
    static const bool installed = [] {
        QAccessible::installFactory(announcerInterface);
        return true;
    }();
    Q_UNUSED(installed);
}

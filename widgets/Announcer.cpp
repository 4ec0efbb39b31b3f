// SPDX-License-Identifier: GPL-3.0-or-later

#include "Announcer.h"

#include <QAccessibleWidget>

namespace {

QAccessibleInterface *notificationOf(const QString &key, QObject *object)
{
    if (key == QLatin1String("Announcer") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Notification);
    return nullptr;
}

} // namespace

Announcer::Announcer(QWidget *parent)
    : QWidget(parent)
{
    static const bool installed = (QAccessible::installFactory(notificationOf), true);
    Q_UNUSED(installed);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 0, 0);
    hide();
}

void Announcer::announce(const QString &text)
{
    // Screen readers speak a notification as it comes into view.
    hide();
    setAccessibleName(text);
    show();
}

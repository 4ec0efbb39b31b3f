// SPDX-License-Identifier: GPL-3.0-or-later

#include "UndoKeyPassThrough.h"

#include <QKeyEvent>
#include <QLineEdit>

bool UndoKeyPassThrough::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    const auto *field = qobject_cast<QLineEdit *>(watched);
    if (!field || field->isUndoAvailable() || !static_cast<QKeyEvent *>(event)->matches(QKeySequence::Undo))
        return false;
    // Not taken: the key goes on to the shortcuts.
    event->ignore();
    return true;
}

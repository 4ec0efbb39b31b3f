// SPDX-License-Identifier: GPL-3.0-or-later

#include "FolderField.h"

#include <QKeyEvent>

void FolderField::mouseDoubleClickEvent(QMouseEvent *event)
{
    QLineEdit::mouseDoubleClickEvent(event);
    Q_EMIT pickRequested();
}

void FolderField::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool opensPicker = (event->key() == Qt::Key_F4 && modifiers == Qt::NoModifier)
                             || (event->key() == Qt::Key_Down && modifiers == Qt::AltModifier);
    if (opensPicker)
        Q_EMIT pickRequested();
    else
        QLineEdit::keyPressEvent(event);
}

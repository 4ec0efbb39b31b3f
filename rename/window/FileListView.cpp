// SPDX-License-Identifier: GPL-3.0-or-later

#include "FileListView.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QToolTip>

void FileListView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier) {
        const QPoint row = visualRect(currentIndex()).center();
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, row, viewport()->mapToGlobal(row));
        QCoreApplication::sendEvent(viewport(), &menu);
        return;
    }
    const QModelIndex before = currentIndex();
    QListView::keyPressEvent(event);
    const QModelIndex current = currentIndex();
    if (current == before || !current.isValid())
        return;
    const QString tip = current.data(Qt::ToolTipRole).toString();
    const QRect row = visualRect(current);
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(viewport()->mapToGlobal(row.bottomLeft()), tip, viewport(), row);
}

// SPDX-License-Identifier: GPL-3.0-or-later

#include "FileListView.h"

#include <QHelpEvent>
#include <QToolTip>

bool FileListView::viewportEvent(QEvent *event)
{
    if (event->type() != QEvent::ToolTip || !tipFor_)
        return QListView::viewportEvent(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const QModelIndex index = indexAt(help->pos());
    const QString tip = index.isValid() ? tipFor_(index.row()) : QString();
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), tip, viewport(), visualRect(index));
    return true;
}

// SPDX-License-Identifier: GPL-3.0-or-later

#include "TitleLabel.h"

#include <QMouseEvent>
#include <QWindow>

void TitleLabel::dragWindow(const QPoint &globalPress)
{
    QWidget *frame = window();
    QWindow *handle = frame->windowHandle();
    manualDrag_ = !(handle && handle->startSystemMove());
    dragOffset_ = globalPress - frame->pos();
}

void TitleLabel::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    Q_EMIT pressed(event->button(), event->globalPosition().toPoint());
}

void TitleLabel::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    if (manualDrag_ && (event->buttons() & Qt::LeftButton))
        window()->move(event->globalPosition().toPoint() - dragOffset_);
}

void TitleLabel::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    manualDrag_ = false;
}

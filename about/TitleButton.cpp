// SPDX-License-Identifier: GPL-3.0-or-later

#include "TitleButton.h"

#include <QPainter>

TitleButton::TitleButton(const QPixmap &picture, QWidget *parent)
    : QAbstractButton(parent)
    , picture_(picture)
{
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void TitleButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(isDown() ? QPoint(1, 1) : QPoint(0, 0), picture_);
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

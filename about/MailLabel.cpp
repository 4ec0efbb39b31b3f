// SPDX-License-Identifier: GPL-3.0-or-later

#include "MailLabel.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

MailLabel::MailLabel(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
}

void MailLabel::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    Q_EMIT hovered();
}

void MailLabel::mousePressEvent(QMouseEvent *event)
{
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void MailLabel::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click)
        Q_EMIT clicked();
}

void MailLabel::paintEvent(QPaintEvent *)
{
    const QFontMetrics metrics = fontMetrics();
    const QRect ink = metrics.tightBoundingRect(text());
    const int inkTop = ink.top();
    const int inkBottom = std::max(ink.bottom() + 1, metrics.underlinePos() + metrics.lineWidth() + 1);
    const int baseline = (height() - (inkBottom - inkTop)) / 2 - inkTop;
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.setFont(font());
    painter.drawText(QPoint(0, baseline), text());
}

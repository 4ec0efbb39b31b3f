// SPDX-License-Identifier: GPL-3.0-or-later

#include "ScrollArea.h"

#include "UiLook.h"

#include <QPainter>

ScrollArea::ScrollArea(const QString &text, QWidget *parent)
    : QFrame(parent)
    , text_(text)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, windowBackground());
    palette.setColor(QPalette::WindowText, QColor(0, 0, 128));
    setPalette(palette);
    setAutoFillBackground(true);
}

int ScrollArea::measureTextHeight()
{
    textHeight_ = fontMetrics().boundingRect(QRect(), 0, text_).height();
    return textHeight_;
}

void ScrollArea::setTextTop(int top)
{
    top_ = top;
    update(contentsRect());
}

void ScrollArea::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    const QRect area = contentsRect();
    const QRect textRect(area.left(), area.top() + top_, area.width(), textHeight_);
    QPainter painter(this);
    painter.setClipRect(area.intersected(textRect));
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(textRect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, text_);
}

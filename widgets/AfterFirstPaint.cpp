// SPDX-License-Identifier: GPL-3.0-or-later

#include "AfterFirstPaint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {

class PaintWatch : public QObject {
public:
    PaintWatch(QWidget *widget, std::function<void()> action)
        : QObject(widget)
        , action_(std::move(action))
    {
        widget->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // Queued: the paint is flushed to the screen before the action starts.
            QTimer::singleShot(0, parent(), std::move(action_));
            deleteLater();
        }
        return false;
    }

private:
    std::function<void()> action_;
};

} // namespace

void runAfterFirstPaint(QWidget *widget, std::function<void()> action) { new PaintWatch(widget, std::move(action)); }

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLabel>
#include <QPoint>

// The title label: a left press on it drags its window, through the window
// system's own move where there is one.
class TitleLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // Starts moving the window with the mouse, as its title bar would.
    void dragWindow(const QPoint &globalPress);

Q_SIGNALS:
    void pressed(Qt::MouseButton button, const QPoint &globalPosition);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool manualDrag_ = false;
    QPoint dragOffset_;
};

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QAbstractButton>
#include <QPixmap>

// The picture button in the title strip; it looks pressed while held down and
// takes the keyboard focus like any button.
class TitleButton : public QAbstractButton {
    Q_OBJECT
public:
    TitleButton(const QPixmap &picture, QWidget *parent = nullptr);
    QSize sizeHint() const override { return picture_.size(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap picture_;
};

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFrame>

// The sunken area the About text scrolls through; it draws the text with its
// top at a given row, centred and word-wrapped, clipped to the area.
class ScrollArea : public QFrame {
    Q_OBJECT
public:
    ScrollArea(const QString &text, QWidget *parent = nullptr);

    // Height of the text broken only at its line breaks; 0 when it cannot be measured.
    int measureTextHeight();
    void setTextTop(int top);
    int textTop() const { return top_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString text_;
    int top_ = 0;
    int textHeight_ = 0;
};

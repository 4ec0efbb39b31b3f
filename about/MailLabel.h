// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLabel>

// The e-mail label: reports the mouse moving over it and a left click on it.
// Its CJK font's line is taller than the label, so it places the text by the
// ink itself: the glyphs, descenders and underline all stay inside.
class MailLabel : public QLabel {
    Q_OBJECT
public:
    explicit MailLabel(const QString &text, QWidget *parent = nullptr);

Q_SIGNALS:
    void hovered();
    void clicked();

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    bool pressed_ = false;
};

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QMovie>
#include <QWidget>

// The looping banner animation, scaled to the strip with its aspect kept.
// It offers no context menu.
class BannerStrip : public QWidget {
    Q_OBJECT
public:
    explicit BannerStrip(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QMovie movie_;
};

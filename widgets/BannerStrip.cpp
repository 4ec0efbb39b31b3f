// SPDX-License-Identifier: GPL-3.0-or-later

#include "BannerStrip.h"

#include "ShowAllFit.h"

#include <QPainter>

namespace {
constexpr int stageWidth = 468;
constexpr int stageHeight = 60;
} // namespace

BannerStrip::BannerStrip(QWidget *parent)
    : QWidget(parent)
    , movie_(QStringLiteral(":/assets/banner.gif"))
{
    setContextMenuPolicy(Qt::PreventContextMenu);
    movie_.setCacheMode(QMovie::CacheAll);
    connect(&movie_, &QMovie::frameChanged, this, qOverload<>(&QWidget::update));
    movie_.start();
}

void BannerStrip::paintEvent(QPaintEvent *)
{
    const FitRect fit = showAllFit(stageWidth, stageHeight, width(), height());
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(QRect(fit.x, fit.y, fit.width, fit.height), movie_.currentPixmap());
}

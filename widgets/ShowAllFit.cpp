// SPDX-License-Identifier: GPL-3.0-or-later

#include "ShowAllFit.h"

#include <QSize>

FitRect showAllFit(int stageWidth, int stageHeight, int areaWidth, int areaHeight)
{
    if (stageWidth <= 0 || stageHeight <= 0)
        return {0, 0, 0, 0};
    const QSize fit = QSize(stageWidth, stageHeight).scaled(areaWidth, areaHeight, Qt::KeepAspectRatio);
    return {(areaWidth - fit.width()) / 2, (areaHeight - fit.height()) / 2, fit.width(), fit.height()};
}

// SPDX-License-Identifier: GPL-3.0-or-later

#include "ShowAllFit.h"

#include <algorithm>
#include <cmath>

FitRect showAllFit(int stageWidth, int stageHeight, int areaWidth, int areaHeight)
{
    if (stageWidth <= 0 || stageHeight <= 0)
        return {0, 0, 0, 0};
    const double scale = std::min(double(areaWidth) / stageWidth, double(areaHeight) / stageHeight);
    const int width = int(std::lround(stageWidth * scale));
    const int height = int(std::lround(stageHeight * scale));
    return {(areaWidth - width) / 2, (areaHeight - height) / 2, width, height};
}

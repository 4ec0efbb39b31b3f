// SPDX-License-Identifier: GPL-3.0-or-later

#include "AboutGeometry.h"

#include "Twips.h"

#include <algorithm>

std::vector<PointPx> ShapeFormOutline(int widthTwips, int heightTwips)
{
    const int wp = twipsToPixels(widthTwips);
    const int hp = twipsToPixels(heightTwips);
    const int wq = twipsToPixels(widthTwips - 45);
    return {{0, hp}, {0, 4}, {3, 0}, {wq, 0}, {wp, 4}, {wp, hp}, {0, hp}};
}

std::vector<RectPx> PhaseOutSteps(int widthPx, int heightPx)
{
    std::vector<RectPx> steps;
    int left = 0, top = 0, right = widthPx, bottom = heightPx;
    do {
        steps.push_back({std::min(left, right), top, std::max(left, right), bottom});
        left += 10;
        top += 4;
        right -= 10;
        bottom -= 4;
    } while (bottom - top >= 0);
    return steps;
}

int nextScrollTop(int top, int areaHeight, int textHeight)
{
    --top;
    return top < -textHeight ? areaHeight : top;
}

bool scrollFrameDue(std::uint32_t now, std::uint32_t lastFrame) { return std::uint32_t(now - lastFrame) > 40; }

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <vector>

struct PointPx {
    int x, y;
    bool operator==(const PointPx &other) const { return x == other.x && y == other.y; }
};

// A rectangle from (left, top) up to but not including (right, bottom).
struct RectPx {
    int left, top, right, bottom;
    bool operator==(const RectPx &other) const
    {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
};

// The window's outline for a size in twips: both top corners cut off
// diagonally, 3 pixels across and 4 down. Seven points, the first repeated last.
std::vector<PointPx> ShapeFormOutline(int widthTwips, int heightTwips);

// The collapse animation's visible rectangles, one per 50 ms step: 10 pixels
// off each side and 4 off top and bottom each step, until top passes bottom.
// Sides that have crossed are swapped, so each rectangle is the strip between them.
std::vector<RectPx> PhaseOutSteps(int widthPx, int heightPx);

// The scrolling text's next top: one pixel up, back to the area's height once
// the text of height textHeight has left the area at the top.
int nextScrollTop(int top, int areaHeight, int textHeight);

// Whether a new scroll frame is due: more than 40 ms after the last one, on a
// millisecond tick count that wraps around at 2^32.
bool scrollFrameDue(std::uint32_t now, std::uint32_t lastFrame);

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

struct FitRect {
    int x, y, width, height;
};

// Scales a stage to fit an area with its aspect kept and centres it, leaving
// bands on the two sides that do not fit (the "show all" rule of banner players).
FitRect showAllFit(int stageWidth, int stageHeight, int areaWidth, int areaHeight);

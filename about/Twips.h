// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The About window is laid out in twips, at the 15 twips a pixel it was drawn for.
constexpr int twipsPerPixel = 15;

// Rounds to the nearest integer, halves to the even neighbour.
long long roundHalfEven(double value);

int twipsToPixels(double twips);

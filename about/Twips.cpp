// SPDX-License-Identifier: GPL-3.0-or-later

#include "Twips.h"

#include <cmath>

long long roundHalfEven(double value) { return std::llrint(value); }

int twipsToPixels(double twips) { return int(roundHalfEven(twips / twipsPerPixel)); }

// SPDX-License-Identifier: GPL-3.0-or-later

#include "Countdown.h"

#include <cstdio>

std::string formatTimeLeft(int seconds)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", (seconds / 3600) % 24, (seconds / 60) % 60, seconds % 60);
    return text;
}

bool Countdown::tick()
{
    if (formatTimeLeft(timeLeft) == "00:00:00")
        return true;
    --timeLeft;
    return false;
}

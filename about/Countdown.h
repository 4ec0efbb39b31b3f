// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>

// The remaining time as "hh:nn:ss".
std::string formatTimeLeft(int seconds);

// The auto-close countdown. Each tick reads the time left: while it shows more
// than "00:00:00" one second is taken off; the tick that finds "00:00:00" ends
// it. Starting at ten seconds, the eleventh tick ends it.
struct Countdown {
    int timeLeft = 10;
    // True on the tick that ends the countdown.
    bool tick();
};

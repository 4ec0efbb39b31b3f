// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <functional>

// The About window's clocks. Tests shrink the intervals or drive the ticks by hand.
struct AboutTiming {
    int countdownTick = 1000; // ms between countdown ticks
    int collapseStep = 50;    // ms between collapse steps
    // Milliseconds since some start, wrapping at 2^32; the scroll frames are timed by it.
    std::function<std::uint32_t()> clock;
};

#pragma once

// The About window's clocks, in milliseconds. Tests shrink them.
struct AboutTiming {
    int countdownTick = 1000;
    int scrollFrame = 41; // frames must lie more than 40 ms apart
    int collapseStep = 50;
};

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The system's default sound.
class Beeper {
public:
    virtual ~Beeper() = default;
    virtual void beep() = 0;
};

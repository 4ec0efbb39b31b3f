// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Beeper.h"

class QtBeeper : public Beeper {
public:
    void beep() override;
};

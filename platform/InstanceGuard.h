// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Tells whether another copy of the program was already running when this one started.
class InstanceGuard {
public:
    virtual ~InstanceGuard() = default;
    virtual bool otherCopyRunning() const = 0;
};

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "InstanceGuard.h"

#include <QLockFile>
#include <QString>
#include <memory>

// Holds a per-user lock file for the program's lifetime; a copy that finds it
// held by a live process knows another copy runs. A stale lock of a crashed
// copy is taken over.
class LockFileInstanceGuard : public InstanceGuard {
public:
    // The lock lives in `folder`, by default the user's runtime folder.
    explicit LockFileInstanceGuard(const QString &folder = {});
    bool otherCopyRunning() const override { return !owned_; }

private:
    std::unique_ptr<QLockFile> lock_;
    bool owned_ = false;
};

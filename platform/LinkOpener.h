// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>

// Hands a link (mailto:, http:) to the program the user has chosen for it.
// Returns false when no program could be started for it.
class LinkOpener {
public:
    virtual ~LinkOpener() = default;
    virtual bool open(const QString &link) = 0;
};

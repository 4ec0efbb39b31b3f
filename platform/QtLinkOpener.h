// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "LinkOpener.h"

class QtLinkOpener : public LinkOpener {
public:
    bool open(const QString &link) override;
};

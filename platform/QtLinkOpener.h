#pragma once

#include "LinkOpener.h"

class QtLinkOpener : public LinkOpener {
public:
    bool open(const QString &link) override;
};

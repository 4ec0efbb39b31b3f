// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Services.h"

#include <memory>

// This operating system's folder listing and no-overwrite rename.
std::unique_ptr<FolderLister> makeSystemLister();
std::unique_ptr<FileRenamer> makeSystemRenamer();

// The real platform services, owned in one place.
class SystemServices {
public:
    SystemServices();
    ~SystemServices();
    Services services();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "../FolderLister.h"

// FindFirstFileW over "folder\*"; hidden and system attributes are left out.
class WinFolderLister : public FolderLister {
public:
    std::optional<FolderListing> listFiles(const NameBytes &folder) override;
    std::vector<std::int64_t> modificationTimes(const FolderHandle &folder,
                                                const std::vector<NameBytes> &names) override;
};

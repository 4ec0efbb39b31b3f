#pragma once

#include "../FolderLister.h"

// FindFirstFileW over "folder\*"; hidden and system attributes are left out.
class WinFolderLister : public FolderLister {
public:
    std::optional<std::vector<NameBytes>> listFiles(const NameBytes &folder) override;
};

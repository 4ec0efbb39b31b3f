#pragma once

#include "NativeNames.h"

#include <optional>
#include <vector>

// Lists the plain files of one folder in the file system's enumeration order,
// unsorted: no folders, hidden entries or system entries (on Linux everything
// that is neither a regular file nor a link to one). Nothing when the folder
// cannot be read.
class FolderLister {
public:
    virtual ~FolderLister() = default;
    virtual std::optional<std::vector<NameBytes>> listFiles(const NameBytes &folder) = 0;
};

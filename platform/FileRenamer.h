#pragma once

#include "NativeNames.h"

#include <cstddef>
#include <vector>

struct RenameRequest {
    NameBytes from;
    NameBytes to;
};

// Renames files inside one folder, in the order given. A request that cannot be
// carried out is skipped: a missing file, a taken name, a name that would leave
// the folder, any refusal of the file system. An existing entry is never
// replaced, and a file is never copied. Returns how many requests succeeded.
class FileRenamer {
public:
    virtual ~FileRenamer() = default;
    virtual std::size_t renameInFolder(const NameBytes &folder, const std::vector<RenameRequest> &requests) = 0;
};

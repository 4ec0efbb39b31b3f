#pragma once

#include "../FileRenamer.h"

// MoveFileExW without MOVEFILE_REPLACE_EXISTING, which fails on a taken name and
// only renames within the volume.
class WinFileRenamer : public FileRenamer {
public:
    std::size_t renameInFolder(const NameBytes &folder, const std::vector<RenameRequest> &requests) override;
};

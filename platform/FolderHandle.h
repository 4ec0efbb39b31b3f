// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>

struct FolderIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool known() const { return device != 0 || inode != 0; }
    bool operator==(const FolderIdentity &other) const { return device == other.device && inode == other.inode; }
};

// A folder held open from its listing until the renames that follow it, so the
// renames act on the folder that was listed even if its path has since been
// moved or replaced by a link to another folder.
class FolderHandle {
public:
    virtual ~FolderHandle() = default;
    // What the folder is, whatever its path: where the system cannot tell, zeros.
    virtual FolderIdentity identity() const { return {}; }
};

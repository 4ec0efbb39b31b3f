// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>

struct FolderIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool known() const { return device != 0 || inode != 0; }
    bool operator==(const FolderIdentity &other) const { return device == other.device && inode == other.inode; }
};

// When a folder's entries last changed, to the nanosecond; equal stamps mean
// the entries are as they were.
struct FolderStamp {
    std::int64_t modified = 0;
    std::int64_t changed = 0;
    bool operator==(const FolderStamp &other) const { return modified == other.modified && changed == other.changed; }
    // Whether a change after `now` (nanoseconds since the epoch) must show in
    // the stamp: file systems round their clock, so a change in the same tick
    // as the last one may leave the stamp as it was.
    bool settledBy(std::int64_t now) const { return now - std::max(modified, changed) > 1'000'000'000; }
};

// Which names a folder's file system takes: any plain name, or only those
// Windows takes, as FAT, exFAT, NTFS and SMB shares do.
enum class NameRules { Posix, Windows };

// A folder held open from its listing until the renames that follow it, so the
// renames act on the folder that was listed even if its path has since been
// moved or replaced by a link to another folder.
class FolderHandle {
public:
    virtual ~FolderHandle() = default;
    // What the folder is, whatever its path: where the system cannot tell, zeros.
    virtual FolderIdentity identity() const { return {}; }
    // Nothing where the file system's timestamps are coarse, cached or unknown:
    // then no stamp proves the folder unchanged.
    virtual std::optional<FolderStamp> stamp() const { return std::nullopt; }

    // Whether names that differ in letter case only are one entry here, once
    // asked: a folder's file system answers the same for all its names.
    mutable std::optional<bool> foldsCase;
    // Which names its file system takes, once asked, likewise.
    mutable std::optional<NameRules> nameRules;
};

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "FolderHandle.h"
#include "NativeNames.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

struct FolderListing {
    std::vector<NameBytes> names;
    std::shared_ptr<FolderHandle> folder; // the folder the names were read from
    // Each name's inode number, where the system tells it reliably and keeps
    // it across renames; else none.
    std::vector<std::uint64_t> inodes;
};

// Lists the plain files of one folder in the file system's enumeration order,
// unsorted: no folders, hidden entries or system entries (on Linux everything
// that is neither a regular file nor a link to one). Nothing when the folder
// cannot be read.
class FolderLister {
public:
    virtual ~FolderLister() = default;
    virtual std::optional<FolderListing> listFiles(const NameBytes &folder) = 0;
    // When each named file was last modified, in nanoseconds since the epoch;
    // the largest value for a name that cannot be looked at.
    virtual std::vector<std::int64_t> modificationTimes(const FolderHandle &folder, const std::vector<NameBytes> &names)
        = 0;
    // The time a folder's stamp is read against, in nanoseconds since the
    // epoch: the wall clock, which tests move on.
    virtual std::int64_t now() const
    {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
            .count();
    }
};

// SPDX-License-Identifier: GPL-3.0-or-later

#include "PosixFolderLister.h"

#include "../InChunks.h"
#include "FolderEntries.h"
#include "PosixCalls.h"
#include "PosixFolderHandle.h"

#include <limits>
#include <sys/stat.h>

namespace {

// A regular file, or a symbolic link that leads to one. The entry type from
// readdir spares a stat call for the common case.
bool isListableFile(int dirFd, unsigned char type, const char *name)
{
    if (type == DT_REG)
        return true;
    if (type != DT_LNK && type != DT_UNKNOWN)
        return false;
    struct stat st {};
    return fstatat(dirFd, name, &st, 0) == 0 && S_ISREG(st.st_mode);
}

} // namespace

std::optional<FolderListing> PosixFolderLister::listFiles(const NameBytes &folder)
{
    std::shared_ptr<PosixFolderHandle> handle = PosixFolderHandle::open(folder);
    if (!handle)
        return std::nullopt;
    FolderListing listing;
    FolderEntries entries;
    // Taken before the read, so that any change during it shows too.
    const std::optional<FolderStamp> before = handle->stamp();
    const std::int64_t readAt = now();
    const int err = readFolderEntries(handle->fd(), [&](const dirent &entry) {
        const bool file = isListableFile(handle->fd(), entry.d_type, entry.d_name);
        entries.add(entry.d_name, file);
        if (entry.d_name[0] == '.' || !file)
            return;
        listing.names.emplace_back(entry.d_name);
        listing.inodes.push_back(entry.d_ino);
    });
    if (err != 0)
        return std::nullopt;
    // The renames that follow need not read the folder again while it stays as listed.
    if (before && before->settledBy(readAt))
        handle->rememberListing(*before, std::move(entries));
    PosixCalls calls;
    // The entry's inode number is the file's own only where a look at one file
    // agrees, and stays through a rename only off FUSE.
    struct stat first {};
    if (!listing.names.empty()
        && (!calls.keepsInodes(handle->fd())
            || fstatat(handle->fd(), listing.names.front().c_str(), &first, AT_SYMLINK_NOFOLLOW) != 0
            || first.st_ino != listing.inodes.front()))
        listing.inodes.clear();
    listing.folder = std::move(handle);
    return listing;
}

std::vector<std::int64_t> PosixFolderLister::modificationTimes(const FolderHandle &folder,
                                                               const std::vector<NameBytes> &names)
{
    const auto *open = dynamic_cast<const PosixFolderHandle *>(&folder);
    std::vector<std::int64_t> times(names.size(), std::numeric_limits<std::int64_t>::max());
    if (!open)
        return times;
    // A stat a file is most of a sort by time; the cores share them.
    inChunks(names.size(), 10000, [&](std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i) {
            struct stat st {};
            if (fstatat(open->fd(), names[i].c_str(), &st, 0) == 0)
                times[i] = std::int64_t(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
        }
    });
    return times;
}

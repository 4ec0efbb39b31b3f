// SPDX-License-Identifier: GPL-3.0-or-later

#include "PosixFolderHandle.h"

#include <algorithm>
#include <fcntl.h>
#include <iterator>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

PosixFolderHandle::~PosixFolderHandle() { ::close(fd_); }

std::shared_ptr<PosixFolderHandle> PosixFolderHandle::open(const NameBytes &path)
{
    const int fd = ::open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    return std::make_shared<PosixFolderHandle>(fd);
}

FolderIdentity PosixFolderHandle::identity() const
{
    struct stat st {};
    if (fstat(fd_, &st) != 0)
        return {};
    return {std::uint64_t(st.st_dev), std::uint64_t(st.st_ino)};
}

namespace {

// Local file systems whose timestamps have nanoseconds and are never cached
// on the way; FUSE, network and FAT file systems are not among them.
bool keepsFineTimes(int fd)
{
    constexpr decltype(statfs::f_type) fine[] = {0xEF53, 0x01021994, 0x58465342, 0x9123683E}; // ext, tmpfs, xfs, btrfs
    struct statfs about {};
    return fstatfs(fd, &about) == 0 && std::find(std::begin(fine), std::end(fine), about.f_type) != std::end(fine);
}

std::int64_t nanoseconds(const timespec &time) { return std::int64_t(time.tv_sec) * 1'000'000'000 + time.tv_nsec; }

} // namespace

std::optional<FolderStamp> PosixFolderHandle::stamp() const
{
    struct stat st {};
    if (fstat(fd_, &st) != 0 || !keepsFineTimes(fd_))
        return std::nullopt;
    // Whole seconds on both: an ext file system with small inodes keeps no more.
    if (st.st_mtim.tv_nsec == 0 && st.st_ctim.tv_nsec == 0)
        return std::nullopt;
    return FolderStamp{nanoseconds(st.st_mtim), nanoseconds(st.st_ctim)};
}

void PosixFolderHandle::rememberListing(const FolderStamp &before, FolderEntries entries)
{
    listedStamp_ = before;
    listedEntries_ = std::move(entries);
}

const FolderEntries *PosixFolderHandle::entriesIfUnchanged() const
{
    return listedStamp_ && stamp() == listedStamp_ ? &listedEntries_ : nullptr;
}

// SPDX-License-Identifier: GPL-3.0-or-later

#include "PosixFolderLister.h"

#include "NoOverwriteRename.h"
#include "PosixFolderHandle.h"

#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct DirCloser {
    void operator()(DIR *dir) const { closedir(dir); }
};

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
    const int readable = openat(handle->fd(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (readable < 0)
        return std::nullopt;
    std::unique_ptr<DIR, DirCloser> dir(fdopendir(readable));
    if (!dir) {
        close(readable);
        return std::nullopt;
    }

    FolderListing listing;
    std::vector<NameBytes> interrupted;
    while (const dirent *entry = readdir(dir.get())) {
        if (entry->d_name[0] == '.' || !isListableFile(readable, entry->d_type, entry->d_name))
            continue;
        if (NameBytes(entry->d_name).compare(0, movingPrefix.size(), movingPrefix) == 0)
            interrupted.emplace_back(entry->d_name);
        else
            listing.names.emplace_back(entry->d_name);
    }
    // Put back after reading: renaming while readdir runs may show an entry twice.
    PosixCalls calls;
    FolderWays ways;
    for (const NameBytes &name : interrupted)
        listing.names.push_back(restoreInterrupted(calls, handle->fd(), name, ways));
    listing.folder = std::move(handle);
    return listing;
}

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

// Calls `take` with each entry of the folder open as dirFd, "." and ".." left
// out. Returns 0, or the error number when the folder cannot be read.
template <class Take> int readFolderEntries(int dirFd, Take take)
{
    struct DirCloser {
        void operator()(DIR *dir) const { closedir(dir); }
    };
    const int readable = openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (readable < 0)
        return errno;
    std::unique_ptr<DIR, DirCloser> dir(fdopendir(readable));
    if (!dir) {
        const int err = errno;
        close(readable);
        return err;
    }
    while (const dirent *entry = readdir(dir.get())) {
        const char *name = entry->d_name;
        if (!(name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))))
            take(*entry);
    }
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later

#include "PosixCalls.h"

#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <thread>
#include <unistd.h>

namespace {
int result(int rc) { return rc == 0 ? 0 : errno; }

struct DirCloser {
    void operator()(DIR *dir) const { closedir(dir); }
};
} // namespace

int PosixCalls::renameNoReplace(int dirFd, const char *from, const char *to)
{
    return result(renameat2(dirFd, from, dirFd, to, RENAME_NOREPLACE));
}

int PosixCalls::renameReplacing(int dirFd, const char *from, const char *to)
{
    return result(renameat(dirFd, from, dirFd, to));
}

int PosixCalls::link(int dirFd, const char *from, const char *to) { return result(linkat(dirFd, from, dirFd, to, 0)); }

int PosixCalls::unlink(int dirFd, const char *name) { return result(unlinkat(dirFd, name, 0)); }

int PosixCalls::createExclusive(int dirFd, const char *name, struct stat &created)
{
    const int fd = openat(dirFd, name, O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno;
    const int err = result(fstat(fd, &created));
    ::close(fd);
    if (err != 0)
        unlinkat(dirFd, name, 0);
    return err;
}

int PosixCalls::stat(int dirFd, const char *name, struct stat &out)
{
    return result(fstatat(dirFd, name, &out, AT_SYMLINK_NOFOLLOW));
}

int PosixCalls::statTarget(int dirFd, const char *name, struct stat &out)
{
    return result(fstatat(dirFd, name, &out, 0));
}

namespace {

// Calls `take` with every entry of the folder but "." and "..".
template <class Take> int readEntries(int dirFd, Take take)
{
    const int readable = openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (readable < 0)
        return errno;
    std::unique_ptr<DIR, DirCloser> dir(fdopendir(readable));
    if (!dir) {
        const int err = errno;
        ::close(readable);
        return err;
    }
    while (const dirent *entry = readdir(dir.get())) {
        const char *name = entry->d_name;
        if (!(name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))))
            take(*entry);
    }
    return 0;
}

} // namespace

int PosixCalls::listNames(int dirFd, std::vector<NameBytes> &names)
{
    names.clear();
    return readEntries(dirFd, [&](const dirent &entry) { names.emplace_back(entry.d_name); });
}

int PosixCalls::listNonFiles(int dirFd, std::vector<NameBytes> &names)
{
    names.clear();
    return readEntries(dirFd, [&](const dirent &entry) {
        if (entry.d_type != DT_REG)
            names.emplace_back(entry.d_name);
    });
}

void PosixCalls::pause(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

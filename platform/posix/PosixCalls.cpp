// SPDX-License-Identifier: GPL-3.0-or-later

#include "PosixCalls.h"

#include "FileSystemKind.h"
#include "FolderEntries.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/vfs.h>
#include <thread>
#include <unistd.h>

namespace {
int result(int rc) { return rc == 0 ? 0 : errno; }
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

// Through mknodat, not open: rclone without a cache uploads a file when its
// last write handle goes, and did so over the file renamed onto the placeholder.
int PosixCalls::createExclusive(int dirFd, const char *name, struct stat &created)
{
    if (mknodat(dirFd, name, S_IFREG | 0600, 0) != 0)
        return errno;
    const int err = result(fstatat(dirFd, name, &created, AT_SYMLINK_NOFOLLOW));
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

int PosixCalls::bornAt(int dirFd, const char *name, std::int64_t &born)
{
    struct statx st {};
    if (statx(dirFd, name, AT_SYMLINK_NOFOLLOW, STATX_BTIME, &st) != 0)
        return errno;
    born = (st.stx_mask & STATX_BTIME) != 0 ? std::int64_t(st.stx_btime.tv_sec) * 1'000'000'000 + st.stx_btime.tv_nsec
                                            : 0;
    return 0;
}

int PosixCalls::listNames(int dirFd, std::vector<NameBytes> &names)
{
    names.clear();
    return readFolderEntries(dirFd, [&](const dirent &entry) { names.emplace_back(entry.d_name); });
}

bool PosixCalls::keepsInodes(int dirFd)
{
    constexpr decltype(statfs::f_type) fuseMagic = 0x65735546;
    struct statfs about {};
    return fstatfs(dirFd, &about) == 0 && about.f_type != fuseMagic;
}

void PosixCalls::pause(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

NameRules PosixCalls::nameRules(int dirFd) { return nameRulesOf(dirFd); }

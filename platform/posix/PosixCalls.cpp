#include "PosixCalls.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {
int result(int rc) { return rc == 0 ? 0 : errno; }
} // namespace

int PosixCalls::renameNoReplace(int dirFd, const char *from, const char *to)
{
    return result(renameat2(dirFd, from, dirFd, to, RENAME_NOREPLACE));
}

int PosixCalls::link(int dirFd, const char *from, const char *to)
{
    return result(linkat(dirFd, from, dirFd, to, 0));
}

int PosixCalls::unlink(int dirFd, const char *name) { return result(unlinkat(dirFd, name, 0)); }

int PosixCalls::stat(int dirFd, const char *name, struct stat &out)
{
    return result(fstatat(dirFd, name, &out, AT_SYMLINK_NOFOLLOW));
}

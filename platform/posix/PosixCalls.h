// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "../FolderHandle.h"
#include "../NativeNames.h"

#include <sys/stat.h>
#include <vector>

// When an entry's content last changed, in nanoseconds since the epoch.
inline std::int64_t modifiedAt(const struct stat &entry)
{
    return std::int64_t(entry.st_mtim.tv_sec) * 1'000'000'000 + entry.st_mtim.tv_nsec;
}

// The system calls a rename inside one open folder needs. Each returns 0 or the
// error number, so that tests can force any error without touching errno.
class PosixCalls {
public:
    virtual ~PosixCalls() = default;
    virtual int renameNoReplace(int dirFd, const char *from, const char *to);
    // A plain rename, which replaces `to`; only used onto our own placeholder.
    virtual int renameReplacing(int dirFd, const char *from, const char *to);
    virtual int link(int dirFd, const char *from, const char *to);
    virtual int unlink(int dirFd, const char *name);
    // Creates an empty file that must not exist yet, not even as a dangling link,
    // and tells what was created. The file is never opened, so that no handle
    // of ours is left to be written back over what is later moved onto it.
    virtual int createExclusive(int dirFd, const char *name, struct stat &created);
    // Looks at the entry itself, never through a symbolic link.
    virtual int stat(int dirFd, const char *name, struct stat &out);
    // Looks at what a symbolic link leads to.
    virtual int statTarget(int dirFd, const char *name, struct stat &out);
    // When the entry was made, in nanoseconds since the epoch; 0 where the
    // file system does not tell.
    virtual int bornAt(int dirFd, const char *name, std::int64_t &born);
    // Every entry name of the folder but "." and "..".
    virtual int listNames(int dirFd, std::vector<NameBytes> &names);
    virtual void pause(int milliseconds);
    // Whether the folder's file system keeps a file's inode number across a
    // rename; FUSE file systems may number a name afresh.
    virtual bool keepsInodes(int dirFd);
    virtual NameRules nameRules(int dirFd);
};

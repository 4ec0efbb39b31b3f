#pragma once

#include <sys/stat.h>

// The system calls a rename inside one open folder needs. Each returns 0 or the
// error number, so that tests can force any error without touching errno.
class PosixCalls {
public:
    virtual ~PosixCalls() = default;
    virtual int renameNoReplace(int dirFd, const char *from, const char *to);
    virtual int link(int dirFd, const char *from, const char *to);
    virtual int unlink(int dirFd, const char *name);
    // Looks at the entry itself, never through a symbolic link.
    virtual int stat(int dirFd, const char *name, struct stat &out);
};

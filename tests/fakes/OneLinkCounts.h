// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "posix/PosixCalls.h"

// A folder seen as sshfs shows one: every entry counts one link, even a file
// under two names, and inode numbers are the mount's own.
template <class Calls> struct OneLinkCounts : Calls {
    int stat(int dirFd, const char *name, struct stat &out) override
    {
        const int err = Calls::stat(dirFd, name, out);
        out.st_nlink = 1;
        return err;
    }
    bool keepsInodes(int) override { return false; }
};

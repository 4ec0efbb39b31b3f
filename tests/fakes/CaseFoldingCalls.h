// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "posix/PosixCalls.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string_view>
#include <unistd.h>

// A folder on the disk seen as FAT and exFAT through FUSE show one, with no
// mount: a name finds the entry it folds like, a new name is taken where an
// entry folds like it, a name Windows refuses is refused, and there is
// neither RENAME_NOREPLACE nor a hard link.
struct CaseFoldingCalls : PosixCalls {
    int renameNoReplace(int, const char *, const char *) override { return EINVAL; }
    int link(int, const char *, const char *) override { return EPERM; }
    NameRules nameRules(int) override { return NameRules::Windows; }
    int renameReplacing(int dirFd, const char *from, const char *to) override
    {
        if (refuses(to))
            return EINVAL;
        const NameBytes source = spelled(dirFd, from), target = spelled(dirFd, to);
        if (target != source && target != to)
            unlinkat(dirFd, target.c_str(), 0);
        return renameat(dirFd, source.c_str(), dirFd, to) == 0 ? 0 : errno;
    }
    int unlink(int dirFd, const char *name) override { return PosixCalls::unlink(dirFd, spelled(dirFd, name).c_str()); }
    int createExclusive(int dirFd, const char *name, struct stat &created) override
    {
        if (refuses(name))
            return EINVAL;
        return spelled(dirFd, name) != name ? EEXIST : PosixCalls::createExclusive(dirFd, name, created);
    }
    int stat(int dirFd, const char *name, struct stat &out) override
    {
        return PosixCalls::stat(dirFd, spelled(dirFd, name).c_str(), out);
    }
    int statTarget(int dirFd, const char *name, struct stat &out) override
    {
        return PosixCalls::statTarget(dirFd, spelled(dirFd, name).c_str(), out);
    }

    // As exFAT refuses: its characters, and where the driver would cut it, a trailing space or dot.
    static bool refuses(const char *name)
    {
        const std::string_view text(name);
        return text.find_first_of("\"*:<>?\\|\x01\x1f") != std::string_view::npos || text.back() == ' '
               || text.back() == '.';
    }

    // The spelling of the entry that folds like `name`; the name itself where none does.
    NameBytes spelled(int dirFd, const char *name)
    {
        std::vector<NameBytes> names;
        listNames(dirFd, names);
        const std::string folded = foldedName(name);
        for (NameBytes &entry : names)
            if (entry == name)
                return entry;
        for (NameBytes &entry : names)
            if (foldedName(entry) == folded)
                return entry;
        return name;
    }
};

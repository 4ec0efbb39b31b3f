// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "../FolderHandle.h"

#include <string>
#include <string_view>

// The file system type /proc/self/mountinfo gives the mount of device
// `major`:`minor` ("ext4", "fuseblk", "fuse.fusefat" ...); empty where none.
std::string mountTypeOf(std::string_view mountinfo, unsigned major, unsigned minor);
// Which names a file system of that type takes. A FUSE block device without a
// subtype is exFAT or NTFS as their Debian drivers mount them.
NameRules nameRulesOfMountType(std::string_view type);
// The same for the file system the open folder `fd` is on.
NameRules nameRulesOf(int fd);

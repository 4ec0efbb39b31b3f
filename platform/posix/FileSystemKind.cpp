// SPDX-License-Identifier: GPL-3.0-or-later

#include "FileSystemKind.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/vfs.h>

std::string mountTypeOf(std::string_view mountinfo, unsigned major, unsigned minor)
{
    const std::string device = std::to_string(major) + ':' + std::to_string(minor);
    std::istringstream lines{std::string(mountinfo)};
    std::string line;
    while (std::getline(lines, line)) {
        // id parent major:minor root point options [optional fields...] - type source super-options
        std::istringstream fields(line);
        std::string id, parent, numbers, field;
        if (!(fields >> id >> parent >> numbers) || numbers != device)
            continue;
        while (fields >> field && field != "-") {
        }
        if (fields >> field)
            return field;
    }
    return {};
}

NameRules nameRulesOfMountType(std::string_view type)
{
    constexpr std::string_view windowsNamed[] = {
        "vfat",
        "msdos",
        "exfat",
        "ntfs",
        "ntfs3",
        "cifs",
        "smb3",
        "smbfs",
        "fuseblk",
        "fuse.exfat",
        "fuse.fusefat",
        "fuse.ntfs-3g",
        "fuse.lowntfs-3g",
        "fuse.smbnetfs",
        "fuseblk.exfat",
        "fuseblk.ntfs-3g",
        "fuseblk.ntfs",
    };
    return std::find(std::begin(windowsNamed), std::end(windowsNamed), type) != std::end(windowsNamed)
               ? NameRules::Windows
               : NameRules::Posix;
}

NameRules nameRulesOf(int fd)
{
    constexpr decltype(statfs::f_type) windowsNamed[] = {
        0x4d44,     // FAT
        0x2011BAB0, // exFAT
        0x5346544e, // NTFS
        0x7366746e, // ntfs3
        0x517B,     // SMB
        0xFF534D42, // CIFS
        0xFE534D42, // SMB2
    };
    constexpr decltype(statfs::f_type) fuse = 0x65735546;
    struct statfs about {};
    if (fstatfs(fd, &about) != 0)
        return NameRules::Posix;
    if (std::find(std::begin(windowsNamed), std::end(windowsNamed), about.f_type) != std::end(windowsNamed))
        return NameRules::Windows;
    struct stat st {};
    if (about.f_type != fuse || fstat(fd, &st) != 0)
        return NameRules::Posix;
    // FUSE says which driver serves it only in the mount table.
    std::ifstream table("/proc/self/mountinfo");
    const std::string mountinfo{std::istreambuf_iterator<char>(table), {}};
    return nameRulesOfMountType(mountTypeOf(mountinfo, major(st.st_dev), minor(st.st_dev)));
}

// SPDX-License-Identifier: GPL-3.0-or-later

#include "PosixFolderHandle.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

PosixFolderHandle::~PosixFolderHandle() { ::close(fd_); }

std::shared_ptr<PosixFolderHandle> PosixFolderHandle::open(const NameBytes &path)
{
    const int fd = ::open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    return std::make_shared<PosixFolderHandle>(fd);
}

FolderIdentity PosixFolderHandle::identity() const
{
    struct stat st {};
    if (fstat(fd_, &st) != 0)
        return {};
    return {std::uint64_t(st.st_dev), std::uint64_t(st.st_ino)};
}

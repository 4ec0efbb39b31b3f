// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "../FolderHandle.h"
#include "../NativeNames.h"

#include <memory>

// A folder open as an O_PATH descriptor; every name is resolved relative to it.
class PosixFolderHandle : public FolderHandle {
public:
    explicit PosixFolderHandle(int fd)
        : fd_(fd)
    {
    }
    ~PosixFolderHandle() override;
    PosixFolderHandle(const PosixFolderHandle &) = delete;
    PosixFolderHandle &operator=(const PosixFolderHandle &) = delete;

    // Nothing when the path is not a folder that can be opened.
    static std::shared_ptr<PosixFolderHandle> open(const NameBytes &path);
    int fd() const { return fd_; }
    FolderIdentity identity() const override;

private:
    int fd_;
};

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "../FileRenamer.h"
#include "PosixCalls.h"

// Renames relative to one open descriptor of the folder, on the raw names.
class PosixFileRenamer : public FileRenamer {
public:
    PosixFileRenamer()
        : calls_(systemCalls_)
    {
    }
    // Tests pass calls that fail on purpose.
    explicit PosixFileRenamer(PosixCalls &calls)
        : calls_(calls)
    {
    }
    std::shared_ptr<FolderHandle> openFolder(const NameBytes &path) override;
    std::vector<RenameOutcome> renameInFolder(const FolderHandle &folder, const std::vector<RenameRequest> &requests,
                                              const Progress &progress = {}, bool sameFilesOnly = false,
                                              const Intend &intend = {}) override;
    void recoverInterrupted(const FolderHandle &folder, const std::vector<FallbackIntent> &steps) override;
    bool readFolder(const FolderHandle &folder, const TakeEntry &take) override;

private:
    PosixCalls systemCalls_;
    PosixCalls &calls_;
};

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
    std::unique_ptr<FolderMoves> movesIn(const FolderHandle &folder, const Intend &intend = {}) override;
    void recoverInterrupted(const FolderHandle &folder, const std::vector<FallbackIntent> &steps) override;
    bool readFolder(const FolderHandle &folder, const TakeEntry &take) override;
    std::uint64_t inodeOf(const FolderHandle &folder, const NameBytes &name) override;
    NameRules nameRulesIn(const FolderHandle &folder) override;
    std::optional<bool> findsOtherSpelling(const FolderHandle &folder, const NameBytes &name,
                                           const NameBytes &otherSpelling) override;

private:
    PosixCalls systemCalls_;
    PosixCalls &calls_;
};

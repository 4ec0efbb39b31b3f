// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "../FileRenamer.h"

// MoveFileExW without MOVEFILE_REPLACE_EXISTING, which fails on a taken name and
// only renames within the volume.
class WinFileRenamer : public FileRenamer {
public:
    std::shared_ptr<FolderHandle> openFolder(const NameBytes &path) override;
    std::unique_ptr<FolderMoves> movesIn(const FolderHandle &folder, const Intend &intend = {}) override;
    bool readFolder(const FolderHandle &folder, const TakeEntry &take) override;
    // Windows refuses its reserved names and characters on every file system.
    NameRules nameRulesIn(const FolderHandle &) override { return NameRules::Windows; }
    std::optional<bool> findsOtherSpelling(const FolderHandle &folder, const NameBytes &name,
                                           const NameBytes &otherSpelling) override;
};

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "../FolderLister.h"

#include <functional>

// readdir on the raw names; hidden means a name that begins with ".".
class PosixFolderLister : public FolderLister {
public:
    // Tests give a clock of their own.
    explicit PosixFolderLister(std::function<std::int64_t()> clock = {})
        : clock_(std::move(clock))
    {
    }
    std::optional<FolderListing> listFiles(const NameBytes &folder) override;
    std::vector<std::int64_t> modificationTimes(const FolderHandle &folder,
                                                const std::vector<NameBytes> &names) override;
    std::int64_t now() const override { return clock_ ? clock_() : FolderLister::now(); }

private:
    std::function<std::int64_t()> clock_;
};

#pragma once

#include "../FileRenamer.h"
#include "PosixCalls.h"

// Renames relative to one open descriptor of the folder, on the raw names.
class PosixFileRenamer : public FileRenamer {
public:
    explicit PosixFileRenamer(PosixCalls &calls) : calls_(calls) {}
    std::size_t renameInFolder(const NameBytes &folder, const std::vector<RenameRequest> &requests) override;

private:
    PosixCalls &calls_;
};

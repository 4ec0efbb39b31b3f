// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "BuildNewName.h"
#include "NativeNames.h"
#include "RenamePlan.h"
#include "RowRanges.h"

#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

enum class PreviewVerdict {
    Renamed,    // gets the new name
    Unchanged,  // the new name is the old one
    Taken,      // the name belongs to an entry on disk
    Collides,   // a selected row above gets the same name first
    NotAllowed, // the name is empty or would leave the folder
};

struct Preview {
    NameBytes newName;
    std::uint64_t number = 0; // the row's place among the selected rows, from 1
    PreviewVerdict verdict = PreviewVerdict::Renamed;
    int firstRow = -1; // for Collides: the row that gets the name first
};

// What pressing 确定 now would do to one selected row, by the same naming rule
// the click uses. Built for one state of the list, selection, mode and texts;
// the names the selected rows would get are worked out once, on the first
// question, so each row after that costs a lookup.
class RenamePreview {
public:
    using ExistsOnDisk = std::function<bool(const NameBytes &name)>;

    RenamePreview(NamingMode mode, NamingTexts texts, const std::vector<NameBytes> &names,
                  std::vector<RowRange> selected, ExistsOnDisk exists);

    // Nothing for a row that is not selected.
    std::optional<Preview> forRow(int row);

private:
    std::uint64_t numberOf(int row) const;
    void claimNames();

    NamingMode mode_;
    NamingTexts texts_;
    const std::vector<NameBytes> &names_;
    std::vector<RowRange> selected_;
    std::vector<std::uint64_t> selectedBefore_; // selected rows before each range
    ExistsOnDisk exists_;
    bool claimed_ = false;
    std::unordered_map<NameBytes, int> firstClaim_; // new name -> first selected row giving it
    std::unordered_map<NameBytes, int> leaving_;    // old name of a selected row -> that row
};

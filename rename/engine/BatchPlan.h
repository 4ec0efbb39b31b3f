// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "BatchOrder.h"
#include "RenamePlan.h"
#include "RowRanges.h"

#include <optional>

// One click: the selected rows' renames, numbered in list order, and once
// asked, what each will do on the folder's entries in either order. The
// click runs these renames; the preview shows these predictions.
class BatchPlan {
public:
    // `inodes` holds each row's inode number, or is empty where they are unknown.
    BatchPlan(NamingMode mode, const NamingTexts &texts, const std::vector<NameBytes> &names,
              const std::vector<std::uint64_t> &inodes, std::vector<RowRange> selected,
              const Numbering &numbering = {});

    const std::vector<RenameRequest> &requests() const { return listed_.steps; }
    // A row's place in the batch, from 0; nothing for a row not selected.
    std::optional<std::size_t> indexOf(int row) const;

    // Whether some row's new name is another row's old one, so that the order
    // may matter; asks the folder only whether it ignores case.
    bool mayWaitOnRows(FileRenamer &renamer, const FolderHandle *folder) const;

    // Runs the batch on the folder as it is now, in both orders; on no folder,
    // or one that cannot be read, as on an empty one. `seed`, where given,
    // holds the rows' names and the folder as it is now.
    void predict(FileRenamer &renamer, const FolderHandle *folder, const FolderSimulation::Seed *seed = nullptr);
    bool predicted() const { return !predictions_.empty() || requests().empty(); }
    // The names the folder predicted on takes.
    NameRules nameRules() const { return nameRules_; }
    const std::vector<RowPlan> &predictions(BatchOrder order = BatchOrder::AsListed) const
    {
        return order == BatchOrder::AsListed || !waiting_ ? predictions_ : freeingPredictions_;
    }
    const BatchSchedule &schedule(BatchOrder order) const
    {
        return order == BatchOrder::AsListed || !waiting_ ? listed_ : freeing_;
    }
    // The rows that list order skips for a new name that rows of this click
    // give up, and that freeing those names first renames; the click asks
    // which order to take only where there are any.
    std::size_t waiting() const { return waiting_; }
    bool waits(std::size_t index) const
    {
        return waiting_ && predictions_[index].fate == RowFate::Taken
               && freeingPredictions_[index].fate == RowFate::Renamed;
    }

private:
    std::vector<RowRange> selected_;
    std::vector<std::size_t> selectedBefore_; // selected rows before each range
    BatchSchedule listed_, freeing_;
    std::vector<RowPlan> predictions_, freeingPredictions_;
    std::size_t waiting_ = 0;
    NameRules nameRules_ = NameRules::Posix;
};

// What each row does when the schedule's steps are taken in turn on the
// simulated folder.
std::vector<RowPlan> predictSchedule(const BatchSchedule &schedule, std::size_t rowCount, FolderSimulation &simulation);

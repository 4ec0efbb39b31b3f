// SPDX-License-Identifier: GPL-3.0-or-later

#include "BatchPlan.h"

#include <algorithm>

BatchPlan::BatchPlan(NamingMode mode, const NamingTexts &texts, const std::vector<NameBytes> &names,
                     const std::vector<std::uint64_t> &inodes, std::vector<RowRange> selected,
                     const Numbering &numbering)
    : selected_(std::move(selected))
{
    const std::vector<int> rows = rowsOf(selected_);
    listed_.steps = planRenames(mode, texts, names, rows, numbering);
    if (!inodes.empty())
        for (std::size_t i = 0; i < rows.size(); ++i)
            listed_.steps[i].inode = inodes[std::size_t(rows[i])];
    std::size_t before = 0;
    for (const RowRange &range : selected_) {
        selectedBefore_.push_back(before);
        before += std::size_t(range.last - range.first + 1);
    }
}

std::optional<std::size_t> BatchPlan::indexOf(int row) const
{
    const auto range = std::upper_bound(selected_.begin(), selected_.end(), row,
                                        [](int r, const RowRange &range) { return r < range.first; });
    if (range == selected_.begin() || (range - 1)->last < row)
        return std::nullopt;
    const std::size_t at = std::size_t(range - selected_.begin() - 1);
    return selectedBefore_[at] + std::size_t(row - selected_[at].first);
}

bool BatchPlan::mayWaitOnRows(FileRenamer &renamer, const FolderHandle *folder) const
{
    const std::vector<RenameRequest> &rows = requests();
    const bool folds = folder && foldsCase(renamer, *folder, rows);
    NameTable oldNames(rows.size());
    std::vector<std::string> folded;
    if (folds) {
        folded.reserve(rows.size());
        for (const RenameRequest &row : rows)
            oldNames.add(folded.emplace_back(foldedName(row.from)));
    } else {
        for (const RenameRequest &row : rows)
            oldNames.add(row.from);
    }
    return std::any_of(rows.begin(), rows.end(), [&](const RenameRequest &row) {
        return row.from != row.to && (folds ? oldNames.find(foldedName(row.to)) : oldNames.find(row.to));
    });
}

std::vector<RowPlan> predictSchedule(const BatchSchedule &schedule, std::size_t rowCount, FolderSimulation &simulation)
{
    std::vector<RowPlan> steps;
    steps.reserve(schedule.steps.size());
    for (std::size_t i = 0; i < schedule.steps.size(); ++i) {
        steps.push_back(simulation.decideNth(i, schedule.rowOf(i)));
        simulation.applyNth(i, schedule.rowOf(i), steps.back().fate);
    }
    return perRow(schedule, steps, rowCount, [](const RowPlan &plan) { return plan.fate == RowFate::Renamed; });
}

void BatchPlan::predict(FileRenamer &renamer, const FolderHandle *folder, const FolderSimulation::Seed *seed)
{
    const std::size_t n = requests().size();
    const bool folds = folder && foldsCase(renamer, *folder, requests());
    nameRules_ = folder ? renamer.nameRulesIn(*folder) : NameRules::Posix;
    // A seed holds names byte for byte; an empty batch needs no copy of it.
    const bool seeded = seed && !folds && n > 0;
    const std::vector<int> rows = seeded ? rowsOf(selected_) : std::vector<int>();
    // A simulation of the folder as it is now, before the batch.
    const auto simulation = [&](const std::vector<RenameRequest> &renames) {
        if (seeded)
            return FolderSimulation(renames, rows, *seed);
        FolderSimulation fresh(renames, folds, nameRules_);
        if (folder)
            fresh.read(renamer, *folder);
        return fresh;
    };
    {
        FolderSimulation listed = simulation(listed_.steps);
        predictions_ = predictSchedule(listed_, n, listed);
    }
    waiting_ = 0;
    freeing_ = {};
    freeingPredictions_.clear();
    // Another order can only help where list order leaves a name taken.
    if (std::none_of(predictions_.begin(), predictions_.end(),
                     [](const RowPlan &plan) { return plan.fate == RowFate::Taken; }))
        return;
    FolderSimulation before = simulation(requests());
    freeing_ = freeingNamesFirst(requests(), before);
    // Planning only looked at the folder: it is still as read.
    std::vector<RowPlan> steps;
    steps.reserve(freeing_.steps.size());
    for (std::size_t i = 0; i < freeing_.steps.size(); ++i)
        steps.push_back(before.step(freeing_.rowOf(i), freeing_.steps[i]));
    freeingPredictions_ = perRow(freeing_, steps, n, [](const RowPlan &plan) { return plan.fate == RowFate::Renamed; });
    for (std::size_t i = 0; i < n; ++i)
        waiting_ += predictions_[i].fate == RowFate::Taken && freeingPredictions_[i].fate == RowFate::Renamed;
}

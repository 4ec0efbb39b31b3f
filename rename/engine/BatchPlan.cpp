// SPDX-License-Identifier: GPL-3.0-or-later

#include "BatchPlan.h"

#include <algorithm>

FolderSimulation::FolderSimulation(const std::vector<RenameRequest> &renames)
    : names_(2 * renames.size())
{
    for (const RenameRequest &rename : renames) {
        names_.add(rename.from);
        names_.add(rename.to);
    }
    entries_.resize(names_.size());
}

bool FolderSimulation::read(FileRenamer &renamer, const FolderHandle &folder)
{
    return renamer.readFolder(folder, [this](std::string_view name, bool file) {
        if (const std::optional<std::uint32_t> known = names_.find(name))
            entries_[*known] = {true, file, false, false, 0};
    });
}

bool FolderSimulation::has(const NameBytes &name) const
{
    const std::optional<std::uint32_t> known = names_.find(name);
    return known && entries_[*known].present;
}

void FolderSimulation::hold(Entry &entry, std::size_t index, bool skipped)
{
    entry.held = true;
    entry.skipped = skipped;
    entry.index = index;
}

RowPlan FolderSimulation::step(std::size_t index, const RenameRequest &request)
{
    RowPlan plan;
    // Both names are known, the simulation being made for this batch; one that
    // is not gets an entry here. The references hold: none is added after.
    const std::uint32_t fromAt = names_.add(request.from);
    const std::uint32_t toAt = names_.add(request.to);
    entries_.resize(names_.size());
    Entry &from = entries_[fromAt];
    Entry &to = entries_[toAt];
    const auto skip = [&](RowFate fate) {
        plan.fate = fate;
        // A skipped row keeps its old name, which no row below gets.
        if (from.present)
            hold(from, index, true);
        return plan;
    };
    if (!isPlainFileName(request.from) || !isPlainFileName(request.to) || (from.present && !from.file))
        return skip(RowFate::NotAllowed);
    // A name a row above renamed a file to holds that file, not this row's,
    // which has gone; the name stays the row above's.
    if (from.held && !from.skipped) {
        plan.fate = RowFate::Gone;
        return plan;
    }
    if (request.from == request.to) {
        plan.fate = RowFate::Unchanged;
        hold(from, index, false);
        return plan;
    }
    if (!from.present)
        return skip(RowFate::Gone);
    if (to.present) {
        if (to.held) {
            plan.holder = to.skipped ? Holder::SkippedRowAbove : Holder::RowAbove;
            plan.heldBy = to.index;
        }
        return skip(RowFate::Taken);
    }
    from = {};
    to = {true, true, false, false, 0};
    hold(to, index, false);
    return plan;
}

RowFate fateOf(const RenameRequest &request, const RenameOutcome &outcome)
{
    switch (outcome.status) {
    case RenameStatus::Renamed:
    case RenameStatus::NotKept:
        return request.from == request.to ? RowFate::Unchanged : RowFate::Renamed;
    case RenameStatus::Taken:
        return RowFate::Taken;
    case RenameStatus::NotAllowed:
        return RowFate::NotAllowed;
    case RenameStatus::Failed:
    case RenameStatus::Replaced:
        break;
    }
    return outcome.error == ENOENT ? RowFate::Gone : RowFate::Failed;
}

BatchPlan::BatchPlan(NamingMode mode, const NamingTexts &texts, const std::vector<NameBytes> &names,
                     const std::vector<std::uint64_t> &inodes, std::vector<RowRange> selected)
    : selected_(std::move(selected))
{
    const std::vector<int> rows = rowsOf(selected_);
    requests_ = planRenames(mode, texts, names, rows);
    if (!inodes.empty())
        for (std::size_t i = 0; i < rows.size(); ++i)
            requests_[i].inode = inodes[std::size_t(rows[i])];
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

void BatchPlan::predict(FileRenamer &renamer, const FolderHandle *folder)
{
    FolderSimulation simulation(requests_);
    if (folder)
        simulation.read(renamer, *folder);
    predictions_.clear();
    predictions_.reserve(requests_.size());
    for (std::size_t i = 0; i < requests_.size(); ++i)
        predictions_.push_back(simulation.step(i, requests_[i]));
}

// SPDX-License-Identifier: GPL-3.0-or-later

#include "RenameRules.h"

#include <cerrno>

FolderSimulation::FolderSimulation(const std::vector<RenameRequest> &renames, bool foldsCase, NameRules newNames)
    : renames_(renames)
    , folds_(foldsCase)
    , newNames_(newNames)
    , names_(2 * renames.size())
{
    keys_.reserve(renames.size());
    entries_.reserve(2 * renames.size());
    // The table is far larger than the cache: each name's slot is asked for
    // a few names ahead of its turn.
    constexpr std::size_t ahead = 8;
    for (std::size_t i = 0; i < renames.size(); ++i) {
        if (!folds_ && i + ahead < renames.size()) {
            names_.prefetch(renames[i + ahead].from);
            names_.prefetch(renames[i + ahead].to);
        }
        const std::uint32_t from = keyOf(renames[i].from);
        keys_.push_back({from, keyOf(renames[i].to)});
    }
}

FolderSimulation::Seed::Seed(const std::vector<NameBytes> &names, NameRules newNames)
    : names_(2 * names.size() + 16)
    , newNames_(newNames)
{
    rowKeys_.reserve(names.size());
    for (const NameBytes &name : names)
        rowKeys_.push_back(names_.add(name));
    // Room for the new names a simulation adds to its copy.
    entries_.reserve(2 * names.size() + 16);
    entries_.resize(names_.size());
}

bool FolderSimulation::Seed::read(FileRenamer &renamer, const FolderHandle &folder)
{
    return renamer.readFolder(folder, [this](std::string_view name, bool file) {
        std::optional<std::uint32_t> key = names_.find(name);
        if (!key) {
            others_.emplace_back(name);
            key = names_.add(others_.back());
            entries_.resize(names_.size());
        }
        entries_[*key] = {true, file, false, false, 0};
    });
}

FolderSimulation::FolderSimulation(const std::vector<RenameRequest> &renames, const std::vector<int> &rows,
                                   const Seed &seed)
    : renames_(renames)
    , folds_(false)
    , newNames_(seed.newNames_)
    , names_(seed.names_)
{
    entries_.reserve(seed.entries_.size() + renames.size());
    entries_ = seed.entries_;
    keys_.reserve(renames.size());
    constexpr std::size_t ahead = 8;
    for (std::size_t i = 0; i < renames.size(); ++i) {
        if (i + ahead < renames.size())
            names_.prefetch(renames[i + ahead].to);
        keys_.push_back({seed.rowKeys_[std::size_t(rows[i])], keyOf(renames[i].to)});
    }
}

std::uint32_t FolderSimulation::keyOf(const NameBytes &name)
{
    if (!folds_) {
        const std::uint32_t key = names_.add(name);
        entries_.resize(names_.size());
        return key;
    }
    std::string folded = foldedName(name);
    if (const std::optional<std::uint32_t> known = names_.find(folded))
        return *known;
    folded_.push_back(std::move(folded));
    const std::uint32_t key = names_.add(folded_.back());
    entries_.resize(names_.size());
    return key;
}

bool FolderSimulation::read(FileRenamer &renamer, const FolderHandle &folder)
{
    return renamer.readFolder(folder, [this](std::string_view name, bool file) {
        const std::optional<std::uint32_t> known
            = folds_ ? names_.find(foldedName(NameBytes(name))) : names_.find(name);
        if (known)
            entries_[*known] = {true, file, false, false, 0};
    });
}

bool FolderSimulation::has(const NameBytes &name) { return entries_[keyOf(name)].present; }

void FolderSimulation::hold(Entry &entry, std::size_t row, bool skipped)
{
    entry.held = true;
    entry.skipped = skipped;
    entry.row = row;
}

RowPlan FolderSimulation::decide(std::size_t row, const RenameRequest &request, Keys keys) const
{
    RowPlan plan;
    const Entry &from = entries_[keys.from];
    const Entry &to = entries_[keys.to];
    const auto skip = [&](RowFate fate) {
        plan.fate = fate;
        return plan;
    };
    if (!isPlainFileName(request.from) || !isPlainFileName(request.to) || (from.present && !from.file)
        || (request.from != request.to && refusalOf(newNames_, request.to) != Refusal::None))
        return skip(RowFate::NotAllowed);
    // A name another row renamed a file to holds that file, not this row's,
    // which has gone.
    if (from.held && !from.skipped && from.row != row)
        return skip(RowFate::Gone);
    if (request.from == request.to)
        return skip(RowFate::Unchanged);
    if (!from.present)
        return skip(RowFate::Gone);
    // The new spelling finds the file itself.
    if (keys.from == keys.to) {
        plan.caseOnly = true;
        return plan;
    }
    if (to.present) {
        if (to.held) {
            plan.holder = to.skipped ? Holder::SkippedRowAbove : Holder::RowAbove;
            plan.heldBy = to.row;
        }
        return skip(RowFate::Taken);
    }
    return plan;
}

void FolderSimulation::apply(std::size_t row, Keys keys, RowFate fate)
{
    Entry &from = entries_[keys.from];
    Entry &to = entries_[keys.to];
    switch (fate) {
    case RowFate::Renamed:
        from.present = false;
        to = {true, true, false, false, 0};
        hold(to, row, false);
        return;
    case RowFate::Unchanged:
        hold(from, row, false);
        return;
    case RowFate::Gone:
        // Another row's file under the name stays; a file that went is gone.
        if (!from.held || from.skipped || from.row == row)
            from = {};
        return;
    case RowFate::Taken:
        // A name taken meanwhile is there from now on.
        if (!to.present)
            to = {true, true, false, false, 0};
        break;
    case RowFate::NotAllowed:
    case RowFate::Failed:
        break;
    }
    // A skipped row keeps its old name, which no row below gets.
    if (from.present)
        hold(from, row, true);
}

RowPlan FolderSimulation::step(std::size_t row, const RenameRequest &request)
{
    const RowPlan plan = decide(row, request);
    apply(row, request, plan.fate);
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

RenameOutcome outcomeOf(RowFate fate)
{
    switch (fate) {
    case RowFate::Renamed:
    case RowFate::Unchanged:
        return {RenameStatus::Renamed, 0};
    case RowFate::Taken:
        return {RenameStatus::Taken, EEXIST};
    case RowFate::NotAllowed:
        return {RenameStatus::NotAllowed, 0};
    case RowFate::Gone:
        return {RenameStatus::Failed, ENOENT};
    case RowFate::Failed:
        break;
    }
    return {RenameStatus::Failed, EIO};
}

namespace {

// The name with its first ASCII letter in the other case; only that letter,
// so that the spelling a batch renames to is not looked up (and cached by a
// FUSE layer) before its turn.
NameBytes otherSpelling(const NameBytes &name)
{
    NameBytes other = name;
    for (char &c : other)
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
            c = char(c ^ 0x20);
            break;
        }
    return other;
}

} // namespace

bool foldsCase(FileRenamer &renamer, const FolderHandle &folder, const std::vector<RenameRequest> &requests)
{
    if (folder.foldsCase)
        return *folder.foldsCase;
    // A few names are enough: the first that is there with a letter tells.
    // Old names first; after a batch (for undo) the new ones are there.
    constexpr int tries = 8;
    int tried = 0;
    for (const auto name : {&RenameRequest::from, &RenameRequest::to})
        for (const RenameRequest &request : requests) {
            const NameBytes &known = request.*name;
            const NameBytes other = otherSpelling(known);
            if (other == known || !isPlainFileName(known))
                continue;
            if (const std::optional<bool> answer = renamer.findsOtherSpelling(folder, known, other)) {
                folder.foldsCase = *answer;
                return *answer;
            }
            if (++tried == tries)
                return false;
        }
    return false;
}

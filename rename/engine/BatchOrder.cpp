// SPDX-License-Identifier: GPL-3.0-or-later

#include "BatchOrder.h"

namespace {

constexpr std::size_t none = std::size_t(-1);

// What a row's new name waits for.
enum class Wait : unsigned char {
    Nothing, // free, or the row's own name in another case
    Row,     // the row in `next` gives it up
    Forever, // held by what no row of the batch moves
};

enum class Mark : unsigned char { Open, OnPath, Moves, Stays };

} // namespace

BatchSchedule freeingNamesFirst(const std::vector<RenameRequest> &rows, FolderSimulation &before)
{
    const std::size_t n = rows.size();
    std::vector<std::uint32_t> toKey(n);
    std::vector<RowPlan> first(n);
    // Each name's row: the row leaving it, and the row that may take it.
    std::vector<std::size_t> leaving, taking;
    const auto grow = [&](std::uint32_t key) {
        if (key >= leaving.size()) {
            leaving.resize(key + 1, none);
            taking.resize(key + 1, none);
        }
    };
    std::vector<bool> mayMove(n, false);
    for (std::size_t i = 0; i < n; ++i) {
        first[i] = before.decideNth(i, i);
        toKey[i] = before.keyOf(rows[i].to);
        const std::uint32_t fromKey = before.keyOf(rows[i].from);
        grow(std::max(toKey[i], fromKey));
        const bool moves = first[i].fate == RowFate::Renamed || first[i].fate == RowFate::Taken;
        if (leaving[fromKey] == none && before.present(fromKey))
            leaving[fromKey] = i;
        // A row renamed to its own name in another case has that name, whoever asks first.
        if (first[i].caseOnly)
            taking[toKey[i]] = i;
        mayMove[i] = moves;
    }
    for (std::size_t i = 0; i < n; ++i)
        if (mayMove[i] && taking[toKey[i]] == none)
            taking[toKey[i]] = i;

    std::vector<Wait> wait(n, Wait::Forever);
    std::vector<std::size_t> next(n, none), previous(n, none);
    for (std::size_t i = 0; i < n; ++i) {
        if (!mayMove[i] || taking[toKey[i]] != i)
            continue;
        if (first[i].caseOnly || !before.present(toKey[i])) {
            wait[i] = Wait::Nothing;
        } else if (const std::size_t holder = leaving[toKey[i]]; holder != none && holder != i && mayMove[holder]) {
            wait[i] = Wait::Row;
            next[i] = holder;
            previous[holder] = i;
        }
    }

    // Which rows move: a chain moves when its end is free, a cycle always;
    // walked without recursion, each row once.
    std::vector<Mark> mark(n, Mark::Open);
    std::vector<std::size_t> cycles; // one row of each
    std::vector<std::size_t> path;
    for (std::size_t start = 0; start < n; ++start) {
        std::size_t at = start;
        while (at != none && mark[at] == Mark::Open && wait[at] == Wait::Row) {
            mark[at] = Mark::OnPath;
            path.push_back(at);
            at = next[at];
        }
        Mark end = Mark::Stays;
        if (at != none && mark[at] == Mark::OnPath) {
            cycles.push_back(at);
            end = Mark::Moves;
        } else if (at != none && mark[at] == Mark::Open) {
            end = mark[at] = wait[at] == Wait::Nothing ? Mark::Moves : Mark::Stays;
        } else if (at != none) {
            end = mark[at];
        }
        for (std::size_t row : path)
            mark[row] = end;
        path.clear();
    }

    BatchSchedule schedule;
    schedule.steps.reserve(n + 2 * cycles.size());
    schedule.rows.reserve(n + 2 * cycles.size());
    const auto add = [&](std::size_t row, RenameRequest step) {
        schedule.steps.push_back(std::move(step));
        schedule.rows.push_back(row);
    };
    // A chain from the row whose name is free, back along the rows waiting on it.
    const auto chainBack = [&](std::size_t from, std::size_t stop) {
        for (std::size_t row = from; row != none && row != stop; row = previous[row])
            add(row, rows[row]);
    };
    for (std::size_t row = 0; row < n; ++row)
        if (mark[row] == Mark::Moves && wait[row] == Wait::Nothing)
            chainBack(row, none);
    for (std::size_t row : cycles) {
        const NameBytes temporary = temporaryName();
        add(row, {rows[row].from, temporary, rows[row].inode});
        chainBack(previous[row], row);
        add(row, {temporary, rows[row].to, rows[row].inode});
    }
    // The rows that do not move, top to bottom: the rules tell each why.
    for (std::size_t row = 0; row < n; ++row)
        if (mark[row] != Mark::Moves)
            add(row, rows[row]);
    return schedule;
}

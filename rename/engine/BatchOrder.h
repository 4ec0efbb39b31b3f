// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "RenameRules.h"

#include <optional>

// Which order one click takes its rows in.
enum class BatchOrder {
    AsListed,          // top to bottom: a name still held by a row below is skipped
    FreeingNamesFirst, // a row whose new name other rows give up waits until they have
};

// The renames one click takes, in the order it takes them, each for one row.
struct BatchSchedule {
    std::vector<RenameRequest> steps;
    std::vector<std::size_t> rows; // the row of each step; empty where step i is row i
    std::size_t rowOf(std::size_t step) const { return rows.empty() ? step : rows[step]; }
};

// The rows' renames ordered so that a name the batch's other rows give up is
// taken only once given up: a chain from its free end, and a cycle (a swap, a
// rotation) through one temporary name of its own, written into the batch as
// two renames of its row. A name held by anything else (a file not selected,
// a row skipped, a folder) stays held, and of two rows that want one name the
// upper one has it, as in list order. `before` is the folder the batch starts
// from, made for `rows`; it is only looked at. Linear in the rows.
BatchSchedule freeingNamesFirst(const std::vector<RenameRequest> &rows, FolderSimulation &before);

// Each row's result from those of its steps: the first that did not go
// through, else its last.
template <class Result, class WentThrough> std::vector<Result>
perRow(const BatchSchedule &schedule, const std::vector<Result> &steps, std::size_t rowCount, WentThrough wentThrough)
{
    if (schedule.rows.empty())
        return steps;
    std::vector<std::optional<Result>> found(rowCount);
    for (std::size_t i = 0; i < steps.size(); ++i) {
        std::optional<Result> &row = found[schedule.rows[i]];
        if (!row || wentThrough(*row))
            row = steps[i];
    }
    std::vector<Result> out;
    out.reserve(rowCount);
    for (std::optional<Result> &row : found)
        out.push_back(std::move(*row));
    return out;
}

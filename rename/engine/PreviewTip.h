// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "BatchPlan.h"

#include <QString>

// What 确定 will do to one row of the batch, as the tip and the preview tell it.
enum class PreviewState {
    Renamed,
    AfterFreeing,  // renamed once rows of the batch free its new name
    Unchanged,     // the new name is the old one
    HolderStays,   // skipped: a row above keeps the new name as its own
    HolderFirst,   // skipped: a row above is renamed to it first
    HolderSkipped, // skipped: a row above that would free it is skipped
    Exists,        // skipped: another entry has the new name
    NotAFile,      // skipped: the entry is no longer a plain file
    Unusable,      // skipped: the new name cannot be a file name here
    Refused,       // skipped: the folder's file system refuses the new name
    Gone,          // skipped: the file is no longer there
    Failed,        // only an outcome tells this
    Stopped,       // an outcome: the batch was stopped before the row
};

struct RowPreview {
    PreviewState state;
    std::size_t holder = 0; // for the states of a row above: its place in the batch
    Refusal refusal = Refusal::None;
};

RowPreview previewOf(const BatchPlan &plan, std::size_t index);
// What the click did to the row, told in the same states.
RowPreview previewOf(const BatchPlan &plan, std::size_t index, const RenameOutcome &outcome);
// Whether the row keeps its name.
inline bool skips(PreviewState state)
{
    return state != PreviewState::Renamed && state != PreviewState::AfterFreeing && state != PreviewState::Unchanged;
}

// Whether the row gets a new name.
inline bool renames(PreviewState state) { return !skips(state) && state != PreviewState::Unchanged; }

// The tip the batch's `index`-th row shows: the name 确定 would give it and
// its running number, or why it would be skipped.
QString previewTip(const BatchPlan &plan, std::size_t index);
// The same in a word or two, for the preview's state column.
QString stateText(const RowPreview &row);

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "BatchPlan.h"
#include "MessageBox.h"
#include "RenameBatch.h"

// How a click ended, and where it ran, what became of each selected row.
struct ClickResult {
    enum class End {
        Ran,       // the batch ran, or the user declined to run it without a journal
        NoNewText, // the click's first check
        NoFolder,  // its second
        Cancelled, // the question about names the batch frees was cancelled
        Busy,      // another copy held the journal
    };
    End end = End::Ran;
    std::vector<RenameOutcome> outcomes;
};

// The boxes that tell what a listing, a click or an undo came to.
void reportStrandedTemporaries(MessageBox &messages, const std::vector<NameBytes> &names);
void reportClick(MessageBox &messages, const ClickResult &result, const std::vector<RenameRequest> &requests);
// `report` is none where another copy held the journal; `shown`: the batch
// was in the folder the rows show.
void reportUndo(MessageBox &messages, const std::optional<UndoReport> &report, bool shown);
// One short sentence of what a click that ran or an undo came to, for screen readers.
QString clickSummary(const BatchPlan &plan, const ClickResult &result);
QString undoSummary(const UndoReport &report);

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "FileRenamer.h"
#include "NameTable.h"
#include "RenamePlan.h"
#include "RowRanges.h"

#include <optional>
#include <string_view>

enum class RowFate {
    Renamed,    // gets the new name
    Unchanged,  // the new name is the old one
    Taken,      // another entry has the new name and keeps it
    NotAllowed, // a name that is empty or leaves the folder, or an entry that is no plain file
    Gone,       // the file is no longer in the folder
    Failed,     // the file system refused; only a rename that was tried tells
};

// Who has a taken name.
enum class Holder {
    Folder,          // an entry that is not renamed before this row
    RowAbove,        // a row above renames to it, or keeps it as its own name
    SkippedRowAbove, // a row above has it as its old name and is itself skipped
};

struct RowPlan {
    RowFate fate = RowFate::Renamed;
    Holder holder = Holder::Folder;
    std::size_t heldBy = 0; // for a row above: its place in the batch, from 0
};

// A folder's entries as a batch changes them, one rename at a time, by the
// rules and in the order the renamer follows. It knows only the names of the
// renames it is made for, which must outlive it: a name no rename of the
// batch has is no concern of the batch.
class FolderSimulation {
public:
    explicit FolderSimulation(const std::vector<RenameRequest> &renames);
    // Reads the folder as it is before the batch; false when it cannot be read,
    // and then it is taken as empty.
    bool read(FileRenamer &renamer, const FolderHandle &folder);
    bool has(const NameBytes &name) const;
    // What a rename of the batch, its `index`-th, will do; the folder then is as it leaves it.
    RowPlan step(std::size_t index, const RenameRequest &request);

private:
    struct Entry {
        bool present = false;
        bool file = true;     // false: an entry no rename takes
        bool held = false;    // a row of the batch has the name now...
        bool skipped = false; // ...as the old name it kept
        std::size_t index = 0;
    };
    void hold(Entry &entry, std::size_t index, bool skipped);

    NameTable names_;
    std::vector<Entry> entries_; // by the names' numbers
};

// What a rename that was tried did, in a plan's terms.
RowFate fateOf(const RenameRequest &request, const RenameOutcome &outcome);

// One click: the selected rows' renames, numbered in list order, and once
// asked, what each will do on the folder's entries. The click runs these
// renames; the preview shows these predictions.
class BatchPlan {
public:
    // `inodes` holds each row's inode number, or is empty where they are unknown.
    BatchPlan(NamingMode mode, const NamingTexts &texts, const std::vector<NameBytes> &names,
              const std::vector<std::uint64_t> &inodes, std::vector<RowRange> selected);

    const std::vector<RenameRequest> &requests() const { return requests_; }
    // A row's place in the batch, from 0; nothing for a row not selected.
    std::optional<std::size_t> indexOf(int row) const;

    // Runs the batch on the folder as it is now; on no folder, or one that
    // cannot be read, as on an empty one.
    void predict(FileRenamer &renamer, const FolderHandle *folder);
    bool predicted() const { return !predictions_.empty() || requests_.empty(); }
    const std::vector<RowPlan> &predictions() const { return predictions_; }

private:
    std::vector<RowRange> selected_;
    std::vector<std::size_t> selectedBefore_; // selected rows before each range
    std::vector<RenameRequest> requests_;
    std::vector<RowPlan> predictions_;
};

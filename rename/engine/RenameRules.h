// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "FileRenamer.h"
#include "NameTable.h"
#include "RefusedNames.h"

#include <deque>
#include <string_view>

enum class RowFate {
    Renamed,    // gets the new name
    Unchanged,  // the new name is the old one
    Taken,      // another entry has the new name and keeps it
    NotAllowed, // a name that is empty, leaves the folder or the file system refuses, or an entry that is no plain file
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
    // The new name differs in letter case only, on a folder that ignores case.
    bool caseOnly = false;
};

// The rules every rename of a batch or an undo follows, against a folder's
// entries as the batch changes them: the preview asks them of the folder it
// simulates, the click and undo of the folder as they rename it. Names are
// equal as the folder takes them: byte for byte, or case-folded. A row may take
// several renames (one through a temporary name); `row` tells which row a
// rename is for.
class FolderSimulation {
    struct Entry {
        bool present = false;
        bool file = true;     // false: an entry no rename takes
        bool held = false;    // a row of the batch has the name now...
        bool skipped = false; // ...as the old name it kept
        std::size_t row = 0;
    };

public:
    // The names of `renames` must outlive the simulation; a name no rename of
    // the batch has is no concern of the batch. New names must pass `newNames`:
    // a click's do; undo's are names the folder held.
    FolderSimulation(const std::vector<RenameRequest> &renames, bool foldsCase, NameRules newNames = NameRules::Posix);

    // What simulations start from while only the new names change (the
    // texts, the mode, the numbering or the selection): every listed name,
    // by row, and every entry of the folder, read once. Only for a folder
    // that takes names byte for byte.
    class Seed {
    public:
        // `names` must outlive the seed.
        Seed(const std::vector<NameBytes> &names, NameRules newNames);
        bool read(FileRenamer &renamer, const FolderHandle &folder);

    private:
        friend class FolderSimulation;
        NameTable names_;
        std::vector<std::uint32_t> rowKeys_;
        std::vector<Entry> entries_;
        std::deque<std::string> others_; // the entries no row names
        NameRules newNames_;
    };
    // Started from the seed, its folder read: the i-th rename is of row
    // `rows[i]` of the seed's names, from that name.
    FolderSimulation(const std::vector<RenameRequest> &renames, const std::vector<int> &rows, const Seed &seed);
    // Reads the folder as it is before the batch; false when it cannot be read,
    // and then it is taken as empty.
    bool read(FileRenamer &renamer, const FolderHandle &folder);
    bool has(const NameBytes &name);
    // What the rename does now.
    RowPlan decide(std::size_t row, const RenameRequest &request)
    {
        return decide(row, request, {keyOf(request.from), keyOf(request.to)});
    }
    // The folder after the rename, as it really went.
    void apply(std::size_t row, const RenameRequest &request, RowFate fate)
    {
        apply(row, {keyOf(request.from), keyOf(request.to)}, fate);
    }
    // Decides, and takes the rename as decided.
    RowPlan step(std::size_t row, const RenameRequest &request);
    // The same for the `index`-th of the renames the simulation was made for,
    // whose names it has numbered once.
    RowPlan decideNth(std::size_t index, std::size_t row) const { return decide(row, renames_[index], keys_[index]); }
    void applyNth(std::size_t index, std::size_t row, RowFate fate) { apply(row, keys_[index], fate); }
    // The number the folder's entry under a name has: equal for equal names.
    std::uint32_t keyOf(const NameBytes &name);
    // Whether that entry is there before or after renames so far.
    bool present(std::uint32_t key) const { return entries_[key].present; }

private:
    struct Keys {
        std::uint32_t from, to;
    };
    RowPlan decide(std::size_t row, const RenameRequest &request, Keys keys) const;
    void apply(std::size_t row, Keys keys, RowFate fate);
    void hold(Entry &entry, std::size_t row, bool skipped);

    const std::vector<RenameRequest> &renames_;
    std::vector<Keys> keys_; // of each of them
    bool folds_;
    NameRules newNames_;
    std::deque<std::string> folded_; // the names' keys where the folder ignores case
    NameTable names_;
    std::vector<Entry> entries_; // by the names' numbers
};

// What a rename that was tried did, in a plan's terms.
RowFate fateOf(const RenameRequest &request, const RenameOutcome &outcome);
// What a rename that the rules skip reports, without a system call.
RenameOutcome outcomeOf(RowFate fate);

// Whether the folder takes names that differ in letter case only for one
// entry, learned once a folder from a name of the batch that is there.
bool foldsCase(FileRenamer &renamer, const FolderHandle &folder, const std::vector<RenameRequest> &requests);

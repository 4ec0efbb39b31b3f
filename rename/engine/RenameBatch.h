// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "BatchOrder.h"
#include "JournalStore.h"

#include <optional>

// Told of each step's outcome as it is known; false asks the run to stop.
using StepProgress = std::function<bool(std::size_t step, const RenameOutcome &outcome)>;
// Told how many of all steps are done; false once the person asked to stop.
using GoOn = std::function<bool(std::size_t done, std::size_t total)>;

// The steps of one batch or undo with their folder read by the rules, ready
// to be taken. `rows` as in BatchSchedule; the steps must outlive the run.
// New names pass `newNames`, as in FolderSimulation.
class StepRun {
public:
    StepRun(FileRenamer &renamer, const FolderHandle &folder, const std::vector<RenameRequest> &steps,
            const std::vector<std::size_t> &rows, NameRules newNames = NameRules::Posix);
    // Takes the steps in turn, each as the rules decide against the folder as
    // read and as the steps before changed it: only a rename the rules let
    // through reaches the file system, in `order` but for the rules' change
    // of case. With `order.sameFileOnly`, a step whose inode number or look is
    // known renames only that file. Returns each step's
    // outcome, telling `progress` of each as it is known. Where `progress`
    // asks to stop, no step after the one in hand is taken (a cycle begun is
    // finished first, so that no file stays under its temporary name); each
    // gets {Failed, notTried}.
    // A change of case goes through the temporary name `temporaryFor` gives
    // the step, where it gives one.
    std::vector<RenameOutcome> run(MoveOrder order, const FileRenamer::Intend &intend = {},
                                   const StepProgress &progress = {},
                                   const std::function<NameBytes(std::size_t step)> &temporaryFor = {});

private:
    FileRenamer &renamer_;
    const FolderHandle &folder_;
    const std::vector<RenameRequest> &steps_;
    const std::vector<std::size_t> &rows_;
    FolderSimulation rules_;
};

// Reads the folder and takes the steps at once.
inline std::vector<RenameOutcome> runSteps(FileRenamer &renamer, const FolderHandle &folder,
                                           const std::vector<RenameRequest> &steps,
                                           const std::vector<std::size_t> &rows, MoveOrder order,
                                           const FileRenamer::Intend &intend = {}, const StepProgress &progress = {})
{
    return StepRun(renamer, folder, steps, rows).run(order, intend, progress);
}

// Renames the steps of one click in the folder, in their order, journaling them first so
// that the batch can be undone, even after a crash part-way. Where no journal
// can be written, `renameWithoutJournal` is asked first: on false nothing is
// renamed (and no outcome returned); on true the renames happen and the
// journal of an earlier batch is dropped, so that undo never reaches past this
// one. A batch that renames nothing leaves the earlier journal as it was.
// Returns each step's outcome. The journal holds the steps in the order
// taken, each with its file's inode number, so that undo takes them back
// newest first and moves back only the file the batch renamed.
// `goOn` is told of each step taken and may stop the batch after it; the
// journal then holds just the steps taken.
std::vector<RenameOutcome> renameBatch(FileRenamer &renamer, const FolderHandle &folder, const NameBytes &folderPath,
                                       const BatchSchedule &schedule, JournalStore &journal,
                                       const std::function<bool()> &renameWithoutJournal, const GoOn &goOn = {});

enum class UndoRefusal { FolderGone, FolderReplaced, CutShort, Unreadable, NewerVersion };

struct UndoReport {
    bool nothingToUndo = false;
    std::optional<UndoRefusal> refused;
    NameBytes folder;                    // the batch's folder
    std::vector<RenameRequest> back;     // the pairs renamed back, newest first
    std::vector<RenameOutcome> outcomes; // one for each of them
};

// Whether there is a last batch not yet undone (or a journal that undo will refuse, saying why).
// An undo that finishes forgets the batch.
bool canUndo(JournalStore &journal);

// Mends the fallback step that a batch or an undo stopped inside (a crash, a
// kill) left half taken in its folder, as the next start finds it. Run while
// the journal is held; a journal that was closed has nothing to mend.
void recoverInterruptedStep(FileRenamer &renamer, JournalStore &journal);

// Renames the last batch's renamed pairs back, newest first, in the batch's
// own folder and never over an existing entry. After a crash part-way, pairs
// without a mark are tried too: only a file found under its new name with its
// old name free goes back, once the step a stop left half taken is mended. A file whose inode number is not the one the
// batch renamed stays as it is. Undoing twice does nothing the second time.
// Stopped by `goOn`, it keeps the journal, and undoing again takes back the rest.
UndoReport undoLastBatch(FileRenamer &renamer, JournalStore &journal, const GoOn &goOn = {});

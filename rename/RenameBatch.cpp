// SPDX-License-Identifier: GPL-3.0-or-later

#include "RenameBatch.h"

#include "RenameJournal.h"

#include <unordered_map>

namespace {
// Marks are written a block at a time; a crash loses at most one block, whose
// pairs undo then finds on disk.
constexpr std::size_t marksPerBlock = 1024;
} // namespace

std::vector<RenameOutcome> renameBatch(FileRenamer &renamer, const FolderHandle &folder, const NameBytes &folderPath,
                                       const std::vector<RenameRequest> &requests, JournalStore &journal,
                                       const std::function<bool()> &renameWithoutJournal)
{
    if (requests.empty())
        return {};
    const bool journaled = journal.start(journalPlan(absolutePath(folderPath), folder.identity(), requests));
    if (!journaled) {
        if (!renameWithoutJournal())
            return {};
        journal.clear();
        return renamer.renameInFolder(folder, requests);
    }
    std::string marks;
    std::size_t pending = 0;
    std::vector<RenameOutcome> outcomes
        = renamer.renameInFolder(folder, requests, [&](std::size_t index, const RenameOutcome &outcome) {
              if (!outcome.moved() || requests[index].from == requests[index].to)
                  return;
              marks += journalMark(index);
              if (++pending == marksPerBlock) {
                  journal.append(journalBlock(marks), false);
                  marks.clear();
                  pending = 0;
              }
          });
    // A batch that changed no name leaves the undo of the one before it.
    bool changed = false;
    for (std::size_t i = 0; i < outcomes.size(); ++i)
        changed = changed || (outcomes[i].moved() && requests[i].from != requests[i].to);
    if (!changed)
        journal.restorePrevious();
    else
        journal.append(journalBlock(marks + std::string(journalClosing)), true);
    return outcomes;
}

bool canUndo(JournalStore &journal) { return journal.exists(); }

UndoReport undoLastBatch(FileRenamer &renamer, JournalStore &journal)
{
    UndoReport report;
    const std::optional<std::string> text = journal.read();
    if (!text) {
        report.nothingToUndo = true;
        return report;
    }
    const std::variant<Journal, JournalProblem> parsed = parseJournal(*text);
    if (const auto *problem = std::get_if<JournalProblem>(&parsed)) {
        report.refused = *problem == JournalProblem::CutShort       ? UndoRefusal::CutShort
                         : *problem == JournalProblem::NewerVersion ? UndoRefusal::NewerVersion
                                                                    : UndoRefusal::Unreadable;
        return report;
    }
    const Journal &batch = std::get<Journal>(parsed);
    report.folder = batch.folder;
    const std::shared_ptr<FolderHandle> folder = renamer.openFolder(batch.folder);
    if (!folder) {
        report.refused = UndoRefusal::FolderGone;
        return report;
    }
    // The path may name another folder by now; its files are none of this batch's.
    if (batch.folderIdentity.known() && !(folder->identity() == batch.folderIdentity)) {
        report.refused = UndoRefusal::FolderReplaced;
        return report;
    }
    // The folder as it will be once the renames back so far are done: a chain
    // of pairs is judged in the order the renames back will run.
    std::unordered_map<NameBytes, bool> planned;
    const auto exists = [&](const NameBytes &name) {
        const auto known = planned.find(name);
        return known != planned.end() ? known->second : renamer.entryExists(*folder, name);
    };
    std::vector<RenameRequest> back;
    for (std::size_t i = batch.pairs.size(); i-- > 0;) {
        const RenameRequest &pair = batch.pairs[i];
        // In a batch that never closed, an unmarked pair may have been renamed just before the stop.
        const bool renamed = batch.done[i] || (!batch.closed && exists(pair.to) && !exists(pair.from));
        if (renamed && pair.from != pair.to) {
            back.push_back({pair.to, pair.from});
            planned[pair.to] = false;
            planned[pair.from] = true;
        }
    }
    report.outcomes = renamer.renameInFolder(*folder, back);
    // Undone once, the batch is gone; a stop part-way keeps the journal, and
    // undoing again only finds the pairs not yet back.
    journal.clear();
    return report;
}

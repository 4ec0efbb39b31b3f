// SPDX-License-Identifier: GPL-3.0-or-later

#include "RenameBatch.h"

#include "RenameJournal.h"

#include <QRandomGenerator>
#include <algorithm>
#include <chrono>
#include <future>
#include <optional>
#include <unordered_map>

namespace {
// Marks are written a block at a time; a crash loses at most one block, whose
// pairs undo then finds on disk.
constexpr std::size_t marksPerBlock = 1024;
constexpr std::size_t notJournaled = std::size_t(-1);

// Whether a name is one of the temporary names a batch gives a file to break a cycle.
bool isTemporaryName(const NameBytes &name) { return temporaryNumber(name).has_value(); }

} // namespace

StepRun::StepRun(FileRenamer &renamer, const FolderHandle &folder, const std::vector<RenameRequest> &steps,
                 const std::vector<std::size_t> &rows, NameRules newNames)
    : renamer_(renamer)
    , folder_(folder)
    , steps_(steps)
    , rows_(rows)
    , rules_(steps, foldsCase(renamer, folder, steps), newNames)
{
    rules_.read(renamer, folder);
}

std::vector<RenameOutcome> StepRun::run(MoveOrder order, const FileRenamer::Intend &intend,
                                        const StepProgress &progress,
                                        const std::function<NameBytes(std::size_t step)> &temporaryFor)
{
    const std::unique_ptr<FolderMoves> moves = renamer_.movesIn(folder_, intend);
    std::vector<RenameOutcome> outcomes;
    outcomes.reserve(steps_.size());
    bool stopping = false;
    std::size_t underTemporary = 0; // files a cycle has parked under its temporary name
    for (std::size_t i = 0; i < steps_.size(); ++i) {
        if (stopping && underTemporary == 0) {
            outcomes.resize(steps_.size(), {RenameStatus::Failed, notTried});
            break;
        }
        const std::size_t row = rows_.empty() ? i : rows_[i];
        const RowPlan plan = rules_.decideNth(i, row);
        order.throughTemporary = plan.caseOnly;
        order.temporary = plan.caseOnly && temporaryFor ? temporaryFor(i) : NameBytes();
        const RenameOutcome outcome
            = plan.fate == RowFate::Renamed ? moves->move(i, steps_[i], order) : outcomeOf(plan.fate);
        rules_.applyNth(i, row, plan.fate == RowFate::Renamed ? fateOf(steps_[i], outcome) : plan.fate);
        outcomes.push_back(outcome);
        if (outcome.moved() && isTemporaryName(steps_[i].to))
            ++underTemporary;
        if (isTemporaryName(steps_[i].from) && underTemporary > 0)
            --underTemporary;
        if (progress && !progress(i, outcome))
            stopping = true;
    }
    return outcomes;
}

std::vector<RenameOutcome> renameBatch(FileRenamer &renamer, const FolderHandle &folder, const NameBytes &folderPath,
                                       const BatchSchedule &schedule, JournalStore &journal,
                                       const std::function<bool()> &renameWithoutJournal, const GoOn &goOn)
{
    const std::vector<RenameRequest> &requests = schedule.steps;
    if (requests.empty())
        return {};
    // Only the renames that can change a name are journaled: a name that would
    // leave the folder never reaches the journal, whose every name must be plain.
    std::vector<std::size_t> journalIndex(requests.size(), notJournaled);
    std::size_t count = 0;
    for (std::size_t i = 0; i < requests.size(); ++i)
        if (requests[i].from != requests[i].to && isPlainFileName(requests[i].from) && isPlainFileName(requests[i].to))
            journalIndex[i] = count++;
    // Where every request is journaled, as in most batches, they are not copied.
    std::vector<RenameRequest> some;
    if (count < requests.size())
        for (std::size_t i = 0; i < requests.size(); ++i)
            if (journalIndex[i] != notJournaled)
                some.push_back(requests[i]);
    const std::vector<RenameRequest> &journaled = count < requests.size() ? some : requests;
    // The journal goes to the disk while the rules read the folder; both are
    // done before the first rename.
    const NameBytes absolute = absolutePath(folderPath);
    const FolderIdentity identity = folder.identity();
    const std::int64_t writtenAt
        = std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
              .count();
    const std::uint64_t temporaries = QRandomGenerator::global()->generate64();
    std::future<bool> started = std::async(std::launch::async, [&] {
        return journal.start(journalPlan(absolute, identity, journaled, writtenAt, temporaries));
    });
    std::optional<StepRun> steps;
    steps.emplace(renamer, folder, requests, schedule.rows, renamer.nameRulesIn(folder));
    if (!started.get()) {
        if (!renameWithoutJournal())
            return {};
        journal.clear();
        // The folder may have changed while the question was open.
        steps.emplace(renamer, folder, requests, schedule.rows, renamer.nameRulesIn(folder));
        return steps->run({}, {}, [&](std::size_t index, const RenameOutcome &) {
            return !goOn || goOn(index + 1, requests.size());
        });
    }
    std::string marks;
    std::size_t pending = 0;
    bool changed = false;
    const auto progress = [&](std::size_t index, const RenameOutcome &outcome) {
        const bool more = !goOn || goOn(index + 1, requests.size());
        if (!outcome.moved() || journalIndex[index] == notJournaled)
            return more;
        changed = true;
        marks += journalMark(journalIndex[index]);
        // A file under a cycle's temporary name is marked before it moves on,
        // so that undo never takes a rename onward for one that did not happen;
        // on the disk, where no inode number tells undo that it went there.
        const bool intoTemporary = isTemporaryName(requests[index].to);
        if (++pending == marksPerBlock || intoTemporary) {
            journal.append(journalBlock(marks), intoTemporary && requests[index].inode == 0);
            marks.clear();
            pending = 0;
        }
        return more;
    };
    // A fallback step is recorded before it is taken, with the marks so far,
    // so that a stop inside it is mended at the next start.
    // Recorded for its pair in the journal, whose look it may carry.
    const auto intend = [&](FallbackIntent step) {
        step.request = journalIndex[step.request];
        if (!journal.append(journalBlock(marks + journalIntent(step)), false))
            return false;
        marks.clear();
        pending = 0;
        return true;
    };
    // The plan on disk names the temporary name of every change of case.
    std::vector<RenameOutcome> outcomes = steps->run({}, intend, progress, [&](std::size_t index) {
        return journalIndex[index] == notJournaled ? NameBytes() : temporaryName(temporaries + journalIndex[index]);
    });
    // A batch that changed no name leaves the undo of the one before it.
    if (!changed)
        journal.restorePrevious();
    else
        journal.append(journalClosingBlocks(marks), true);
    return outcomes;
}

bool canUndo(JournalStore &journal) { return journal.exists(); }

namespace {

// The last batch's folder, opened, while it is still the folder the batch renamed in.
std::variant<std::shared_ptr<FolderHandle>, UndoRefusal> batchFolder(FileRenamer &renamer, const Journal &batch)
{
    std::shared_ptr<FolderHandle> folder = renamer.openFolder(batch.folder);
    if (!folder)
        return UndoRefusal::FolderGone;
    // The path may name another folder by now; its files are none of this batch's.
    if (batch.folderIdentity.known() && !(folder->identity() == batch.folderIdentity))
        return UndoRefusal::FolderReplaced;
    return folder;
}

// A stopped batch leaves at most one file under a cycle's temporary name,
// since a cycle's renames run one after another: the cycle is finished as the
// batch would have, each rename as the rules allow, and what moved is marked.
// A cycle that cannot be finished is left for undo, which takes it back whole.
void finishCycle(FileRenamer &renamer, const FolderHandle &folder, const Journal &batch, JournalStore &journal)
{
    std::unordered_map<std::string_view, std::size_t> leaving; // a temporary name's rename onward
    for (std::size_t i = 0; i < batch.pairs.size(); ++i)
        if (isTemporaryName(batch.pairs[i].from))
            leaving.emplace(batch.pairs[i].from, i);
    std::vector<std::pair<std::size_t, std::size_t>> cycles; // each cycle's renames to and from its temporary name
    std::vector<RenameRequest> temporaries;
    for (std::size_t i = 0; i < batch.pairs.size(); ++i)
        if (const auto onward = leaving.find(batch.pairs[i].to); onward != leaving.end() && onward->second > i) {
            cycles.emplace_back(i, onward->second);
            temporaries.push_back(batch.pairs[onward->second]);
        }
    if (cycles.empty())
        return;
    FolderSimulation view(temporaries, false);
    view.read(renamer, folder);
    for (std::size_t c = 0; c < cycles.size(); ++c) {
        const auto [into, onward] = cycles[c];
        if (!view.has(temporaries[c].from))
            continue;
        const std::vector<RenameRequest> rest(batch.pairs.begin() + std::ptrdiff_t(into + 1),
                                              batch.pairs.begin() + std::ptrdiff_t(onward + 1));
        const std::vector<RenameOutcome> outcomes = runSteps(renamer, folder, rest, {}, {});
        std::string marks = batch.done[into] ? std::string() : journalMark(into);
        for (std::size_t k = 0; k < outcomes.size(); ++k)
            if (outcomes[k].moved())
                marks += journalMark(into + 1 + k);
        journal.append(journalBlock(marks), false);
        return;
    }
}

// The fallback steps a stopped batch may have left half taken: those its
// journal recorded, then those a power cut may have lost the records of,
// inferred from the plan and the folder: an empty file made since the plan
// under a pair's new name while its old one is still there (a placeholder),
// and a file under a temporary name the plan numbers. A placeholder only
// where no other pair renames to the new name, and the empty file there is
// certainly not the pair's own: the pair was not taken (its old name is there
// and no pair can have filled it again), or the file is known by its inode
// number or by a look that is not empty.
std::vector<FallbackIntent> toMend(FileRenamer &renamer, const FolderHandle &folder, const Journal &batch)
{
    std::vector<FallbackIntent> steps = batch.interrupted;
    if (!batch.temporaries)
        return steps;
    const std::int64_t madeAfter = batch.writtenAt - fileTimeSlack;
    constexpr std::size_t several = std::size_t(-1);
    std::unordered_map<std::string_view, std::size_t> arriving; // the one pair that renames to a name
    for (std::size_t i = 0; i < batch.pairs.size(); ++i)
        if (const auto [at, first] = arriving.try_emplace(batch.pairs[i].to, i); !first)
            at->second = several;
    FolderSimulation view(batch.pairs, false);
    view.read(renamer, folder);
    // Walked back along a chain without recursion: 1 untaken, 0 not known so,
    // 2 on the walk now. A cycle whose every old name is there has not begun:
    // its first rename frees a name that only its last fills again.
    std::vector<signed char> untaken(batch.pairs.size(), -1);
    std::vector<std::size_t> walk;
    const auto isUntaken = [&](std::size_t i) {
        signed char result = 0;
        for (std::size_t at = i;;) {
            if (untaken[at] >= 0) {
                result = untaken[at] == 0 ? 0 : 1;
                break;
            }
            const auto arrival = arriving.find(batch.pairs[at].from);
            if (!view.has(batch.pairs[at].from) || (arrival != arriving.end() && arrival->second == several))
                break;
            untaken[at] = 2;
            walk.push_back(at);
            if (arrival == arriving.end()) {
                result = 1;
                break;
            }
            at = arrival->second;
        }
        for (const std::size_t at : walk)
            untaken[at] = result;
        walk.clear();
        return result == 1;
    };
    for (std::size_t i = 0; i < batch.pairs.size(); ++i) {
        const RenameRequest &pair = batch.pairs[i];
        if (arriving[pair.to] == i && view.has(pair.to) && view.has(pair.from)
            && (pair.inode != 0 || pair.look.size > 0 || isUntaken(i)))
            steps.push_back({i, FallbackStep::Placeholder, pair.to, pair.from, {}, madeAfter, pair.inode});
    }
    std::vector<FallbackIntent> temporaries;
    renamer.readFolder(folder, [&](std::string_view name, bool) {
        const std::optional<std::uint64_t> number = temporaryNumber(name);
        if (!number || *number - *batch.temporaries >= batch.pairs.size())
            return;
        const std::size_t i = std::size_t(*number - *batch.temporaries);
        const RenameRequest &pair = batch.pairs[i];
        // Its way on may have been claimed, or its way there.
        steps.push_back({i, FallbackStep::Placeholder, pair.to, NameBytes(name), {}, madeAfter});
        steps.push_back({i, FallbackStep::Placeholder, NameBytes(name), pair.from, {}, madeAfter});
        temporaries.push_back({i, FallbackStep::Temporary, NameBytes(name), pair.from});
    });
    steps.insert(steps.end(), temporaries.begin(), temporaries.end());
    return steps;
}

} // namespace

void recoverInterruptedStep(FileRenamer &renamer, JournalStore &journal)
{
    // The journal of a batch of a million files is read whole only when its end leaves doubt.
    const std::optional<std::string> end = journal.readEnd(journalClosingSpan);
    if (!end || !journalMayBeInterrupted(*end))
        return;
    const std::optional<std::string> text = journal.read();
    if (!text)
        return;
    const std::variant<Journal, JournalProblem> parsed = parseJournal(*text);
    const Journal *batch = std::get_if<Journal>(&parsed);
    if (!batch)
        return;
    const auto folder = batchFolder(renamer, *batch);
    if (const auto *open = std::get_if<std::shared_ptr<FolderHandle>>(&folder)) {
        renamer.recoverInterrupted(**open, toMend(renamer, **open, *batch));
        finishCycle(renamer, **open, *batch, journal);
        // Read whole once: the next start finds it mended by its end alone.
        journal.append(journalBlock(std::string(journalMended)), true);
    }
}

UndoReport undoLastBatch(FileRenamer &renamer, JournalStore &journal, const GoOn &goOn)
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
    const auto opened = batchFolder(renamer, batch);
    if (const auto *refusal = std::get_if<UndoRefusal>(&opened)) {
        report.refused = *refusal;
        return report;
    }
    const std::shared_ptr<FolderHandle> &folder = std::get<std::shared_ptr<FolderHandle>>(opened);
    // A step a stopped program left half taken is mended before the folder is judged.
    renamer.recoverInterrupted(*folder, toMend(renamer, *folder, batch));
    // The folder as the renames back leave it, one by one: a chain of pairs is
    // judged in the order the renames back will run, and by the spellings the
    // folder lists, so that a change of case only counts once the new one is there.
    FolderSimulation simulation(batch.pairs, false);
    simulation.read(renamer, *folder);
    std::unordered_map<std::string_view, std::size_t> arriving; // each temporary name's rename to it
    for (std::size_t i = 0; i < batch.pairs.size(); ++i)
        if (isTemporaryName(batch.pairs[i].to))
            arriving.emplace(batch.pairs[i].to, i);
    std::vector<RenameRequest> &back = report.back;
    // The renames back into and out of a temporary name move one file: one row.
    std::vector<std::size_t> rows;
    std::vector<std::size_t> pairOf; // each rename back's pair
    std::unordered_map<std::string_view, std::size_t> rowThrough;
    std::unordered_map<std::string_view, std::size_t> leaving; // the pair that renames a name away
    for (std::size_t i = 0; i < batch.pairs.size(); ++i)
        leaving.emplace(batch.pairs[i].from, i);
    for (std::size_t i = batch.pairs.size(); i-- > 0;) {
        const RenameRequest &pair = batch.pairs[i];
        // In a batch that never closed, an unmarked pair may have been renamed
        // just before the stop; out of a temporary name, only once the file
        // went into it: its mark says so, or its inode number where known,
        // since a power cut may lose the mark.
        const auto arrived = arriving.find(pair.from);
        const auto mayHaveMoved = [&] {
            return arrived == arriving.end() || batch.done[arrived->second]
                   || (pair.inode != 0 && renamer.inodeOf(*folder, pair.to) == pair.inode);
        };
        // Where neither its inode number nor a look ties the file to the
        // batch, nor its new name was freed by a marked rename of the batch
        // (in a cycle), it is not guessed.
        const auto vacated = leaving.find(pair.to);
        const bool tied = batch.version < 5 || pair.inode != 0 || pair.look.known()
                          || (vacated != leaving.end() && batch.done[vacated->second]);
        const bool renamed
            = batch.done[i]
              || (!batch.closed && tied && simulation.has(pair.to) && !simulation.has(pair.from) && mayHaveMoved());
        if (!renamed || pair.from == pair.to)
            continue;
        const auto through = rowThrough.find(pair.to);
        rows.push_back(through != rowThrough.end() ? through->second : back.size());
        if (isTemporaryName(pair.from))
            rowThrough.emplace(pair.from, rows.back());
        back.push_back({pair.to, pair.from, pair.inode, pair.look});
        pairOf.push_back(i);
        simulation.step(rows.back(), back.back());
    }
    // A change of case back takes the pair's temporary name too: a stop inside
    // it is mended at the next start, which the name back finishes.
    report.outcomes
        = StepRun(renamer, *folder, back, rows)
              .run(
                  {false, true, batch.writtenAt},
                  // Recorded for the pair, as the batch's own steps are.
                  [&](FallbackIntent step) {
                      step.request = pairOf[step.request];
                      return journal.append(journalBlock(journalIntent(step)), false);
                  },
                  [&](std::size_t step, const RenameOutcome &) { return !goOn || goOn(step + 1, back.size()); },
                  [&](std::size_t step) {
                      return batch.temporaries ? temporaryName(*batch.temporaries + pairOf[step]) : NameBytes();
                  });
    // A file an undo stopped part-way already took back is back.
    for (std::size_t i = 0; i < back.size(); ++i)
        if (!report.outcomes[i].moved() && !isNotTried(report.outcomes[i]) && back[i].inode != 0
            && renamer.inodeOf(*folder, back[i].to) == back[i].inode)
            report.outcomes[i] = {RenameStatus::Renamed, 0};
    // Undone once, the batch is gone; a stop part-way keeps the journal, and
    // undoing again only finds the pairs not yet back.
    const bool stopped = std::any_of(report.outcomes.begin(), report.outcomes.end(), isNotTried);
    if (!stopped)
        journal.clear();
    return report;
}

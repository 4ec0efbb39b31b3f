// SPDX-License-Identifier: GPL-3.0-or-later

#include "RenameSession.h"

#include "ListFolderFiles.h"
#include "PreviewTip.h"
#include "ProgramTexts.h"

#include <QScopedValueRollback>

RenameSession::RenameSession(MessageBox &messages, ProgressBox &progress, FolderLister &lister, FileRenamer &renamer,
                             JournalStore &journal, QObject *parent)
    : QObject(parent)
    , messages_(messages)
    , progress_(progress)
    , lister_(lister)
    , renamer_(renamer)
    , journal_(journal)
    , rows_(lister)
    , canUndo_(::canUndo(journal))
{
}

bool RenameSession::takeFolder(const NameBytes &picked)
{
    putPath_ = folderFieldPath(picked);
    putText_ = displayName(putPath_);
    text_ = putText_;
    dropPlan();
    Q_EMIT changed(Change::Field);

    // A file a stopped batch left under our temporary name is listed under its
    // own; another copy renaming right now is not waited for.
    if (journal_.lock(false)) {
        const JournalHold hold(journal_);
        recoverInterruptedStep(renamer_, journal_);
    }
    std::optional<FolderListing> listing = ListFolderFiles(lister_, putPath_);
    if (!listing || listing->names.empty()) {
        messages_.show(Texts::noFilesFound(), MsgStyle::Ok, Texts::programTitle());
        return false;
    }
    reportStrandedTemporaries(messages_, listing->names);
    showListing(std::move(*listing));
    messages_.show(Texts::selectionHint(), MsgStyle::OkCancelInformation, Texts::hintTitle());
    listed_ = true;
    return true;
}

bool RenameSession::startWithFolder(const NameBytes &path)
{
    if (renamer_.openFolder(path))
        return takeFolder(path);
    messages_.show(Texts::notAFolder(displayName(path)), MsgStyle::OkExclamation, Texts::programTitle());
    return false;
}

void RenameSession::setFieldText(const QString &text)
{
    if (text == text_)
        return;
    text_ = text;
    dropPlan();
}

NameBytes RenameSession::folderPath() const { return text_ == putText_ ? putPath_ : toNativeName(text_); }

void RenameSession::setSelection(std::vector<RowRange> merged)
{
    if (rows_.setSelection(std::move(merged)))
        dropPlan();
}

void RenameSession::selectAll()
{
    if (rows_.names().empty())
        return;
    setSelection({{0, int(rows_.names().size()) - 1}});
    Q_EMIT changed(Change::Selection);
}

void RenameSession::invertSelection()
{
    setSelection(complementRanges(rows_.selection(), int(rows_.names().size())));
    Q_EMIT changed(Change::Selection);
}

void RenameSession::setOrder(RowOrder order)
{
    if (!rows_.setOrder(order))
        return;
    dropPlan();
    Q_EMIT changed(Change::Listing);
    Q_EMIT changed(Change::Selection);
}

void RenameSession::setNaming(NamingMode mode, const NamingTexts &texts)
{
    naming_.mode = mode;
    naming_.texts = texts;
    dropPlan();
}

void RenameSession::setNumbering(const Numbering &numbering)
{
    naming_.numbering = numbering;
    dropPlan();
}

ClickResult::End RenameSession::failingCheck() const
{
    if (naming_.texts.newText.empty() && naming_.mode != NamingMode::ReplaceCharacters)
        return ClickResult::End::NoNewText;
    return listed_ ? ClickResult::End::Ran : ClickResult::End::NoFolder;
}

// The box begins with the first step taken, after any question the work asks.
template <class Work> auto RenameSession::watched(bool undo, Work work)
{
    const QScopedValueRollback<bool> running(running_, true);
    bool begun = false;
    auto result = work([&](std::size_t done, std::size_t total) {
        if (!std::exchange(begun, true))
            progress_.begin(total, displayName(folderPath()), undo);
        return progress_.advance(done);
    });
    if (begun)
        progress_.end();
    return result;
}

ClickResult RenameSession::renameSelected()
{
    if (const ClickResult::End failed = failingCheck(); failed != ClickResult::End::Ran) {
        reportClick(messages_, {failed, {}}, {});
        return {failed, {}};
    }
    const BatchPlan &planned = plan_.of(naming_, rows_);
    const std::shared_ptr<FolderHandle> folder = folderToRenameIn();
    // Only a batch where a new name is another row's old one can wait on
    // rows; only then is it predicted here.
    const bool mayWait = folder && planned.mayWaitOnRows(renamer_, folder.get()) && currentPlan()->waiting() > 0;
    const std::shared_ptr<const BatchPlan> taken = plan_.take();
    const BatchPlan &plan = *taken;
    BatchOrder order = BatchOrder::AsListed;
    if (mayWait) {
        const Answer answer = messages_.ask(Texts::freeNamesFirstQuestion(plan.waiting()));
        if (answer == Answer::Cancel)
            return {ClickResult::End::Cancelled, {}};
        if (answer == Answer::Yes)
            order = BatchOrder::FreeingNamesFirst;
    }
    ClickResult result;
    if (const std::optional<JournalHold> hold = holdJournal()) {
        const BatchSchedule &schedule = plan.schedule(order);
        if (folder)
            result.outcomes = watched(false, [&](const GoOn &goOn) {
                return renameBatch(
                    renamer_, *folder, folderPath(), schedule, journal_,
                    [this] {
                        return messages_.show(Texts::noJournalQuestion(), MsgStyle::OkCancelExclamation,
                                              Texts::programTitle());
                    },
                    goOn);
            });
        refreshFileList();
        updateUndo();
        if (!result.outcomes.empty())
            result.outcomes = perRow(schedule, result.outcomes, plan.requests().size(),
                                     [](const RenameOutcome &outcome) { return outcome.moved(); });
    } else {
        result.end = ClickResult::End::Busy;
    }
    reportClick(messages_, result, plan.requests());
    if (result.end == ClickResult::End::Ran)
        Q_EMIT clicked(taken, result);
    if (!result.outcomes.empty())
        Q_EMIT told(clickSummary(plan, result));
    return result;
}

// While the field shows the text that was listed, the folder that was listed;
// else the folder the field names now.
std::shared_ptr<FolderHandle> RenameSession::folderToRenameIn()
{
    if (text_ == listedText_ && rows_.folder())
        return rows_.folder();
    return renamer_.openFolder(folderPath());
}

// Another copy of the program renaming or undoing now is waited for a while:
// the two must never interleave.
std::optional<JournalHold> RenameSession::holdJournal()
{
    return journal_.lock() ? std::make_optional<JournalHold>(journal_) : std::nullopt;
}

std::optional<UndoReport> RenameSession::undoLast()
{
    std::optional<UndoReport> report;
    bool shown = false;
    if (const std::optional<JournalHold> hold = holdJournal()) {
        report = watched(true, [&](const GoOn &goOn) { return undoLastBatch(renamer_, journal_, goOn); });
        shown = report->folder == absolutePath(folderPath());
        if (!report->nothingToUndo && !report->refused && shown)
            refreshFileList();
        updateUndo();
    }
    reportUndo(messages_, report, shown);
    if (report && !report->refused && !report->nothingToUndo)
        Q_EMIT told(undoSummary(*report));
    return report;
}

void RenameSession::dropPlan()
{
    plan_.drop();
    Q_EMIT changed(Change::Plan);
}

void RenameSession::updateUndo()
{
    canUndo_ = ::canUndo(journal_);
    Q_EMIT changed(Change::Undo);
}

std::shared_ptr<const BatchPlan> RenameSession::currentPlan()
{
    if (running_ || failingCheck() != ClickResult::End::Ran)
        return nullptr;
    plan_.of(naming_, rows_);
    if (!plan_.holds())
        plan_.predictedOn(folderToRenameIn(), renamer_, lister_.now(), rows_);
    return plan_.shared();
}

QString RenameSession::tipFor(int row)
{
    const std::shared_ptr<const BatchPlan> plan = currentPlan();
    const std::optional<std::size_t> index = plan ? plan->indexOf(row) : std::nullopt;
    return index ? previewTip(*plan, *index) : QString();
}

void RenameSession::showListing(FolderListing listing)
{
    rows_.show(std::move(listing));
    listedText_ = text_;
    dropPlan();
    Q_EMIT changed(Change::Listing);
}

void RenameSession::refreshFileList() { showListing(ListFolderFiles(lister_, folderPath()).value_or(FolderListing{})); }

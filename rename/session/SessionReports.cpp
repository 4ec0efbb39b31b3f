// SPDX-License-Identifier: GPL-3.0-or-later

#include "SessionReports.h"

#include "PreviewTip.h"
#include "ProgramTexts.h"

#include <algorithm>

namespace {

// A step that parks a file under a cycle's temporary name is no file of its
// own: the step that takes it on to its name tells of it.
bool parks(const RenameRequest &step) { return temporaryNumber(step.to).has_value(); }

// Why renames back did not happen, a line for each reason with its count.
QString undoShortfall(const UndoReport &report)
{
    int taken = 0, gone = 0, replaced = 0, stopped = 0, other = 0;
    for (std::size_t i = 0; i < report.outcomes.size(); ++i) {
        if (parks(report.back[i]))
            continue;
        const RenameOutcome &outcome = report.outcomes[i];
        const RowFate fate = fateOf(report.back[i], outcome);
        const bool isReplaced = outcome.status == RenameStatus::Replaced;
        const bool isStopped = isNotTried(outcome);
        taken += fate == RowFate::Taken;
        gone += fate == RowFate::Gone;
        replaced += isReplaced;
        stopped += isStopped;
        other
            += fate != RowFate::Taken && fate != RowFate::Gone && fate != RowFate::Renamed && !isReplaced && !isStopped;
    }
    QStringList why;
    if (taken)
        why << Texts::undoShortTaken(taken);
    if (gone)
        why << Texts::undoShortGone(gone);
    if (replaced)
        why << Texts::undoShortReplaced(replaced);
    if (stopped)
        why << Texts::undoShortStopped(stopped);
    if (other)
        why << Texts::undoShortFailed(other);
    return why.join(QLatin1Char('\n'));
}

QString refusalText(UndoRefusal refusal)
{
    switch (refusal) {
    case UndoRefusal::FolderGone:
        return Texts::undoFolderGone();
    case UndoRefusal::FolderReplaced:
        return Texts::undoFolderReplaced();
    case UndoRefusal::NewerVersion:
        return Texts::undoNewerVersion();
    case UndoRefusal::CutShort:
    case UndoRefusal::Unreadable:
        break;
    }
    return Texts::undoDamaged();
}

void reportBusy(MessageBox &messages)
{
    messages.show(Texts::otherCopyBusy(), MsgStyle::OkExclamation, Texts::programTitle());
}

// The files an undo took back, of all it was to: a step into a temporary name is no file's.
std::pair<qsizetype, qsizetype> undoneOf(const UndoReport &report)
{
    qsizetype back = 0, all = 0;
    for (std::size_t i = 0; i < report.outcomes.size(); ++i) {
        all += !parks(report.back[i]);
        back += !parks(report.back[i]) && report.outcomes[i].moved();
    }
    return {back, all};
}

} // namespace

// What is still under a temporary name once a listing has mended what it
// could, no journal can name back.
void reportStrandedTemporaries(MessageBox &messages, const std::vector<NameBytes> &names)
{
    const auto isTemporary = [](const NameBytes &name) { return temporaryNumber(name).has_value(); };
    const auto first = std::find_if(names.begin(), names.end(), isTemporary);
    if (first != names.end())
        messages.show(Texts::strandedTemporaries(std::count_if(first, names.end(), isTemporary), displayName(*first)),
                      MsgStyle::OkExclamation, Texts::programTitle());
}

void reportClick(MessageBox &messages, const ClickResult &result, const std::vector<RenameRequest> &requests)
{
    switch (result.end) {
    case ClickResult::End::NoNewText:
        messages.show(Texts::enterNewName(), MsgStyle::OkCancelInformation, Texts::authorTitle());
        return;
    case ClickResult::End::NoFolder:
        messages.show(Texts::pickFolderFirst(), MsgStyle::OkInformation, Texts::hintTitle());
        return;
    case ClickResult::End::Busy:
        reportBusy(messages);
        return;
    case ClickResult::End::Cancelled:
        return;
    case ClickResult::End::Ran:
        break;
    }
    // A file system that did not keep a file through a fallback rename is
    // named once; the batch stopped renaming at it.
    const auto notKept = std::find_if(result.outcomes.begin(), result.outcomes.end(), [](const RenameOutcome &outcome) {
        return outcome.status == RenameStatus::NotKept;
    });
    if (notKept == result.outcomes.end())
        return;
    const RenameRequest &request = requests[std::size_t(notKept - result.outcomes.begin())];
    messages.show(Texts::renameNotKept(displayName(request.from), displayName(request.to)), MsgStyle::OkExclamation,
                  Texts::programTitle());
}

void reportUndo(MessageBox &messages, const std::optional<UndoReport> &report, bool shown)
{
    if (!report) {
        reportBusy(messages);
        return;
    }
    if (report->refused) {
        messages.show(refusalText(*report->refused), MsgStyle::OkExclamation, Texts::programTitle());
        return;
    }
    if (report->nothingToUndo)
        return;
    const auto [back, all] = undoneOf(*report);
    const QString folder = displayName(report->folder);
    if (back < all)
        messages.show(Texts::undoPartly(folder, back, all - back, undoShortfall(*report)), MsgStyle::OkExclamation,
                      Texts::programTitle());
    else if (!shown)
        messages.show(Texts::undoneElsewhere(folder), MsgStyle::OkInformation, Texts::programTitle());
}

QString clickSummary(const BatchPlan &plan, const ClickResult &result)
{
    qsizetype renamed = 0;
    for (std::size_t i = 0; i < result.outcomes.size(); ++i)
        renamed += renames(previewOf(plan, i, result.outcomes[i]).state);
    return Texts::previewOutcomeCounts(renamed, qsizetype(plan.requests().size()) - renamed);
}

QString undoSummary(const UndoReport &report)
{
    const auto [back, all] = undoneOf(report);
    return Texts::undoneCounts(back, all - back);
}

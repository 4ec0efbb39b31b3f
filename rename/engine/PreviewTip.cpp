// SPDX-License-Identifier: GPL-3.0-or-later

#include "PreviewTip.h"

#include "ProgramTexts.h"

namespace {

// Why a name the rules do not allow is not allowed.
RowPreview notAllowed(const BatchPlan &plan, const RenameRequest &request)
{
    if (!isPlainFileName(request.from) || !isPlainFileName(request.to))
        return {PreviewState::Unusable};
    if (const Refusal refusal = refusalOf(plan.nameRules(), request.to); refusal != Refusal::None)
        return {PreviewState::Refused, 0, refusal};
    return {PreviewState::NotAFile};
}

QString refusalText(Refusal refusal)
{
    switch (refusal) {
    case Refusal::Character:
        return Texts::refusedCharacter();
    case Refusal::Ending:
        return Texts::refusedEnding();
    case Refusal::Reserved:
        return Texts::refusedReserved();
    case Refusal::TooLong:
    case Refusal::None:
        break;
    }
    return Texts::refusedLength();
}

// A row's state for what the rules decided of it or a rename that was tried did.
RowPreview previewOfRow(const BatchPlan &plan, std::size_t index, const RowPlan &row)
{
    switch (row.fate) {
    case RowFate::Renamed:
        return {PreviewState::Renamed};
    case RowFate::Unchanged:
        return {PreviewState::Unchanged};
    case RowFate::Taken: {
        const RenameRequest &holder = plan.requests()[row.heldBy];
        if (row.holder == Holder::RowAbove && holder.from == holder.to)
            return {PreviewState::HolderStays, row.heldBy};
        if (row.holder == Holder::RowAbove)
            return {PreviewState::HolderFirst, row.heldBy};
        if (row.holder == Holder::SkippedRowAbove)
            return {PreviewState::HolderSkipped, row.heldBy};
        return {PreviewState::Exists};
    }
    case RowFate::NotAllowed:
        return notAllowed(plan, plan.requests()[index]);
    case RowFate::Gone:
        return {PreviewState::Gone};
    case RowFate::Failed:
        break;
    }
    return {PreviewState::Failed};
}

} // namespace

RowPreview previewOf(const BatchPlan &plan, std::size_t index)
{
    // Where the click will ask, its default answer frees the names first.
    if (plan.waits(index))
        return {PreviewState::AfterFreeing};
    return previewOfRow(plan, index, plan.predictions(BatchOrder::FreeingNamesFirst)[index]);
}

RowPreview previewOf(const BatchPlan &plan, std::size_t index, const RenameOutcome &outcome)
{
    if (isNotTried(outcome))
        return {PreviewState::Stopped};
    return previewOfRow(plan, index, {fateOf(plan.requests()[index], outcome)});
}

QString previewTip(const BatchPlan &plan, std::size_t index)
{
    const RenameRequest &request = plan.requests()[index];
    const RowPreview row = previewOf(plan, index);
    const QString number = QString::number(index + 1);
    const QString newName = displayName(request.to);
    const auto holder = [&] { return displayName(plan.requests()[row.holder].from); };
    switch (row.state) {
    case PreviewState::AfterFreeing:
        return Texts::tipAfterFreeing(newName, number);
    case PreviewState::Renamed:
        return Texts::tipRenamed(newName, number);
    case PreviewState::Unchanged:
        return Texts::tipUnchanged(number);
    case PreviewState::HolderStays:
        return Texts::tipHolderStays(holder(), newName);
    case PreviewState::HolderFirst:
        return Texts::tipHolderFirst(holder(), newName);
    case PreviewState::HolderSkipped:
        return Texts::tipHolderSkipped(holder(), newName);
    case PreviewState::Exists:
        return Texts::tipExists(newName);
    case PreviewState::NotAFile:
        return Texts::tipNotAFile(displayName(request.from));
    case PreviewState::Unusable:
        return Texts::tipUnusableName(newName);
    case PreviewState::Refused:
        return Texts::tipRefused(newName, refusalText(row.refusal));
    case PreviewState::Gone:
        return Texts::tipGone(displayName(request.from));
    case PreviewState::Failed:
    case PreviewState::Stopped:
        break;
    }
    return {};
}

QString stateText(const RowPreview &row)
{
    switch (row.state) {
    case PreviewState::Renamed:
        return Texts::stateRenamed();
    case PreviewState::AfterFreeing:
        return Texts::stateAfterFreeing();
    case PreviewState::Unchanged:
        return Texts::stateUnchanged();
    case PreviewState::HolderStays:
    case PreviewState::HolderFirst:
    case PreviewState::HolderSkipped:
        return Texts::stateSameAsAbove(row.holder + 1);
    case PreviewState::Exists:
        return Texts::stateExists();
    case PreviewState::NotAFile:
        return Texts::stateNotAFile();
    case PreviewState::Unusable:
        return Texts::stateUnusable();
    case PreviewState::Refused:
        return Texts::stateRefused(refusalText(row.refusal));
    case PreviewState::Gone:
        return Texts::stateGone();
    case PreviewState::Stopped:
        return Texts::stateStopped();
    case PreviewState::Failed:
        break;
    }
    return Texts::stateFailed();
}

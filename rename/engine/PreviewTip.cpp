// SPDX-License-Identifier: GPL-3.0-or-later

#include "PreviewTip.h"

#include "ProgramTexts.h"

QString previewTip(const BatchPlan &plan, std::size_t index)
{
    const RenameRequest &request = plan.requests()[index];
    // Where the click will ask, its default answer frees the names first.
    const RowPlan &row = plan.predictions(BatchOrder::FreeingNamesFirst)[index];
    const QString number = QString::number(index + 1);
    const QString newName = displayName(request.to);
    if (plan.waits(index))
        return Texts::tipAfterFreeing(newName, number);
    switch (row.fate) {
    case RowFate::Renamed:
        return Texts::tipRenamed(newName, number);
    case RowFate::Unchanged:
        return Texts::tipUnchanged(number);
    case RowFate::Taken: {
        const RenameRequest &holder = plan.requests()[row.heldBy];
        if (row.holder == Holder::RowAbove && holder.from == holder.to)
            return Texts::tipHolderStays(displayName(holder.from), newName);
        if (row.holder == Holder::RowAbove)
            return Texts::tipHolderFirst(displayName(holder.from), newName);
        if (row.holder == Holder::SkippedRowAbove)
            return Texts::tipHolderSkipped(displayName(holder.from), newName);
        return Texts::tipExists(newName);
    }
    case RowFate::NotAllowed:
        if (isPlainFileName(request.from) && isPlainFileName(request.to))
            return Texts::tipNotAFile(displayName(request.from));
        return Texts::tipUnusableName(newName);
    case RowFate::Gone:
        return Texts::tipGone(displayName(request.from));
    case RowFate::Failed:
        break;
    }
    return {};
}

// SPDX-License-Identifier: GPL-3.0-or-later

#include "RenamePreview.h"

#include <algorithm>

RenamePreview::RenamePreview(NamingMode mode, NamingTexts texts, const std::vector<NameBytes> &names,
                             std::vector<RowRange> selected, ExistsOnDisk exists)
    : mode_(mode)
    , texts_(std::move(texts))
    , names_(names)
    , selected_(std::move(selected))
    , exists_(std::move(exists))
{
    std::uint64_t before = 0;
    for (const RowRange &range : selected_) {
        selectedBefore_.push_back(before);
        before += std::uint64_t(range.last - range.first + 1);
    }
}

std::uint64_t RenamePreview::numberOf(int row) const
{
    const auto range = std::upper_bound(selected_.begin(), selected_.end(), row,
                                        [](int r, const RowRange &range) { return r < range.first; });
    if (range == selected_.begin() || (range - 1)->last < row)
        return 0;
    const std::size_t at = std::size_t(range - selected_.begin() - 1);
    return selectedBefore_[at] + std::uint64_t(row - selected_[at].first) + 1;
}

// The names come from the plan a click would make, so the preview numbers and
// names the rows exactly as the click does.
void RenamePreview::claimNames()
{
    claimed_ = true;
    const std::vector<int> rows = rowsOf(selected_);
    const std::vector<RenameRequest> plan = planRenames(mode_, texts_, names_, rows);
    for (std::size_t i = 0; i < plan.size(); ++i) {
        firstClaim_.emplace(plan[i].to, rows[i]);
        leaving_.emplace(plan[i].from, rows[i]);
    }
}

std::optional<Preview> RenamePreview::forRow(int row)
{
    Preview preview;
    preview.number = numberOf(row);
    if (preview.number == 0)
        return std::nullopt;
    const NameBytes &name = names_[std::size_t(row)];
    preview.newName = BuildNewName(mode_, name, texts_.newText, texts_.findText, texts_.replacement, preview.number);
    if (preview.newName == name) {
        preview.verdict = PreviewVerdict::Unchanged;
        return preview;
    }
    if (!isPlainFileName(preview.newName)) {
        preview.verdict = PreviewVerdict::NotAllowed;
        return preview;
    }
    if (!claimed_)
        claimNames();
    const int first = firstClaim_.at(preview.newName);
    if (first != row) {
        preview.verdict = PreviewVerdict::Collides;
        preview.firstRow = first;
        return preview;
    }
    // A name on disk that a selected row above gives up first is free by then.
    const auto leaver = leaving_.find(preview.newName);
    const bool freedAbove = leaver != leaving_.end() && leaver->second < row;
    if (!freedAbove && exists_(preview.newName))
        preview.verdict = PreviewVerdict::Taken;
    return preview;
}

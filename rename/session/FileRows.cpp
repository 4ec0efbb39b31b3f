// SPDX-License-Identifier: GPL-3.0-or-later

#include "FileRows.h"

#include <algorithm>

namespace {

// `rows` moved into the places `to` gives them, for names and inode numbers alike.
template <class T> void place(std::vector<T> &rows, const std::vector<std::size_t> &to)
{
    if (rows.empty())
        return;
    std::vector<T> placed(rows.size());
    for (std::size_t row = 0; row < to.size(); ++row)
        placed[to[row]] = std::move(rows[row]);
    rows = std::move(placed);
}

// Where each place of `order` takes its row from, turned into where each row goes.
std::vector<std::size_t> inverse(const std::vector<std::size_t> &order)
{
    std::vector<std::size_t> to(order.size());
    for (std::size_t at = 0; at < order.size(); ++at)
        to[order[at]] = at;
    return to;
}

} // namespace

void FileRows::show(FolderListing listing)
{
    names_ = std::move(listing.names);
    inodes_ = std::move(listing.inodes);
    folder_ = std::move(listing.folder);
    listedAt_.clear();
    sort();
    selection_.clear();
    ++generation_;
}

bool FileRows::setSelection(std::vector<RowRange> merged)
{
    const auto same = [](const RowRange &x, const RowRange &y) { return x.first == y.first && x.last == y.last; };
    if (std::equal(merged.begin(), merged.end(), selection_.begin(), selection_.end(), same))
        return false;
    selection_ = std::move(merged);
    return true;
}

bool FileRows::setOrder(RowOrder order)
{
    if (order == order_)
        return false;
    std::vector<std::size_t> selectedFiles; // by their place in the listing
    for (int row : rowsOf(selection_))
        selectedFiles.push_back(listedAt_.empty() ? std::size_t(row) : listedAt_[std::size_t(row)]);
    order_ = order;
    sort();
    ++generation_;
    std::vector<RowRange> selected;
    selected.reserve(selectedFiles.size());
    const std::vector<std::size_t> rowOf = listedAt_.empty() ? std::vector<std::size_t>() : inverse(listedAt_);
    for (std::size_t file : selectedFiles) {
        const int row = int(rowOf.empty() ? file : rowOf[file]);
        selected.push_back({row, row});
    }
    selection_ = mergeRanges(std::move(selected));
    return true;
}

// Back to the listing's order, then into the chosen one.
void FileRows::sort()
{
    if (!listedAt_.empty()) {
        place(names_, listedAt_);
        place(inodes_, listedAt_);
        listedAt_.clear();
    }
    if (order_ == RowOrder::FileSystem)
        return;
    const std::vector<std::int64_t> times = order_ == RowOrder::Modified && folder_
                                                ? lister_.modificationTimes(*folder_, names_)
                                                : std::vector<std::int64_t>(names_.size());
    listedAt_ = rowsInOrder(names_, order_, times);
    const std::vector<std::size_t> to = inverse(listedAt_);
    place(names_, to);
    place(inodes_, to);
}

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "FolderLister.h"
#include "RowOrder.h"
#include "RowRanges.h"

#include <memory>

// The listed files as the list shows them: in the chosen order, with the
// selected rows. Each file is held once, in the order shown.
class FileRows {
public:
    explicit FileRows(FolderLister &lister)
        : lister_(lister)
    {
    }

    // New rows in the chosen order, none selected.
    void show(FolderListing listing);
    const std::vector<NameBytes> &names() const { return names_; }
    // Each row's inode number; empty where they are unknown.
    const std::vector<std::uint64_t> &inodes() const { return inodes_; }
    // The folder the rows were read from; none where it could not be read.
    const std::shared_ptr<FolderHandle> &folder() const { return folder_; }
    // Changes whenever the names or their places do.
    std::uint64_t generation() const { return generation_; }

    // False where the selection is already so.
    bool setSelection(std::vector<RowRange> merged);
    const std::vector<RowRange> &selection() const { return selection_; }

    // Shows the rows in another order, the selected files still selected;
    // false where it is already shown. The order holds for every listing after it.
    bool setOrder(RowOrder order);
    RowOrder order() const { return order_; }

private:
    void sort();

    FolderLister &lister_;
    std::vector<NameBytes> names_;
    std::vector<std::uint64_t> inodes_;
    // Each row's place in the listing, while another order than the file
    // system's is shown.
    std::vector<std::size_t> listedAt_;
    RowOrder order_ = RowOrder::FileSystem;
    std::shared_ptr<FolderHandle> folder_;
    std::vector<RowRange> selection_;
    std::uint64_t generation_ = 0;
};

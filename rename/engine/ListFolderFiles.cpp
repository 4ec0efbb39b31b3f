// SPDX-License-Identifier: GPL-3.0-or-later

#include "ListFolderFiles.h"

std::optional<FolderListing> ListFolderFiles(FolderLister &lister, const NameBytes &folder)
{
    if (folder.empty())
        return std::nullopt;
    return lister.listFiles(folder);
}

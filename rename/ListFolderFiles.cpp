#include "ListFolderFiles.h"

std::optional<FolderListing> ListFolderFiles(FolderLister &lister, const QString &folderText)
{
    if (folderText.isEmpty())
        return std::nullopt;
    return lister.listFiles(toNativeName(folderText));
}

#include "ListFolderFiles.h"

std::optional<std::vector<NameBytes>> ListFolderFiles(FolderLister &lister, const QString &folderText)
{
    if (folderText.isEmpty())
        return std::nullopt;
    return lister.listFiles(toNativeName(folderText));
}

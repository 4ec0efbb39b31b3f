#pragma once

#include "FolderLister.h"

#include <QString>

// The files of the folder named by the folder field's text, in enumeration order.
std::optional<FolderListing> ListFolderFiles(FolderLister &lister, const QString &folderText);

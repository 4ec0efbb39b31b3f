// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "FolderLister.h"

// The files of the folder the folder field names, in enumeration order.
std::optional<FolderListing> ListFolderFiles(FolderLister &lister, const NameBytes &folder);

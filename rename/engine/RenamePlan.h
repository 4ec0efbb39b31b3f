// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "BuildNewName.h"
#include "FileRenamer.h"

#include <vector>

// What the user typed for one rename click, as file-name bytes.
struct NamingTexts {
    NameBytes newText;
    NameBytes findText;
    NameBytes replacement;
};

// One request per selected row, top to bottom; the n-th selected row gets counter n.
std::vector<RenameRequest> planRenames(NamingMode mode, const NamingTexts &texts, const std::vector<NameBytes> &names,
                                       const std::vector<int> &selectedRows);

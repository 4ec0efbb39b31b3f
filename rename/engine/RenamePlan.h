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

// The running numbers of 替换原文件名: the first, the step between two, and
// the least digits, or 0 for as many as the last number has. The defaults
// number 1, 2, 3 …
struct Numbering {
    std::uint64_t start = 1;
    std::uint64_t step = 1;
    int width = 1;
};

// Everything that decides the new names.
struct Naming {
    NamingMode mode = NamingMode::InsertBefore;
    NamingTexts texts;
    Numbering numbering;
};

// The name one file gets. A GB18030 name gets the texts in GB18030 and is
// matched by whole characters, and a character it cuts short at its end keeps
// its bytes; where a text has no GB18030 form, or the mode would write into or
// after such a cut character, the new name is empty and so not allowed.
NameBytes newNameOf(NamingMode mode, const NamingTexts &texts, const NameBytes &name, std::uint64_t counter,
                    int width = 1);

// One request per selected row, top to bottom, numbered as `numbering` says.
std::vector<RenameRequest> planRenames(NamingMode mode, const NamingTexts &texts, const std::vector<NameBytes> &names,
                                       const std::vector<int> &selectedRows, const Numbering &numbering = {});

// SPDX-License-Identifier: GPL-3.0-or-later

#include "RenamePlan.h"

std::vector<RenameRequest> planRenames(NamingMode mode, const NamingTexts &texts, const std::vector<NameBytes> &names,
                                       const std::vector<int> &selectedRows)
{
    std::vector<RenameRequest> requests;
    requests.reserve(selectedRows.size());
    std::uint64_t counter = 0;
    for (int row : selectedRows) {
        const NameBytes &name = names.at(static_cast<std::size_t>(row));
        requests.push_back(
            {name, BuildNewName(mode, name, texts.newText, texts.findText, texts.replacement, ++counter)});
    }
    return requests;
}

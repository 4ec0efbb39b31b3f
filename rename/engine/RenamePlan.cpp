// SPDX-License-Identifier: GPL-3.0-or-later

#include "RenamePlan.h"

NameBytes newNameOf(NamingMode mode, const NamingTexts &texts, const NameBytes &name, std::uint64_t counter)
{
    if (nameEncoding(name) != NameEncoding::Gb18030)
        return BuildNewName(mode, name, texts.newText, texts.findText, texts.replacement, counter);
    // The rule runs on the name's characters, in the texts' own encoding, so
    // that no character is cut; the new name is then written as the old one was.
    const std::string readable = decodeName(name, NameEncoding::Gb18030).toStdString();
    const std::string built = BuildNewName(mode, readable, texts.newText, texts.findText, texts.replacement, counter);
    if (built == readable)
        return name;
    return encodeName(QString::fromStdString(built), NameEncoding::Gb18030).value_or(NameBytes());
}

std::vector<RenameRequest> planRenames(NamingMode mode, const NamingTexts &texts, const std::vector<NameBytes> &names,
                                       const std::vector<int> &selectedRows)
{
    std::vector<RenameRequest> requests;
    requests.reserve(selectedRows.size());
    std::uint64_t counter = 0;
    for (int row : selectedRows) {
        const NameBytes &name = names.at(static_cast<std::size_t>(row));
        requests.push_back({name, newNameOf(mode, texts, name, ++counter)});
    }
    return requests;
}

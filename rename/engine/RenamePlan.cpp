// SPDX-License-Identifier: GPL-3.0-or-later

#include "RenamePlan.h"

namespace {

// Whether the find text's bytes meet the bytes of a cut-short character at the
// end of `name`, which begins at `tail`.
bool findsInCutTail(const NameBytes &name, std::size_t tail, const NameBytes &find)
{
    return !find.empty() && name.find(find, tail >= find.size() ? tail - find.size() + 1 : 0) != NameBytes::npos;
}

} // namespace

NameBytes newNameOf(NamingMode mode, const NamingTexts &texts, const NameBytes &name, std::uint64_t counter, int width)
{
    const std::optional<Gb18030Reading> reading
        = QByteArrayView(name.data(), qsizetype(name.size())).isValidUtf8() ? std::nullopt : readGb18030(name);
    if (!reading)
        return BuildNewName(mode, name, texts.newText, texts.findText, texts.replacement, counter, width);
    // The rule runs on the name's characters, in the texts' own encoding, so
    // that no character is cut; the new name is then written as the old one was.
    const std::string readable = reading->text.toStdString();
    const std::string built
        = BuildNewName(mode, readable, texts.newText, texts.findText, texts.replacement, counter, width);
    if (built == readable)
        return name;
    // A character cut short at the end stays as its bytes, after the rest:
    // where the mode would write after it or into it, the name is not built.
    const NameBytes &tail = reading->cutTail;
    const bool hasExtension = readable.find('.') != std::string::npos;
    NameBytes keptTail = tail;
    if (!tail.empty()) {
        if (mode == NamingMode::InsertAfter && !hasExtension)
            return {};
        if (mode == NamingMode::ReplaceCharacters
            && findsInCutTail(name, name.size() - tail.size(),
                              encodeName(QString::fromStdString(texts.findText), NameEncoding::Gb18030).value_or("")))
            return {};
        if (mode == NamingMode::ReplaceWithNumber && !hasExtension)
            keptTail.clear();
    }
    const std::optional<NameBytes> written = encodeName(QString::fromStdString(built), NameEncoding::Gb18030);
    if (!written)
        return {};
    // Used only where it reads back as built, byte for byte.
    const NameBytes out = *written + keptTail;
    const std::optional<Gb18030Reading> back = readGb18030(out);
    if (!back || back->text != QString::fromStdString(built) || back->cutTail != keptTail)
        return {};
    return out;
}

std::vector<RenameRequest> planRenames(NamingMode mode, const NamingTexts &texts, const std::vector<NameBytes> &names,
                                       const std::vector<int> &selectedRows, const Numbering &numbering)
{
    std::vector<RenameRequest> requests;
    requests.reserve(selectedRows.size());
    const std::uint64_t last
        = selectedRows.empty() ? numbering.start : numbering.start + numbering.step * (selectedRows.size() - 1);
    const int width = numbering.width > 0 ? numbering.width : int(std::to_string(last).size());
    std::uint64_t counter = numbering.start;
    for (int row : selectedRows) {
        const NameBytes &name = names.at(static_cast<std::size_t>(row));
        requests.push_back({name, newNameOf(mode, texts, name, counter, width)});
        counter += numbering.step;
    }
    return requests;
}

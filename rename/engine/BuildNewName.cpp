// SPDX-License-Identifier: GPL-3.0-or-later

#include "BuildNewName.h"

SplitName splitAtLastDot(std::string_view name)
{
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return {name, {}};
    return {name.substr(0, dot), name.substr(dot)};
}

namespace {

std::string join(std::string_view a, std::string_view b, std::string_view c = {})
{
    std::string out;
    out.reserve(a.size() + b.size() + c.size());
    out.append(a).append(b).append(c);
    return out;
}

// Left to right, without overlapping matches; an empty find text matches nothing.
std::string replaceAll(std::string_view name, std::string_view find, std::string_view replacement)
{
    if (find.empty())
        return std::string(name);
    std::string out;
    std::size_t from = 0;
    for (std::size_t at = name.find(find); at != std::string_view::npos; at = name.find(find, from)) {
        out.append(name.substr(from, at - from)).append(replacement);
        from = at + find.size();
    }
    out.append(name.substr(from));
    return out;
}

} // namespace

std::string BuildNewName(NamingMode mode, std::string_view name, std::string_view newText, std::string_view findText,
                         std::string_view replacement, std::uint64_t counter, int width)
{
    const SplitName split = splitAtLastDot(name);
    switch (mode) {
    case NamingMode::InsertBefore:
        return join(newText, name);
    case NamingMode::InsertAfter:
        return join(split.base, newText, split.extension);
    case NamingMode::ReplaceWithNumber: {
        std::string number = std::to_string(counter);
        if (int(number.size()) < width)
            number.insert(0, std::size_t(width) - number.size(), '0');
        return join(newText, number, split.extension);
    }
    case NamingMode::ReplaceCharacters:
        return replaceAll(name, findText, replacement);
    }
    return std::string(name);
}

// SPDX-License-Identifier: GPL-3.0-or-later

#include "RefusedNames.h"

#include <QStringDecoder>
#include <QStringView>
#include <algorithm>
#include <string>

namespace {

constexpr std::size_t longestName = 255; // in UTF-16 units

bool isDeviceName(std::string_view name)
{
    // What comes before the first dot, less trailing spaces, names the device.
    std::string_view stem = name.substr(0, name.find('.'));
    while (!stem.empty() && stem.back() == ' ')
        stem.remove_suffix(1);
    if (stem.size() != 3 && stem.size() != 4)
        return false;
    std::string upper(stem);
    for (char &c : upper)
        c = c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
    if (upper.size() == 4)
        return (upper.compare(0, 3, "COM") == 0 || upper.compare(0, 3, "LPT") == 0) && upper[3] >= '1'
               && upper[3] <= '9';
    return upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL";
}

std::size_t utf16Length(std::string_view name)
{
    // Bytes that are no UTF-8 count one unit each, as the driver's fallback spells them.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(QByteArrayView(name.data(), qsizetype(name.size())));
    return std::size_t(text.size());
}

} // namespace

Refusal refusalOf(NameRules rules, std::string_view name)
{
    if (rules == NameRules::Posix || name.empty())
        return Refusal::None;
    constexpr std::string_view refused = "\"*:<>?\\|";
    if (std::any_of(name.begin(), name.end(),
                    [&](char c) { return (unsigned char)c < 0x20 || refused.find(c) != std::string_view::npos; }))
        return Refusal::Character;
    if (name.back() == ' ' || name.back() == '.')
        return Refusal::Ending;
    if (isDeviceName(name))
        return Refusal::Reserved;
    if (name.size() > longestName && utf16Length(name) > longestName)
        return Refusal::TooLong;
    return Refusal::None;
}

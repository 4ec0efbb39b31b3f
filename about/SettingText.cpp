// SPDX-License-Identifier: GPL-3.0-or-later

#include "SettingText.h"

#include "Twips.h"

#include <cctype>
#include <cstdlib>
#include <limits>
#include <sstream>

namespace {

std::string withoutBlanks(std::string_view text)
{
    std::string out;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n')
            out.push_back(c);
    return out;
}

bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// Length of the longest prefix that forms a decimal number, or 0.
std::size_t numberLength(const std::string &s)
{
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    std::size_t digits = 0;
    for (; i < s.size() && isDigit(s[i]); ++i)
        ++digits;
    if (i < s.size() && s[i] == '.')
        for (++i; i < s.size() && isDigit(s[i]); ++i)
            ++digits;
    if (digits == 0)
        return 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        if (j < s.size() && isDigit(s[j])) {
            while (j < s.size() && isDigit(s[j]))
                ++j;
            i = j;
        }
    }
    return i;
}

} // namespace

double parseSettingNumber(std::string_view text)
{
    const std::string compact = withoutBlanks(text);
    const std::size_t length = numberLength(compact);
    if (length == 0)
        return 0;
    return std::strtod(compact.substr(0, length).c_str(), nullptr);
}

std::optional<std::int16_t> settingToInt16(std::string_view text)
{
    const double value = parseSettingNumber(text);
    if (!(value >= -32768.5 && value <= 32767.5))
        return std::nullopt;
    const long long rounded = roundHalfEven(value);
    if (rounded < std::numeric_limits<std::int16_t>::min() || rounded > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

std::string formatSettingNumber(double value)
{
    std::ostringstream out;
    out.precision(15);
    out << value;
    return value >= 0 ? " " + out.str() : out.str();
}

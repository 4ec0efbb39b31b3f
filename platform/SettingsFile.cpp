// SPDX-License-Identifier: GPL-3.0-or-later

#include "SettingsFile.h"

#include <sstream>

namespace {

std::string trimmed(const std::string &text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

} // namespace

std::map<std::string, std::string> parseSettingsFile(const std::string &text)
{
    std::map<std::string, std::string> entries;
    std::istringstream lines(text);
    std::string line;
    std::string section;
    while (std::getline(lines, line)) {
        while (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string bare = trimmed(line);
        if (bare.empty() || bare[0] == ';' || bare[0] == '#')
            continue;
        if (bare.front() == '[' && bare.back() == ']') {
            section = bare.substr(1, bare.size() - 2);
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        std::string value = line.substr(equals + 1);
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        const std::string key = trimmed(line.substr(0, equals));
        // Not a key: it could not be written back as the same key.
        if (key.find('/') != std::string::npos || (!key.empty() && (key[0] == ';' || key[0] == '#' || key[0] == '[')))
            continue;
        entries[section.empty() || section == "General" ? key : section + "/" + key] = value;
    }
    return entries;
}

std::string formatSettingsFile(const std::map<std::string, std::string> &entries)
{
    std::map<std::string, std::map<std::string, std::string>> sections;
    for (const auto &[path, value] : entries) {
        const auto slash = path.rfind('/');
        const std::string section = slash == std::string::npos ? "General" : path.substr(0, slash);
        sections[section][path.substr(slash == std::string::npos ? 0 : slash + 1)] = value;
    }
    std::string out;
    for (const auto &[section, values] : sections) {
        out += "[" + section + "]\n";
        for (const auto &[key, value] : values) {
            // Quoted where the reader would take something off: a pair of quotes of
            // its own, or a carriage return at its end.
            const bool quoted = (value.size() >= 2 && value.front() == '"' && value.back() == '"')
                                || (!value.empty() && value.back() == '\r');
            out += key + "=" + (quoted ? "\"" + value + "\"" : value) + "\n";
        }
        out += "\n";
    }
    return out;
}

// SPDX-License-Identifier: GPL-3.0-or-later

// The settings file as anyone may edit it, and each value as the About window reads it.
#include "SettingText.h"
#include "SettingsFile.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    const std::map<std::string, std::string> entries = parseSettingsFile(text);
    for (const auto &[key, value] : entries) {
        parseSettingNumber(value);
        settingToInt16(value);
    }
    // What is written back reads back the same.
    if (parseSettingsFile(formatSettingsFile(entries)) != entries)
        std::abort();
    return 0;
}

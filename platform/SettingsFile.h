// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <map>
#include <string>

// The settings file: "[Section]" lines open a section, "key=value" lines hold
// a value as the exact text after the "=" (a value wrapped in double quotes,
// as older copies wrote it, is read without them). Keys come back as
// "Section/key". A line whose key holds a "/" or begins as a comment or a
// section would is no key; what is written reads back the same.
std::map<std::string, std::string> parseSettingsFile(const std::string &text);
std::string formatSettingsFile(const std::map<std::string, std::string> &entries);

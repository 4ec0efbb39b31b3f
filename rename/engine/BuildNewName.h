// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The four naming modes, in the order of the options in the window.
enum class NamingMode { InsertBefore, InsertAfter, ReplaceWithNumber, ReplaceCharacters };

// A file name split at its last "."; a name without "." has no extension.
struct SplitName {
    std::string_view base;
    std::string_view extension; // "." and what follows, or empty
};
SplitName splitAtLastDot(std::string_view name);

// The new name of one file. `counter` is the file's running number (its
// place among the selected rows, from 1, unless numbered otherwise), written
// with at least `width` digits, zeros in front. All texts are the bytes of
// file names, compared exactly.
std::string BuildNewName(NamingMode mode, std::string_view name, std::string_view newText, std::string_view findText,
                         std::string_view replacement, std::uint64_t counter, int width = 1);

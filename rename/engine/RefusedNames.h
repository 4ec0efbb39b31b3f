// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "FolderHandle.h"

#include <string_view>

// Why a file system that takes only Windows names refuses a new name.
enum class Refusal {
    None,
    Character, // a control character or one of "*:<>?\|
    Ending,    // a space or a dot at the end
    Reserved,  // a device name such as CON or NUL, with or without an extension
    TooLong,   // more than 255 UTF-16 units
};

// Asked of new names only: a name the folder already holds is the folder's own.
// A FAT driver may drop a file on a rename it refuses, so these are never tried.
Refusal refusalOf(NameRules rules, std::string_view name);

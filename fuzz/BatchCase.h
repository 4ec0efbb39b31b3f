// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "posix/PosixCalls.h"

#include <optional>
#include <string>
#include <string_view>

// What the batch cases run so far have covered.
struct BatchCaseCount {
    int clicked = 0;         // cases that reached the click
    std::size_t rows = 0;    // rows whose prediction was compared with the click
    int asked = 0;           // clicks that asked whether to free names first
    std::size_t stopped = 0; // rows not tried, the batch stopped before them
};

// Makes one small folder at `folder` (which must not exist) from `bytes`: its
// files and other entries, the rows listed and their order, files that go or
// turn into folders after the listing, the selection, the naming mode and the
// texts; names come from a few that meet each other in chains and
// collisions. Then lists, predicts, clicks and undoes as the rename window
// does. Returns what went wrong: a prediction the click did not keep, a file
// lost or overwritten, or a folder that undo did not bring back. The renames
// go through `calls`; where they make the folder ignore case
// (`ignoresCase`), no two names that differ in case only are made.
std::optional<std::string> runBatchCase(const std::string &folder, std::string_view bytes, BatchCaseCount &count,
                                        PosixCalls &calls, bool ignoresCase);

// Removes a folder the case made, with everything in it.
void removeBatchCase(const std::string &folder);

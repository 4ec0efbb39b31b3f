// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "../FileRenamer.h"
#include "PosixCalls.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

// What the renames of one batch learn about their folder, so that a folder of
// 100,000 files pays for a refused way once, not once a file.
struct FolderWays {
    bool flagRefused = false; // renameat2 cannot refuse to replace here
    bool linkRefused = false; // hard links are refused here
    // A fallback left the new name holding something else than the file moved
    // onto it; no more fallback renames in this batch.
    bool fallbackDamaged = false;
    std::optional<bool> keepsInodes; // inode numbers survive a rename here; asked when first needed
    // The folder's entry names by their case-folded form; read when first needed.
    std::optional<std::unordered_map<std::string, std::vector<NameBytes>>> byFoldedName;
    // Told of each fallback step before it is taken; on false it is not taken.
    // With how the source looked, where the step looked at it.
    std::function<bool(FallbackStep step, const NameBytes &made, const NameBytes &source, const FileLook &look)> intend;
};

// Renames `from` to `to` inside the folder open as dirFd and never replaces an
// existing entry: with RENAME_NOREPLACE where the file system has it, else
// through a hard link, else by first claiming the new name with an empty
// placeholder of our own. After either fallback the new name must hold the
// file (its size, and its inode where inodes are kept), or the row is NotKept
// and the fallbacks stop for the batch. With `throughTemporaryName` (a
// change of letter case only, on a file system that ignores case) the file
// goes through a temporary name: `temporary`, else a random one. Whatever
// fails, the file keeps its old or gets its new name, never both, never neither.
RenameOutcome renameNoOverwrite(PosixCalls &sys, int dirFd, const NameBytes &from, const NameBytes &to,
                                FolderWays &ways, bool throughTemporaryName = false, const NameBytes &temporary = {});

// Mends what the steps of one stopped rename left, newest step first: our
// placeholder and our extra link go, a file under our temporary name gets its
// own name back. Only what is still exactly as the step left it is touched.
void recoverInterrupted(PosixCalls &sys, int dirFd, const std::vector<FallbackIntent> &steps);

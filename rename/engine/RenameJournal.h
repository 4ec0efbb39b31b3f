// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "FileRenamer.h"
#include "FolderHandle.h"

#include <string>
#include <string_view>
#include <variant>
#include <vector>

// The journal of one rename batch, as text that carries any byte in a name:
// a version line, the folder's absolute path and identity, every planned pair
// (each name preceded by its length, and the file's inode number), and a count line that closes the plan
// with a checksum of it; then blocks of marks, one for each pair as it is
// renamed, and a closing line once every mark is in, each block sealed by its
// own checksum. A checksum catches damage, so that a damaged journal renames
// nothing; it is no defence against someone who rewrites the file on purpose.
constexpr int journalVersion = 3;

struct Journal {
    NameBytes folder;
    FolderIdentity folderIdentity;
    std::vector<RenameRequest> pairs;
    std::vector<bool> done;
    bool closed = false; // every pair that was renamed is marked
};

enum class JournalProblem {
    CutShort,     // the plan ends before its count line
    Unreadable,   // not a journal, damaged, or from an older Quillbox
    NewerVersion, // written by a newer Quillbox
};

std::string journalPlan(const NameBytes &folder, const FolderIdentity &identity,
                        const std::vector<RenameRequest> &pairs);
std::string journalMark(std::size_t index);
constexpr std::string_view journalClosing = "E\n";
// Seals marks (and the closing line) into a block; marks count once sealed.
std::string journalBlock(const std::string &marks);

// A journal cut inside its marks reads as a batch that stopped at its last
// sealed block, the way a crash leaves it; a cut inside the plan is a problem.
std::variant<Journal, JournalProblem> parseJournal(std::string_view text);

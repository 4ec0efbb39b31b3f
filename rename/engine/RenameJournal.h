// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "FileRenamer.h"
#include "FolderHandle.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// The journal of one rename batch, as text that carries any byte in a name:
// a version line, the folder's absolute path and identity with the time the
// plan was written and the first number of its temporary names, every planned
// pair (each name preceded by its length, and the file's inode number), and a
// count line that closes the plan with a checksum of it; then blocks of marks,
// one for each pair as it is renamed, a record before each fallback step (what
// it is about to make, and how the file it moves looks), and a closing line
// once every mark is in, each block sealed by its own checksum. A checksum
// catches damage, so that a damaged journal renames nothing; it is no defence
// against someone who rewrites the file on purpose.
constexpr int journalVersion = 5;

struct Journal {
    int version = journalVersion;
    NameBytes folder;
    FolderIdentity folderIdentity;
    // When the plan was written, in nanoseconds since the epoch: every file of
    // the batch was there by then. 0 where unknown.
    std::int64_t writtenAt = 0;
    // A change of case through a temporary name takes the one numbered this
    // plus the pair's index, so that the plan names it before it is taken.
    std::optional<std::uint64_t> temporaries;
    std::vector<RenameRequest> pairs;
    std::vector<bool> done;
    bool closed = false; // every pair that was renamed is marked
    // The fallback steps of the last request begun after the last closing
    // line, newest first: a program that stopped may have left them half taken.
    std::vector<FallbackIntent> interrupted;
};

enum class JournalProblem {
    CutShort,     // the plan ends before its count line
    Unreadable,   // not a journal, damaged, or from an older Quillbox
    NewerVersion, // written by a newer Quillbox
};

std::string journalPlan(const NameBytes &folder, const FolderIdentity &identity,
                        const std::vector<RenameRequest> &pairs, std::int64_t writtenAt = 0,
                        std::uint64_t temporaries = 0);
std::string journalMark(std::size_t index);
std::string journalIntent(const FallbackIntent &step);
constexpr std::string_view journalClosing = "E\n";
// Appended once a start has mended what a stopped batch left: the marks may
// still be incomplete, but nothing is left half taken.
constexpr std::string_view journalMended = "R\n";
// Seals marks (and the closing line) into a block; marks count once sealed.
std::string journalBlock(const std::string &marks);
// The marks still pending, then the closing line in a block of its own.
std::string journalClosingBlocks(const std::string &marks);

// Whether the journal may end inside a batch or an undo, looking at its last
// `journalClosingSpan` bytes alone; a journal that ends closed was not stopped
// part-way, and one that ends mended has nothing left to mend.
constexpr std::size_t journalClosingSpan = 64;
bool journalMayBeInterrupted(std::string_view text);

// A journal cut inside its marks reads as a batch that stopped at its last
// sealed block, the way a crash leaves it; a cut inside the plan is a problem.
std::variant<Journal, JournalProblem> parseJournal(std::string_view text);

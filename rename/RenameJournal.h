// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "FileRenamer.h"

#include <string>
#include <string_view>
#include <variant>
#include <vector>

// The journal of one rename batch, as text that carries any byte in a name:
// a version line, the folder and every planned pair (each name preceded by its
// length), and a count line that closes the plan; then a mark for each pair as
// it is renamed, and a closing line once every mark is in.
constexpr int journalVersion = 1;

struct Journal {
    NameBytes folder;
    std::vector<RenameRequest> pairs;
    std::vector<bool> done;
    bool closed = false; // every pair that was renamed is marked
};

enum class JournalProblem {
    CutShort,     // the plan ends before its count line
    Unreadable,   // not a journal, or damaged
    NewerVersion, // written by a newer Quillbox
};

std::string journalPlan(const NameBytes &folder, const std::vector<RenameRequest> &pairs);
std::string journalMark(std::size_t index);
constexpr std::string_view journalClosing = "E\n";

// A journal cut inside its marks reads as a batch that stopped there, the
// way a crash leaves it; a cut inside the plan is a problem.
std::variant<Journal, JournalProblem> parseJournal(std::string_view text);

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "FolderHandle.h"
#include "NativeNames.h"

#include <cerrno>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

// What tells a file from another where inode numbers do not: its size and
// when its content last changed, which a rename keeps.
// How far apart two readings of one file's time may be: FAT keeps times to 2 s.
constexpr std::int64_t fileTimeSlack = 2'000'000'000;

struct FileLook {
    std::int64_t size = -1;    // -1: not looked at
    std::int64_t modified = 0; // nanoseconds since the epoch
    bool known() const { return size >= 0; }
};

struct RenameRequest {
    NameBytes from;
    NameBytes to;
    // The inode number of the file meant, where known; else 0.
    std::uint64_t inode = 0;
    // How the file meant looked, where its inode number is not known and a
    // fallback step looked at it.
    FileLook look = {};
};

enum class RenameStatus {
    Renamed,    // the file carries the new name (also when it already did)
    Taken,      // another entry has the new name; nothing changed
    NotAllowed, // a name that leaves the folder, or an entry that is not a plain file
    Failed,     // the file system refused; `error` says why
    NotKept,    // moved to the new name, which then did not hold the file as it was
    Replaced,   // another file than the one meant has the old name; nothing changed
};

// The error of a rename not tried: an earlier one in the batch was not kept
// (see NotKept), or the person stopped the batch.
constexpr int notTried = ECANCELED;

struct RenameOutcome {
    RenameStatus status;
    int error = 0;
    bool operator==(const RenameOutcome &other) const { return status == other.status && error == other.error; }
    // Whether the file now carries the new name.
    bool moved() const { return status == RenameStatus::Renamed || status == RenameStatus::NotKept; }
};

inline bool isNotTried(const RenameOutcome &outcome)
{
    return outcome.status == RenameStatus::Failed && outcome.error == notTried;
}

// A step of the no-overwrite fallback that leaves something of ours in the
// folder if the program stops inside it. The journal is told of it before it
// is taken, so that the next start can finish or roll it back.
enum class FallbackStep {
    ExtraLink,   // `made` is linked to `source`, which is then unlinked
    Placeholder, // `made` is created empty, then `source` is moved over it
    Temporary,   // `source` is moved to the temporary name `made` and on to its new name
};

struct FallbackIntent {
    std::size_t request; // the index of the request's pair in the journal
    FallbackStep step;
    NameBytes made;
    NameBytes source;
    // How the file looked as the step was recorded, where it was looked at.
    FileLook look = {};
    // Where the step is inferred, not recorded: a placeholder was made at or
    // after this time (nanoseconds since the epoch), and is not the file the
    // pair moves, whose inode number this is where known; 0 where recorded.
    std::int64_t madeAfter = 0;
    std::uint64_t fileInode = 0;
};

// How one rename the batch engine has decided on is taken.
struct MoveOrder {
    // A change of letter case only, on a folder that ignores case: through a
    // temporary name, since the new spelling finds the file itself: this
    // one where the journal's plan names it, else one of the renamer's.
    bool throughTemporary = false;
    // Only while the old name is still the file meant, by the request's inode
    // number or look where known, and born by `bornBy`; another entry there
    // is left alone (Replaced).
    bool sameFileOnly = false;
    std::int64_t bornBy = 0; // nanoseconds since the epoch; 0 where unknown
    NameBytes temporary = {};
};

// The renames of one batch or undo inside one folder, taken one at a time as
// the engine asks, with what the folder taught the earlier ones. An existing
// entry is never replaced and a file never copied: a request that fails
// leaves the file under its old name.
class FolderMoves {
public:
    virtual ~FolderMoves() = default;
    // `index` is the request's place in its batch, for the journal's records.
    virtual RenameOutcome move(std::size_t index, const RenameRequest &request, MoveOrder order) = 0;
};

// The file system calls of renaming: opening a folder, reading it, and moving
// names as the engine decides, each with what happened.
class FileRenamer {
public:
    // Told of each fallback step before it is taken; on false the step is not
    // taken and its request fails.
    using Intend = std::function<bool(const FallbackIntent &step)>;

    virtual ~FileRenamer() = default;
    // Opens a folder by its path; nothing when it cannot be opened.
    virtual std::shared_ptr<FolderHandle> openFolder(const NameBytes &path) = 0;
    virtual std::unique_ptr<FolderMoves> movesIn(const FolderHandle &folder, const Intend &intend = {}) = 0;
    // Finishes or rolls back the fallback steps of one request that a stopped
    // program left half taken, given newest first. A renamer that takes no
    // fallback steps has none to mend.
    virtual void recoverInterrupted(const FolderHandle &, const std::vector<FallbackIntent> &) {}
    // Told of each entry of a folder, and whether a rename takes it: a plain
    // file or a link to one.
    using TakeEntry = std::function<void(std::string_view name, bool file)>;
    // Which new names the folder's file system takes.
    virtual NameRules nameRulesIn(const FolderHandle &) { return NameRules::Posix; }
    // Tells of every entry of the folder now; false when it cannot be read.
    virtual bool readFolder(const FolderHandle &folder, const TakeEntry &take) = 0;
    // How the file under each name looks now; unknown for a name not there.
    // The inode number of the entry `name`; 0 where there is none or it is not known.
    virtual std::uint64_t inodeOf(const FolderHandle &, const NameBytes &) { return 0; }
    // Whether the entry `name` is found under `otherSpelling` too, which is no
    // entry of its own: the folder ignores letter case. Nothing when there is
    // no entry `name`.
    virtual std::optional<bool> findsOtherSpelling(const FolderHandle &folder, const NameBytes &name,
                                                   const NameBytes &otherSpelling)
        = 0;
};

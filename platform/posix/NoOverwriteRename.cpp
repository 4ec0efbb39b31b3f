// SPDX-License-Identifier: GPL-3.0-or-later

#include "NoOverwriteRename.h"

#include <algorithm>
#include <cerrno>

namespace {

constexpr RenameOutcome renamed{RenameStatus::Renamed, 0};
constexpr RenameOutcome taken{RenameStatus::Taken, EEXIST};
RenameOutcome failed(int error) { return {RenameStatus::Failed, error}; }

// The errors of a file system that does not know RENAME_NOREPLACE.
bool refusesFlag(int error) { return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP; }

// Whether two looks agree in all but the inode number.
bool sameLook(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_nlink == b.st_nlink && a.st_size == b.st_size
           && a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec
           && a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

// Whether two looks saw one entry. Some FUSE file systems (rclone) give two
// files one inode number, so all else must agree too.
bool sameEntry(const struct stat &a, const struct stat &b) { return a.st_ino == b.st_ino && sameLook(a, b); }

// Tells the journal what a step is about to make; a step it cannot record is not taken.
bool intended(FolderWays &ways, FallbackStep step, const NameBytes &made, const NameBytes &source,
              const struct stat *looked = nullptr)
{
    const FileLook look = looked ? FileLook{std::int64_t(looked->st_size), modifiedAt(*looked)} : FileLook{};
    return !ways.intend || ways.intend(step, made, source, look);
}

const std::vector<NameBytes> &namesFoldedLike(PosixCalls &sys, int dirFd, const std::string &folded, FolderWays &ways)
{
    if (!ways.byFoldedName) {
        ways.byFoldedName.emplace();
        std::vector<NameBytes> names;
        sys.listNames(dirFd, names);
        for (NameBytes &name : names)
            (*ways.byFoldedName)[foldedName(name)].push_back(std::move(name));
    }
    return (*ways.byFoldedName)[folded];
}

// Whether `to` is free, looked at before a step that will claim it is
// recorded, so that what the record names was made by us. The folder's names,
// read once for the batch, clear most names without a lookup, which on a
// FUSE FAT mount reads through the whole folder.
RenameOutcome checkFree(PosixCalls &sys, int dirFd, const NameBytes &to, FolderWays &ways)
{
    if (namesFoldedLike(sys, dirFd, foldedName(to), ways).empty())
        return renamed;
    struct stat existing {};
    const int err = sys.stat(dirFd, to.c_str(), existing);
    return err == 0 ? taken : err == ENOENT ? renamed : failed(err);
}

// Removes the placeholder we created, but only while it is still ours and empty.
void removePlaceholder(PosixCalls &sys, int dirFd, const NameBytes &name, const struct stat &created)
{
    struct stat now {};
    if (sys.stat(dirFd, name.c_str(), now) == 0 && now.st_dev == created.st_dev && now.st_ino == created.st_ino
        && now.st_size == 0)
        sys.unlink(dirFd, name.c_str());
}

// A fallback is a new path through a file system that was not made for it:
// the new name must hold the very file that was moved, or no more files take that path.
RenameOutcome checkKept(PosixCalls &sys, int dirFd, const NameBytes &to, const struct stat &source, FolderWays &ways)
{
    if (!ways.keepsInodes)
        ways.keepsInodes = sys.keepsInodes(dirFd);
    struct stat now {};
    const bool kept = sys.stat(dirFd, to.c_str(), now) == 0 && (now.st_mode & S_IFMT) == (source.st_mode & S_IFMT)
                      && now.st_size == source.st_size && (!*ways.keepsInodes || now.st_ino == source.st_ino);
    if (kept)
        return renamed;
    ways.fallbackDamaged = true;
    return {RenameStatus::NotKept, 0};
}

RenameOutcome throughPlaceholder(PosixCalls &sys, int dirFd, const NameBytes &from, const NameBytes &to,
                                 FolderWays &ways)
{
    if (const RenameOutcome free = checkFree(sys, dirFd, to, ways); free.status != RenameStatus::Renamed)
        return free;
    // The file as it is moved, looked at before its new name is claimed: a
    // file that is gone leaves no placeholder behind.
    struct stat source {};
    if (const int err = sys.stat(dirFd, from.c_str(), source))
        return failed(err);
    if (!intended(ways, FallbackStep::Placeholder, to, from, &source))
        return failed(EIO);
    struct stat created {};
    int err = sys.createExclusive(dirFd, to.c_str(), created);
    if (err == EEXIST)
        return taken;
    if (err != 0)
        return failed(err);
    // Where the two names fold alike and the file went meanwhile, a file
    // system that ignores case finds the placeholder under the old spelling.
    struct stat now {};
    if (foldedName(from) == foldedName(to)
        && (sys.stat(dirFd, from.c_str(), now) != 0 || sameEntry(now, created) || now.st_size != source.st_size
            || modifiedAt(now) != modifiedAt(source))) {
        removePlaceholder(sys, dirFd, to, created);
        return failed(ENOENT);
    }
    err = sys.renameReplacing(dirFd, from.c_str(), to.c_str());
    if (err == 0)
        return checkKept(sys, dirFd, to, source, ways);
    removePlaceholder(sys, dirFd, to, created);
    return failed(err);
}

RenameOutcome throughLink(PosixCalls &sys, int dirFd, const NameBytes &from, const NameBytes &to, FolderWays &ways)
{
    struct stat source {};
    if (const int err = sys.stat(dirFd, from.c_str(), source))
        return failed(err);
    if (const RenameOutcome free = checkFree(sys, dirFd, to, ways); free.status != RenameStatus::Renamed)
        return free;
    if (!intended(ways, FallbackStep::ExtraLink, to, from, &source))
        return failed(EIO);
    int err = sys.link(dirFd, from.c_str(), to.c_str());
    if (err == EEXIST)
        return taken;
    if (err == ENOENT)
        return failed(err);
    if (err != 0) {
        ways.linkRefused = true;
        return throughPlaceholder(sys, dirFd, from, to, ways);
    }
    err = sys.unlink(dirFd, from.c_str());
    if (err == 0)
        return checkKept(sys, dirFd, to, source, ways);
    sys.unlink(dirFd, to.c_str());
    return failed(err);
}

RenameOutcome moveNoReplace(PosixCalls &sys, int dirFd, const NameBytes &from, const NameBytes &to, FolderWays &ways)
{
    if (!ways.flagRefused) {
        const int err = sys.renameNoReplace(dirFd, from.c_str(), to.c_str());
        if (err == 0)
            return renamed;
        if (err == EEXIST)
            return taken;
        if (!refusesFlag(err))
            return failed(err);
        ways.flagRefused = true;
    }
    if (!ways.linkRefused)
        return throughLink(sys, dirFd, from, to, ways);
    return throughPlaceholder(sys, dirFd, from, to, ways);
}

// FUSE layers keep answering for a just-moved name while their entry cache
// lasts: a second for exFAT, twenty for sshfs by default. Waited out with
// growing pauses, for a bounded time.
constexpr int settleBudgetMs = 25000;

RenameOutcome moveSettled(PosixCalls &sys, int dirFd, const NameBytes &from, const NameBytes &to, FolderWays &ways)
{
    RenameOutcome outcome = moveNoReplace(sys, dirFd, from, to, ways);
    for (int waited = 0, pause = 100; waited < settleBudgetMs && outcome.status == RenameStatus::Taken;
         waited += pause, pause = std::min(pause * 2, 2000)) {
        sys.pause(pause);
        outcome = moveNoReplace(sys, dirFd, from, to, ways);
    }
    return outcome;
}

void noteRenamed(FolderWays &ways, const NameBytes &from, const NameBytes &to)
{
    if (!ways.byFoldedName)
        return;
    std::vector<NameBytes> &before = (*ways.byFoldedName)[foldedName(from)];
    before.erase(std::remove(before.begin(), before.end(), from), before.end());
    (*ways.byFoldedName)[foldedName(to)].push_back(to);
}

RenameOutcome throughTemporary(PosixCalls &sys, int dirFd, const NameBytes &from, const NameBytes &to, FolderWays &ways,
                               const NameBytes &given)
{
    const NameBytes temporary = given.empty() ? temporaryName() : given;
    if (!intended(ways, FallbackStep::Temporary, temporary, from))
        return failed(EIO);
    const RenameOutcome first = moveNoReplace(sys, dirFd, from, temporary, ways);
    if (!first.moved())
        return first;
    // The old spelling is free now; no lookup of the new one has been made
    // that a FUSE entry cache could answer from.
    noteRenamed(ways, from, temporary);
    const RenameOutcome second = moveSettled(sys, dirFd, temporary, to, ways);
    if (second.moved()) {
        noteRenamed(ways, temporary, to);
        return first.status == RenameStatus::NotKept ? first : second;
    }
    if (moveSettled(sys, dirFd, temporary, from, ways).moved())
        noteRenamed(ways, temporary, from);
    return second;
}

} // namespace

RenameOutcome renameNoOverwrite(PosixCalls &sys, int dirFd, const NameBytes &from, const NameBytes &to,
                                FolderWays &ways, bool throughTemporaryName, const NameBytes &temporary)
{
    if (from == to)
        return renamed;
    if (ways.fallbackDamaged)
        return failed(notTried);
    if (throughTemporaryName)
        return throughTemporary(sys, dirFd, from, to, ways, temporary);
    const RenameOutcome outcome = moveNoReplace(sys, dirFd, from, to, ways);
    if (outcome.moved())
        noteRenamed(ways, from, to);
    return outcome;
}

void recoverInterrupted(PosixCalls &sys, int dirFd, const std::vector<FallbackIntent> &steps)
{
    FolderWays ways;
    for (const FallbackIntent &step : steps) {
        struct stat made {};
        struct stat source {};
        if (sys.stat(dirFd, step.made.c_str(), made) != 0)
            continue;
        // A FUSE entry cache may still answer for a name of a file just
        // unlinked under another spelling: a file with no links is gone.
        const bool hasSource = sys.stat(dirFd, step.source.c_str(), source) == 0 && source.st_nlink > 0;
        switch (step.step) {
        case FallbackStep::Placeholder:
            // Still empty and the file not yet moved onto it.
            if (hasSource && !sameEntry(made, source) && S_ISREG(made.st_mode) && made.st_size == 0
                && made.st_nlink == 1 && made.st_ino != step.fileInode && modifiedAt(made) >= step.madeAfter)
                sys.unlink(dirFd, step.made.c_str());
            break;
        case FallbackStep::ExtraLink: {
            // The file under both names: it keeps its old one. Links of one
            // file agree in everything a look shows; a mount that numbers
            // inodes its own way may count them as one link too (sshfs).
            const bool keepsInodes = sys.keepsInodes(dirFd);
            if (hasSource && (keepsInodes ? made.st_nlink > 1 && sameEntry(made, source) : sameLook(made, source)))
                sys.unlink(dirFd, step.made.c_str());
            break;
        }
        case FallbackStep::Temporary:
            if (!hasSource)
                renameNoOverwrite(sys, dirFd, step.made, step.source, ways);
            break;
        }
    }
}

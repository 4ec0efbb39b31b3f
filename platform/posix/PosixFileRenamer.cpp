// SPDX-License-Identifier: GPL-3.0-or-later

#include "PosixFileRenamer.h"

#include "FolderEntries.h"
#include "NoOverwriteRename.h"
#include "PosixFolderHandle.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace {

class PosixFolderMoves : public FolderMoves {
public:
    PosixFolderMoves(PosixCalls &calls, int dirFd, const FileRenamer::Intend &intend)
        : calls_(calls)
        , dirFd_(dirFd)
    {
        if (intend)
            ways_.intend = [this, intend](FallbackStep step, const NameBytes &made, const NameBytes &source,
                                          const FileLook &look) {
                return intend({index_, step, made, source, look});
            };
    }
    RenameOutcome move(std::size_t index, const RenameRequest &request, MoveOrder order) override
    {
        index_ = index;
        if (order.sameFileOnly)
            if (const RenameOutcome other = otherFile(request, order.bornBy); other.status != RenameStatus::Renamed)
                return other;
        return renameNoOverwrite(calls_, dirFd_, request.from, request.to, ways_, order.throughTemporary,
                                 order.temporary);
    }

private:
    // Replaced where the old name holds another file than the one meant: by
    // its inode number where it is known, and made after `bornBy` (the inode
    // number of a file deleted since may be given to a new one); by its look
    // where the inode number is not known.
    //
    // FAT keeps times to 2 s, and fusefat stamps a renamed entry anew: a
    // time within 2 s, or from the batch on, still matches.
    RenameOutcome otherFile(const RenameRequest &request, std::int64_t bornBy)
    {
        if (request.inode == 0 && !request.look.known())
            return {RenameStatus::Renamed, 0};
        struct stat entry {};
        if (const int err = calls_.stat(dirFd_, request.from.c_str(), entry))
            return {RenameStatus::Failed, err};
        const std::int64_t modified = modifiedAt(entry);
        const bool restamped = bornBy != 0 && modified >= bornBy - fileTimeSlack;
        const bool other = request.inode != 0
                               ? entry.st_ino != request.inode
                               : entry.st_size != request.look.size
                                     || (std::abs(modified - request.look.modified) > fileTimeSlack && !restamped);
        std::int64_t born = 0;
        if (other
            || (request.inode != 0 && bornBy != 0 && calls_.bornAt(dirFd_, request.from.c_str(), born) == 0
                && born > bornBy))
            return {RenameStatus::Replaced, 0};
        return {RenameStatus::Renamed, 0};
    }

    PosixCalls &calls_;
    int dirFd_;
    FolderWays ways_;
    std::size_t index_ = 0;
};

// Every request fails: the folder is none this renamer opened.
class NoFolderMoves : public FolderMoves {
public:
    RenameOutcome move(std::size_t, const RenameRequest &, MoveOrder) override { return {RenameStatus::Failed, EBADF}; }
};

} // namespace

std::shared_ptr<FolderHandle> PosixFileRenamer::openFolder(const NameBytes &path)
{
    return PosixFolderHandle::open(path);
}

std::unique_ptr<FolderMoves> PosixFileRenamer::movesIn(const FolderHandle &folder, const Intend &intend)
{
    if (const auto *open = dynamic_cast<const PosixFolderHandle *>(&folder))
        return std::make_unique<PosixFolderMoves>(calls_, open->fd(), intend);
    return std::make_unique<NoFolderMoves>();
}

void PosixFileRenamer::recoverInterrupted(const FolderHandle &folder, const std::vector<FallbackIntent> &steps)
{
    if (const auto *open = dynamic_cast<const PosixFolderHandle *>(&folder))
        ::recoverInterrupted(calls_, open->fd(), steps);
}

bool PosixFileRenamer::readFolder(const FolderHandle &folder, const TakeEntry &take)
{
    const auto *open = dynamic_cast<const PosixFolderHandle *>(&folder);
    if (!open)
        return false;
    // A folder unchanged since its listing is told from what the listing saw.
    if (const FolderEntries *entries = open->entriesIfUnchanged()) {
        entries->forEach(take);
        return true;
    }
    return readFolderEntries(open->fd(),
                             [&](const dirent &entry) {
                                 struct stat target {};
                                 const bool mayLead = entry.d_type == DT_LNK || entry.d_type == DT_UNKNOWN;
                                 take(entry.d_name,
                                      entry.d_type == DT_REG
                                          || (mayLead && calls_.statTarget(open->fd(), entry.d_name, target) == 0
                                              && S_ISREG(target.st_mode)));
                             })
           == 0;
}

std::uint64_t PosixFileRenamer::inodeOf(const FolderHandle &folder, const NameBytes &name)
{
    const auto *open = dynamic_cast<const PosixFolderHandle *>(&folder);
    struct stat entry {};
    return open && calls_.stat(open->fd(), name.c_str(), entry) == 0 ? entry.st_ino : 0;
}

NameRules PosixFileRenamer::nameRulesIn(const FolderHandle &folder)
{
    const auto *open = dynamic_cast<const PosixFolderHandle *>(&folder);
    if (open && !folder.nameRules)
        folder.nameRules = calls_.nameRules(open->fd());
    return folder.nameRules.value_or(NameRules::Posix);
}

std::optional<bool> PosixFileRenamer::findsOtherSpelling(const FolderHandle &folder, const NameBytes &name,
                                                         const NameBytes &otherSpelling)
{
    const auto *open = dynamic_cast<const PosixFolderHandle *>(&folder);
    struct stat a {};
    struct stat b {};
    if (!open || calls_.stat(open->fd(), name.c_str(), a) != 0)
        return std::nullopt;
    if (calls_.stat(open->fd(), otherSpelling.c_str(), b) != 0)
        return false;
    if (a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_nlink == 1)
        return true;
    // Two links of one file, or a FUSE file system that gives each spelling its
    // own inode number: the other spelling must have no entry of its own.
    std::vector<NameBytes> names;
    calls_.listNames(open->fd(), names);
    return std::find(names.begin(), names.end(), otherSpelling) == names.end();
}

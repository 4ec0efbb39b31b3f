// SPDX-License-Identifier: GPL-3.0-or-later

#include "PosixFileRenamer.h"

#include "../NameTable.h"
#include "FolderEntries.h"
#include "NoOverwriteRename.h"
#include "PosixFolderHandle.h"

#include <cerrno>
#include <string_view>
#include <unordered_set>

namespace {

// The list shows plain files and links to them; anything else found under a
// listed name at rename time (a folder that replaced the file, say) is left alone.
RenameOutcome checkListedKind(PosixCalls &sys, int dirFd, const NameBytes &name)
{
    struct stat entry {};
    if (const int err = sys.stat(dirFd, name.c_str(), entry))
        return {RenameStatus::Failed, err};
    if (S_ISLNK(entry.st_mode) && sys.statTarget(dirFd, name.c_str(), entry) != 0)
        return {RenameStatus::NotAllowed, 0};
    if (!S_ISREG(entry.st_mode))
        return {RenameStatus::NotAllowed, 0};
    return {RenameStatus::Renamed, 0};
}

// Whether the entry under the old name is still the file the request means.
RenameOutcome checkSameFile(PosixCalls &sys, int dirFd, const RenameRequest &request)
{
    struct stat entry {};
    if (const int err = sys.stat(dirFd, request.from.c_str(), entry))
        return {RenameStatus::Failed, err};
    return {entry.st_ino == request.inode ? RenameStatus::Renamed : RenameStatus::Replaced, 0};
}

} // namespace

std::shared_ptr<FolderHandle> PosixFileRenamer::openFolder(const NameBytes &path)
{
    return PosixFolderHandle::open(path);
}

void PosixFileRenamer::recoverInterrupted(const FolderHandle &folder, const std::vector<FallbackIntent> &steps)
{
    if (const auto *open = dynamic_cast<const PosixFolderHandle *>(&folder))
        ::recoverInterrupted(calls_, open->fd(), steps);
}

bool PosixFileRenamer::readFolder(const FolderHandle &folder, const TakeEntry &take)
{
    const auto *open = dynamic_cast<const PosixFolderHandle *>(&folder);
    return open && readFolderEntries(open->fd(), [&](const dirent &entry) {
                       struct stat target {};
                       const bool mayLead = entry.d_type == DT_LNK || entry.d_type == DT_UNKNOWN;
                       take(entry.d_name, entry.d_type == DT_REG
                                              || (mayLead && calls_.statTarget(open->fd(), entry.d_name, target) == 0
                                                  && S_ISREG(target.st_mode)));
                   }) == 0;
}

std::vector<RenameOutcome> PosixFileRenamer::renameInFolder(const FolderHandle &folder,
                                                            const std::vector<RenameRequest> &requests,
                                                            const Progress &progress, bool sameFilesOnly,
                                                            const Intend &intend)
{
    std::vector<RenameOutcome> outcomes;
    outcomes.reserve(requests.size());
    const auto *open = dynamic_cast<const PosixFolderHandle *>(&folder);
    if (!open) {
        outcomes.assign(requests.size(), {RenameStatus::Failed, EBADF});
        return outcomes;
    }
    // One look at the folder names the entries that may not be plain files; only
    // those cost a stat each. Where the folder cannot be read, every name does.
    // A folder unchanged since its listing needs no second look.
    std::vector<NameBytes> scanned;
    const std::vector<NameBytes> *nonFiles = open->nonFilesIfUnchanged();
    bool allSuspect = false;
    if (!nonFiles) {
        allSuspect = calls_.listNonFiles(open->fd(), scanned) != 0;
        nonFiles = &scanned;
    }
    const std::unordered_set<NameBytes> suspects(nonFiles->begin(), nonFiles->end());
    FolderWays ways;
    if (intend)
        ways.intend = [&](FallbackStep step, const NameBytes &made, const NameBytes &source) {
            return intend({outcomes.size(), step, made, source});
        };
    // A name this batch has moved a file to holds that file, not the one a
    // later request under the name means: that one has gone.
    NameTable arrived(requests.size());
    for (const RenameRequest &request : requests) {
        RenameOutcome outcome{RenameStatus::NotAllowed, 0};
        if (isPlainFileName(request.from) && isPlainFileName(request.to)) {
            outcome = arrived.find(request.from)                   ? RenameOutcome{RenameStatus::Failed, ENOENT}
                      : allSuspect || suspects.count(request.from) ? checkListedKind(calls_, open->fd(), request.from)
                                                                   : RenameOutcome{RenameStatus::Renamed, 0};
            if (outcome.status == RenameStatus::Renamed && sameFilesOnly && request.inode != 0)
                outcome = checkSameFile(calls_, open->fd(), request);
            if (outcome.status == RenameStatus::Renamed)
                outcome = renameNoOverwrite(calls_, open->fd(), request.from, request.to, ways);
        }
        if (outcome.moved() && request.from != request.to)
            arrived.add(request.to);
        outcomes.push_back(outcome);
        if (progress)
            progress(outcomes.size() - 1, outcome);
    }
    return outcomes;
}

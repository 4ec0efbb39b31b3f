// SPDX-License-Identifier: GPL-3.0-or-later

// Renames a fixed batch in a real folder and kills itself with SIGKILL right
// after its nth change to the folder or the journal, as a crash there would.
// Usage: killed_batch FOLDER JOURNAL N WAY, where WAY forces a fallback
// ("link", "placeholder") or takes the file system's own ("own"); "one link"
// forces links on a folder that counts one link for every entry.

#include "FileJournalStore.h"
#include "OneLinkCounts.h"
#include "RenameBatch.h"
#include "posix/PosixFileRenamer.h"

#include <QCoreApplication>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int stepsLeft = 0;

void stepTaken()
{
    if (--stepsLeft == 0)
        raise(SIGKILL);
}

struct KillingCalls : PosixCalls {
    bool refuseFlag = false;
    bool refuseLink = false;
    template <class Call> int step(Call call)
    {
        const int err = call();
        stepTaken();
        return err;
    }
    int renameNoReplace(int d, const char *f, const char *t) override
    {
        return refuseFlag ? EINVAL : step([&] { return PosixCalls::renameNoReplace(d, f, t); });
    }
    int renameReplacing(int d, const char *f, const char *t) override
    {
        return step([&] { return PosixCalls::renameReplacing(d, f, t); });
    }
    int link(int d, const char *f, const char *t) override
    {
        return refuseLink ? EPERM : step([&] { return PosixCalls::link(d, f, t); });
    }
    int unlink(int d, const char *n) override
    {
        return step([&] { return PosixCalls::unlink(d, n); });
    }
    int createExclusive(int d, const char *n, struct stat &c) override
    {
        return step([&] { return PosixCalls::createExclusive(d, n, c); });
    }
};

struct KillingJournal : FileJournalStore {
    using FileJournalStore::FileJournalStore;
    bool start(const std::string &text) override
    {
        const bool ok = FileJournalStore::start(text);
        stepTaken();
        return ok;
    }
    bool append(const std::string &text, bool sync) override
    {
        const bool ok = FileJournalStore::append(text, sync);
        stepTaken();
        return ok;
    }
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 5)
        return 2;
    stepsLeft = std::atoi(argv[3]);
    const std::string way = argv[4];
    KillingCalls killing;
    OneLinkCounts<KillingCalls> countingOne;
    KillingCalls &calls = way == "one link" ? countingOne : killing;
    calls.refuseFlag = way != "own";
    calls.refuseLink = way == "placeholder";
    PosixFileRenamer renamer(calls);
    KillingJournal journal(QString::fromLocal8Bit(argv[2]));
    const std::shared_ptr<FolderHandle> folder = renamer.openFolder(argv[1]);
    if (!folder)
        return 2;
    // A chain listed against its order, a change of case only, a plain rename
    // and a swap, each with its file's inode number where the file system
    // keeps it, as the listing gives; names freed first, as 是 asks.
    std::vector<RenameRequest> requests{{"a.txt", "b.txt"}, {"b.txt", "c.txt"},   {"Photo.JPG", "photo.jpg"},
                                        {"d.txt", "e.txt"}, {"x1.txt", "x2.txt"}, {"x2.txt", "x1.txt"}};
    const int fd = open(argv[1], O_RDONLY | O_DIRECTORY);
    struct stat st {};
    for (RenameRequest &request : requests)
        if (calls.keepsInodes(fd) && calls.stat(fd, request.from.c_str(), st) == 0)
            request.inode = st.st_ino;
    close(fd);
    FolderSimulation before(requests, foldsCase(renamer, *folder, requests));
    before.read(renamer, *folder);
    renameBatch(renamer, *folder, argv[1], freeingNamesFirst(requests, before), journal, [] { return false; });
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later

// Renames a fixed batch in a real folder and kills itself with SIGKILL right
// after its nth change to the folder or the journal, as a crash there would.
// Usage: killed_batch FOLDER JOURNAL N WAY, where WAY forces a fallback
// ("link", "placeholder") or takes the file system's own ("own"); "one link"
// forces links on a folder that counts one link for every entry, and
// "ignoring case" sees the folder as one that ignores case. With ", power
// cut" after it, what the journal did not sync is lost at the kill.

#include "CaseFoldingCalls.h"
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
std::function<void()> beforeKill;

void stepTaken()
{
    if (--stepsLeft != 0)
        return;
    if (beforeKill)
        beforeKill();
    raise(SIGKILL);
}

template <class Base> struct KillingCalls : Base {
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
        return refuseFlag ? EINVAL : step([&] { return Base::renameNoReplace(d, f, t); });
    }
    int renameReplacing(int d, const char *f, const char *t) override
    {
        return step([&] { return Base::renameReplacing(d, f, t); });
    }
    int link(int d, const char *f, const char *t) override
    {
        return refuseLink ? EPERM : step([&] { return Base::link(d, f, t); });
    }
    int unlink(int d, const char *n) override
    {
        return step([&] { return Base::unlink(d, n); });
    }
    int createExclusive(int d, const char *n, struct stat &c) override
    {
        return step([&] { return Base::createExclusive(d, n, c); });
    }
};

// Knows how much of the journal is on the disk, as a power cut would leave it.
struct KillingJournal : FileJournalStore {
    using FileJournalStore::FileJournalStore;
    std::size_t written = 0;
    std::size_t synced = 0;
    bool start(const std::string &text) override
    {
        const bool ok = FileJournalStore::start(text);
        written = synced = ok ? text.size() : 0;
        stepTaken();
        return ok;
    }
    bool append(const std::string &text, bool sync) override
    {
        const bool ok = FileJournalStore::append(text, sync);
        written += ok ? text.size() : 0;
        synced = ok && sync ? written : synced;
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
    std::string way = argv[4];
    const std::string powerCut = ", power cut";
    const bool cut
        = way.size() > powerCut.size() && way.compare(way.size() - powerCut.size(), powerCut.size(), powerCut) == 0;
    way = way.substr(0, cut ? way.size() - powerCut.size() : way.size());
    KillingCalls<PosixCalls> killing;
    OneLinkCounts<KillingCalls<PosixCalls>> countingOne;
    KillingCalls<CaseFoldingCalls> ignoringCase;
    PosixCalls &calls = way == "one link" ? countingOne : way == "ignoring case" ? ignoringCase : (PosixCalls &)killing;
    killing.refuseFlag = countingOne.refuseFlag = way != "own";
    killing.refuseLink = way == "placeholder";
    PosixFileRenamer renamer(calls);
    KillingJournal journal(QString::fromLocal8Bit(argv[2]));
    if (cut)
        beforeKill = [&] { ::truncate(argv[2], off_t(journal.synced)); };
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

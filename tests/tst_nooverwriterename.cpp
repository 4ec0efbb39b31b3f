// SPDX-License-Identifier: GPL-3.0-or-later

#include "RenameBatch.h"
#include "posix/NoOverwriteRename.h"
#include "posix/PosixFileRenamer.h"
#include "posix/PosixFolderLister.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

Q_DECLARE_METATYPE(RenameStatus)

namespace {

// Counts every call and fails the one numbered `failCall` (from 1) with EIO.
struct CallCounter {
    int calls = 0;
    int failCall = 0;
    bool failsNow() { return ++calls == failCall; }
};

// A folder in memory whose file system may ignore case, lack RENAME_NOREPLACE,
// refuse hard links or placeholders, give each spelling of a name its own
// inode number, or keep answering for a just-moved name for a while, as FAT,
// exFAT and network mounts through FUSE do.
struct MemoryFolder : PosixCalls {
    struct Entry {
        std::string name;
        ino_t inode;
        off_t size = 1;
    };
    std::vector<Entry> entries;
    bool ignoresCase = false;
    bool hasNoReplace = true;
    int linkError = 0;
    int createError = 0;
    bool inodePerSpelling = false;
    bool writesBack = false;      // an emptied placeholder lands on the file moved onto it
    std::string goneBeforeCreate; // a file deleted just before the placeholder is made
    int staleLookups = 0;         // answers left for the last name moved away
    std::string stale;
    std::vector<std::string> everSeen;
    CallCounter counter;
    int pauses = 0;

    MemoryFolder(std::initializer_list<const char *> names)
    {
        for (const char *name : names)
            add(name);
    }
    void add(const std::string &name, off_t size = 1)
    {
        entries.push_back({name, ino_t(entries.size() + 1 + 100 * everSeen.size()), size});
        everSeen.push_back(name);
    }
    bool same(const std::string &a, const std::string &b) const
    {
        return ignoresCase ? QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0
                           : a == b;
    }
    int find(const std::string &name)
    {
        if (staleLookups > 0 && same(name, stale)) {
            --staleLookups;
            return -2;
        }
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (same(entries[i].name, name))
                return int(i);
        return -1;
    }
    QStringList names() const
    {
        QStringList out;
        for (const Entry &entry : entries)
            out << QString::fromStdString(entry.name);
        out.sort();
        return out;
    }
    void moved(int at, const std::string &to)
    {
        stale = entries[std::size_t(at)].name;
        staleLookups = staleAfterMove;
        entries[std::size_t(at)].name = to;
        everSeen.push_back(to);
    }
    int staleAfterMove = 0;

    int renameNoReplace(int, const char *from, const char *to) override
    {
        if (counter.failsNow())
            return EIO;
        if (!hasNoReplace)
            return EINVAL;
        const int source = find(from);
        if (source < 0)
            return source == -2 ? EEXIST : ENOENT;
        if (find(to) != -1)
            return EEXIST;
        moved(source, to);
        return 0;
    }
    int renameReplacing(int, const char *from, const char *to) override
    {
        if (counter.failsNow())
            return EIO;
        const int source = find(from);
        if (source < 0)
            return ENOENT;
        const int target = find(to);
        if (target >= 0 && target != source)
            entries.erase(entries.begin() + target);
        moved(find(from), to);
        if (writesBack && target >= 0)
            entries[std::size_t(find(to))].size = 0;
        return 0;
    }
    int link(int, const char *from, const char *to) override
    {
        if (counter.failsNow())
            return EIO;
        if (linkError)
            return linkError;
        const int source = find(from);
        if (source < 0)
            return ENOENT;
        if (find(to) != -1)
            return EEXIST;
        entries.push_back({to, entries[std::size_t(source)].inode, entries[std::size_t(source)].size});
        everSeen.push_back(to);
        return 0;
    }
    int unlink(int, const char *name) override
    {
        if (counter.failsNow())
            return EIO;
        const int at = find(name);
        if (at < 0)
            return ENOENT;
        entries.erase(entries.begin() + at);
        return 0;
    }
    int createExclusive(int, const char *name, struct stat &created) override
    {
        if (counter.failsNow())
            return EIO;
        if (createError)
            return createError;
        if (const int gone = find(goneBeforeCreate); !goneBeforeCreate.empty() && gone >= 0)
            entries.erase(entries.begin() + gone);
        if (find(name) != -1)
            return EEXIST;
        add(name, 0);
        return look(name, created);
    }
    int stat(int, const char *name, struct stat &out) override { return counter.failsNow() ? EIO : look(name, out); }
    int look(const char *name, struct stat &out)
    {
        const int at = find(name);
        if (at == -1)
            return ENOENT;
        const Entry &entry = entries[std::size_t(at < 0 ? 0 : at)];
        out = {};
        out.st_dev = 1;
        out.st_mode = S_IFREG | 0644;
        out.st_size = entry.size;
        out.st_nlink = 1;
        // Some FUSE file systems number each spelling of a name on its own.
        out.st_ino = inodePerSpelling && entry.name != name ? entry.inode + 1000 : entry.inode;
        return 0;
    }
    int statTarget(int dirFd, const char *name, struct stat &out) override { return stat(dirFd, name, out); }
    int listNames(int, std::vector<NameBytes> &names) override
    {
        if (counter.failsNow())
            return EIO;
        names.clear();
        for (const Entry &entry : entries)
            names.push_back(entry.name);
        return 0;
    }
    void pause(int milliseconds) override
    {
        ++pauses;
        pausedMs += milliseconds;
    }
    int pausedMs = 0;
};

struct Row {
    bool ignoresCase = false;
    bool hasNoReplace = true;
    int linkError = 0;
    int createError = 0;
    bool inodePerSpelling = false;
};

// The real calls, with the file system's refusals imitated and one call failed on request.
struct ForcedErrors : PosixCalls {
    int renameError = 0;
    int linkError = 0;
    CallCounter counter;
    int pauses = 0;
    int renameNoReplace(int dirFd, const char *from, const char *to) override
    {
        if (counter.failsNow())
            return EIO;
        return renameError ? renameError : PosixCalls::renameNoReplace(dirFd, from, to);
    }
    int renameReplacing(int dirFd, const char *from, const char *to) override
    {
        return counter.failsNow() ? EIO : PosixCalls::renameReplacing(dirFd, from, to);
    }
    int link(int dirFd, const char *from, const char *to) override
    {
        if (counter.failsNow())
            return EIO;
        return linkError ? linkError : PosixCalls::link(dirFd, from, to);
    }
    int unlink(int dirFd, const char *name) override
    {
        return counter.failsNow() ? EIO : PosixCalls::unlink(dirFd, name);
    }
    int createExclusive(int dirFd, const char *name, struct stat &created) override
    {
        return counter.failsNow() ? EIO : PosixCalls::createExclusive(dirFd, name, created);
    }
    int stat(int dirFd, const char *name, struct stat &out) override
    {
        return counter.failsNow() ? EIO : PosixCalls::stat(dirFd, name, out);
    }
    void pause(int) override { ++pauses; }
};

void writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden, QDir::Name);
}

ino_t inodeOf(const QString &path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

// Each request moved as asked, with no rule of the batch in front: what the renamer itself never does.
std::vector<RenameOutcome> moveIn(PosixCalls &calls, const QString &folder, const std::vector<RenameRequest> &requests)
{
    PosixFileRenamer renamer(calls);
    const std::shared_ptr<FolderHandle> handle = renamer.openFolder(QFile::encodeName(folder).toStdString());
    std::vector<RenameOutcome> outcomes;
    if (!handle)
        return outcomes;
    const std::unique_ptr<FolderMoves> moves = renamer.movesIn(*handle);
    for (std::size_t i = 0; i < requests.size(); ++i)
        outcomes.push_back(moves->move(i, requests[i], {}));
    return outcomes;
}

// The requests as a batch takes them: the rules first, then the renamer.
std::vector<RenameOutcome> renameIn(const QString &folder, const std::vector<RenameRequest> &requests)
{
    PosixFileRenamer renamer;
    const std::shared_ptr<FolderHandle> handle = renamer.openFolder(QFile::encodeName(folder).toStdString());
    return handle ? runSteps(renamer, *handle, requests, {}, {}) : std::vector<RenameOutcome>{};
}

constexpr RenameOutcome renamed{RenameStatus::Renamed, 0};
constexpr RenameOutcome taken{RenameStatus::Taken, EEXIST};
constexpr RenameOutcome notAllowed{RenameStatus::NotAllowed, 0};

} // namespace

class TestNoOverwriteRename : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void inMemoryFileSystems_data();
    void inMemoryFileSystems();
    void refusedWaysAreTriedOncePerFolder();
    void aFileGoneLeavesNoPlaceholder();
    void aFallbackThatLosesContentStopsTheBatch();
    void staleLookupsAreWaitedOut();
    void anySingleFailureLeavesOneName_data();
    void anySingleFailureLeavesOneName();
    void realFolderForcedErrors_data();
    void realFolderForcedErrors();
    void realFolderNeverReplaces();
    void realFolderAnySingleFailure();
    void realFolderCaseAndHardLinks();
    void renamerSkipsUnsafeMissingAndFolders();
    void renamesInTheFolderThatWasListed();
};

void TestNoOverwriteRename::inMemoryFileSystems_data()
{
    QTest::addColumn<bool>("ignoresCase");
    QTest::addColumn<bool>("hasNoReplace");
    QTest::addColumn<int>("linkError");
    QTest::addColumn<int>("createError");
    QTest::addColumn<bool>("inodePerSpelling");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<RenameStatus>("status");
    QTest::addColumn<QStringList>("after");
    // The fallback steps told to the journal: hard link, placeholder, temporary name.
    QTest::addColumn<QString>("steps");

    const QStringList one{"a.txt"};
    const QStringList two{"a.txt", "b.txt"};
    const QStringList photo{"Photo.JPG"};
    const auto R = RenameStatus::Renamed;
    const auto T = RenameStatus::Taken;
    const auto F = RenameStatus::Failed;
    QTest::newRow("plain") << false << true << 0 << 0 << false << one << "a.txt"
                           << "c.txt" << R << QStringList{"c.txt"} << "";
    QTest::newRow("taken") << false << true << 0 << 0 << false << two << "a.txt"
                           << "b.txt" << T << two << "";
    QTest::newRow("no flag: link") << false << false << 0 << 0 << false << one << "a.txt"
                                   << "c.txt" << R << QStringList{"c.txt"} << "L";
    QTest::newRow("no flag: taken") << false << false << 0 << 0 << false << two << "a.txt"
                                    << "b.txt" << T << two << "";
    QTest::newRow("no flag, link EPERM: placeholder") << false << false << EPERM << 0 << false << one << "a.txt"
                                                      << "c.txt" << R << QStringList{"c.txt"} << "LP";
    QTest::newRow("no flag, link EIO: placeholder") << false << false << EIO << 0 << false << one << "a.txt"
                                                    << "c.txt" << R << QStringList{"c.txt"} << "LP";
    QTest::newRow("no flag, link EACCES: placeholder") << false << false << EACCES << 0 << false << one << "a.txt"
                                                       << "c.txt" << R << QStringList{"c.txt"} << "LP";
    QTest::newRow("placeholder: taken") << false << false << EPERM << 0 << false << two << "a.txt"
                                        << "b.txt" << T << two << "";
    QTest::newRow("no way at all: failed") << false << false << EPERM << EROFS << false << one << "a.txt"
                                           << "c.txt" << F << one << "LP";
    QTest::newRow("case only") << true << true << 0 << 0 << false << photo << "Photo.JPG"
                               << "photo.jpg" << R << QStringList{"photo.jpg"} << "T";
    QTest::newRow("case only, link way") << true << false << 0 << 0 << false << photo << "Photo.JPG"
                                         << "photo.jpg" << R << QStringList{"photo.jpg"} << "TLL";
    QTest::newRow("case only, placeholder way") << true << false << EPERM << 0 << false << photo << "Photo.JPG"
                                                << "photo.jpg" << R << QStringList{"photo.jpg"} << "TLPP";
    QTest::newRow("case only, inode per spelling") << true << false << EPERM << 0 << true << photo << "Photo.JPG"
                                                   << "photo.jpg" << R << QStringList{"photo.jpg"} << "TLPP";
    QTest::newRow("ignoring case, other file taken")
        << true << true << 0 << 0 << false << QStringList{"a.txt", "B.txt"} << "a.txt"
        << "b.TXT" << T << QStringList{"B.txt", "a.txt"} << "";
    QTest::newRow("ignoring case, inode per spelling, other file")
        << true << true << 0 << 0 << true << QStringList{"a.txt", "B.txt"} << "a.txt"
        << "b.TXT" << T << QStringList{"B.txt", "a.txt"} << "";
    QTest::newRow("two files differing in case")
        << false << true << 0 << 0 << true << QStringList{"Photo.JPG", "photo.jpg"} << "Photo.JPG"
        << "photo.jpg" << T << QStringList{"Photo.JPG", "photo.jpg"} << "";
    QTest::newRow("missing source") << false << true << 0 << 0 << false << one << "gone.txt"
                                    << "c.txt" << F << one << "";
}

void TestNoOverwriteRename::inMemoryFileSystems()
{
    QFETCH(bool, ignoresCase);
    QFETCH(bool, hasNoReplace);
    QFETCH(int, linkError);
    QFETCH(int, createError);
    QFETCH(bool, inodePerSpelling);
    QFETCH(QStringList, before);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(RenameStatus, status);
    QFETCH(QStringList, after);
    QFETCH(QString, steps);

    MemoryFolder folder{};
    for (const QString &name : before)
        folder.add(name.toStdString());
    folder.ignoresCase = ignoresCase;
    folder.hasNoReplace = hasNoReplace;
    folder.linkError = linkError;
    folder.createError = createError;
    folder.inodePerSpelling = inodePerSpelling;

    FolderWays ways;
    QString told;
    ways.intend = [&told](FallbackStep step, const NameBytes &, const NameBytes &, const FileLook &) {
        told += QLatin1Char("LPT"[int(step)]);
        return true;
    };
    // The batch's rules tell a change of case only on a folder that ignores case.
    const bool caseOnly = ignoresCase && from != to && from.toCaseFolded() == to.toCaseFolded();
    QCOMPARE(renameNoOverwrite(folder, -1, from.toStdString(), to.toStdString(), ways, caseOnly).status, status);
    QCOMPARE(folder.names(), after);
    QCOMPARE(told, steps);
    // Only a case-only rename of one file may pass through a temporary name.
    const bool temporaryUsed = std::any_of(folder.everSeen.begin(), folder.everSeen.end(), [](const std::string &n) {
        return n.rfind(std::string(temporaryPrefix), 0) == 0;
    });
    QCOMPARE(temporaryUsed, ignoresCase && status == RenameStatus::Renamed);
}

void TestNoOverwriteRename::refusedWaysAreTriedOncePerFolder()
{
    MemoryFolder folder{};
    folder.hasNoReplace = false;
    folder.linkError = EPERM;
    for (int i = 0; i < 100; ++i)
        folder.add("f" + std::to_string(i));
    FolderWays ways;
    for (int i = 0; i < 100; ++i)
        QCOMPARE(renameNoOverwrite(folder, -1, "f" + std::to_string(i), "g" + std::to_string(i), ways).status,
                 RenameStatus::Renamed);
    // One refused flag, a look at the first file, one read of the folder's
    // names and one refused link; then each file costs a placeholder, a look
    // at the file, a rename and a look at what the new name holds.
    QCOMPARE(folder.counter.calls, 4 + 100 * 4);
}

// A file gone before its change of case, on a folder that ignores case and
// refuses links: its placeholder would be found under the old spelling and
// taken for it. Whether the batch knew that the folder ignores case or not.
void TestNoOverwriteRename::aFileGoneLeavesNoPlaceholder()
{
    for (const bool caseOnly : {false, true}) {
        MemoryFolder folder{"Ca"};
        folder.ignoresCase = true;
        folder.hasNoReplace = false;
        folder.linkError = EPERM;
        folder.inodePerSpelling = true;
        FolderWays ways;
        ways.linkRefused = true;
        QCOMPARE(renameNoOverwrite(folder, -1, "Ba", "ba", ways, caseOnly),
                 (RenameOutcome{RenameStatus::Failed, ENOENT}));
        QCOMPARE(folder.names(), QStringList{"Ca"});
    }
}

// A file system that writes the placeholder back over the file moved onto it
// (rclone without a cache did): the row says so, and no later file takes that way.
void TestNoOverwriteRename::aFallbackThatLosesContentStopsTheBatch()
{
    MemoryFolder folder{"a", "b", "c"};
    folder.hasNoReplace = false;
    folder.linkError = EPERM;
    folder.writesBack = true;
    FolderWays ways;
    QCOMPARE(renameNoOverwrite(folder, -1, "a", "x", ways).status, RenameStatus::NotKept);
    for (const char *name : {"b", "c"})
        QCOMPARE(renameNoOverwrite(folder, -1, name, std::string("x") + name, ways),
                 (RenameOutcome{RenameStatus::Failed, notTried}));
    QCOMPARE(folder.names(), (QStringList{"b", "c", "x"}));

    // The file goes just before its placeholder is made, on a file system that
    // ignores case: the placeholder is not moved onto itself, and goes again.
    MemoryFolder gone{"Photo.JPG"};
    gone.ignoresCase = true;
    gone.hasNoReplace = false;
    gone.linkError = EPERM;
    gone.goneBeforeCreate = "Photo.JPG";
    FolderWays goneWays;
    QCOMPARE(renameNoOverwrite(gone, -1, "Photo.JPG", "photo.jpg", goneWays, true).status, RenameStatus::Failed);
    QCOMPARE(gone.names(), QStringList{});
}

void TestNoOverwriteRename::staleLookupsAreWaitedOut()
{
    // Long enough for sshfs's entry cache of twenty seconds.
    MemoryFolder folder{"Photo.JPG"};
    folder.ignoresCase = true;
    folder.staleAfterMove = 12;
    FolderWays ways;
    QCOMPARE(renameNoOverwrite(folder, -1, "Photo.JPG", "photo.jpg", ways, true).status, RenameStatus::Renamed);
    QCOMPARE(folder.names(), QStringList{"photo.jpg"});
    QVERIFY(folder.pausedMs >= 15000);

    // A name that stays taken is not waited for forever: the file goes back.
    MemoryFolder stuck{"Photo.JPG"};
    stuck.ignoresCase = true;
    stuck.staleAfterMove = 20;
    FolderWays stuckWays;
    QCOMPARE(renameNoOverwrite(stuck, -1, "Photo.JPG", "photo.jpg", stuckWays, true).status, RenameStatus::Taken);
    QVERIFY(stuck.pausedMs >= 25000 && stuck.pausedMs <= 2 * 27000); // there, and back
    QCOMPARE(stuck.names(), QStringList{"Photo.JPG"});
}

void TestNoOverwriteRename::anySingleFailureLeavesOneName_data()
{
    QTest::addColumn<bool>("ignoresCase");
    QTest::addColumn<bool>("hasNoReplace");
    QTest::addColumn<int>("linkError");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::newRow("flag") << false << true << 0 << "a.txt"
                          << "b.txt";
    QTest::newRow("link") << false << false << 0 << "a.txt"
                          << "b.txt";
    QTest::newRow("placeholder") << false << false << EPERM << "a.txt"
                                 << "b.txt";
    QTest::newRow("case only, flag") << true << true << 0 << "Photo.JPG"
                                     << "photo.jpg";
    QTest::newRow("case only, link") << true << false << 0 << "Photo.JPG"
                                     << "photo.jpg";
    QTest::newRow("case only, placeholder") << true << false << EPERM << "Photo.JPG"
                                            << "photo.jpg";
}

// Whichever single call fails, the file ends under exactly one of its two
// names, with its own content, and nothing else is left behind.
void TestNoOverwriteRename::anySingleFailureLeavesOneName()
{
    QFETCH(bool, ignoresCase);
    QFETCH(bool, hasNoReplace);
    QFETCH(int, linkError);
    QFETCH(QString, from);
    QFETCH(QString, to);
    for (int failing = 1; failing < 40; ++failing) {
        MemoryFolder folder{};
        folder.add(from.toStdString());
        folder.add("other");
        const ino_t inode = folder.entries.front().inode;
        folder.ignoresCase = ignoresCase;
        folder.hasNoReplace = hasNoReplace;
        folder.linkError = linkError;
        folder.counter.failCall = failing;
        FolderWays ways;
        const RenameOutcome outcome
            = renameNoOverwrite(folder, -1, from.toStdString(), to.toStdString(), ways, ignoresCase);
        const QString context = QStringLiteral("call %1 failing: %2").arg(failing).arg(folder.names().join(' '));
        QVERIFY2(folder.entries.size() == 2, qPrintable(context));
        const QString now = outcome.moved() ? to : from;
        QStringList expected{now, QStringLiteral("other")};
        expected.sort();
        QVERIFY2(folder.names() == expected, qPrintable(context));
        folder.counter.failCall = 0;
        QVERIFY2(folder.entries[std::size_t(folder.find(now.toStdString()))].inode == inode, qPrintable(context));
        if (folder.counter.calls < failing)
            break; // every call of the chain has had its turn
    }
}

void TestNoOverwriteRename::realFolderForcedErrors_data()
{
    QTest::addColumn<int>("renameError");
    QTest::addColumn<int>("linkError");
    QTest::addColumn<RenameStatus>("status");

    QTest::newRow("EINVAL: hard link") << EINVAL << 0 << RenameStatus::Renamed;
    QTest::newRow("ENOSYS: hard link") << ENOSYS << 0 << RenameStatus::Renamed;
    QTest::newRow("EOPNOTSUPP: hard link") << EOPNOTSUPP << 0 << RenameStatus::Renamed;
    QTest::newRow("EINVAL, link EPERM: placeholder") << EINVAL << EPERM << RenameStatus::Renamed;
    QTest::newRow("EINVAL, link EIO: placeholder") << EINVAL << EIO << RenameStatus::Renamed;
    QTest::newRow("EXDEV: failed, never copied") << EXDEV << 0 << RenameStatus::Failed;
    QTest::newRow("EACCES: failed") << EACCES << 0 << RenameStatus::Failed;
}

void TestNoOverwriteRename::realFolderForcedErrors()
{
    QFETCH(int, renameError);
    QFETCH(int, linkError);
    QFETCH(RenameStatus, status);

    QTemporaryDir dir;
    writeFile(dir.filePath("a.txt"), "A");
    const ino_t inode = inodeOf(dir.filePath("a.txt"));
    ForcedErrors calls;
    calls.renameError = renameError;
    calls.linkError = linkError;
    const std::vector<RenameOutcome> outcomes = moveIn(calls, dir.path(), {{"a.txt", "b.txt"}});
    QCOMPARE(outcomes.size(), std::size_t(1));
    QCOMPARE(outcomes[0].status, status);
    const QString now = status == RenameStatus::Renamed ? "b.txt" : "a.txt";
    QCOMPARE(entriesOf(dir.path()), QStringList{now});
    QCOMPARE(readFile(dir.filePath(now)), QByteArray("A"));
    QCOMPARE(inodeOf(dir.filePath(now)), inode);
}

void TestNoOverwriteRename::realFolderNeverReplaces()
{
    for (int renameError : {0, EINVAL}) {
        for (int linkError : {0, EPERM}) {
            QTemporaryDir dir;
            writeFile(dir.filePath("a.txt"), "A");
            writeFile(dir.filePath("b.txt"), "B");
            QVERIFY(QDir(dir.path()).mkdir("sub"));
            QVERIFY(symlink("nowhere", QFile::encodeName(dir.filePath("dangling")).constData()) == 0);
            ForcedErrors calls;
            calls.renameError = renameError;
            calls.linkError = linkError;
            const std::vector<RenameOutcome> outcomes
                = moveIn(calls, dir.path(), {{"a.txt", "b.txt"}, {"a.txt", "dangling"}, {"a.txt", "sub"}});
            QVERIFY((outcomes == std::vector<RenameOutcome>{taken, taken, taken}));
            QCOMPARE(readFile(dir.filePath("a.txt")), QByteArray("A"));
            QCOMPARE(readFile(dir.filePath("b.txt")), QByteArray("B"));
            QVERIFY(QFile::symLinkTarget(dir.filePath("dangling")).endsWith("nowhere"));
            QVERIFY(QDir(dir.filePath("sub")).isEmpty());
            QCOMPARE(entriesOf(dir.path()), (QStringList{"a.txt", "b.txt", "dangling", "sub"}));
        }
    }
}

void TestNoOverwriteRename::realFolderAnySingleFailure()
{
    for (int linkError : {0, EPERM}) {
        for (int failing = 1; failing < 12; ++failing) {
            QTemporaryDir dir;
            writeFile(dir.filePath("a.txt"), "A");
            writeFile(dir.filePath("other"), "O");
            const ino_t inode = inodeOf(dir.filePath("a.txt"));
            ForcedErrors calls;
            calls.renameError = EINVAL;
            calls.linkError = linkError;
            calls.counter.failCall = failing;
            const std::vector<RenameOutcome> outcomes = moveIn(calls, dir.path(), {{"a.txt", "b.txt"}});
            const QString now = outcomes.at(0).moved() ? "b.txt" : "a.txt";
            const QString context = QStringLiteral("call %1 failing, link error %2").arg(failing).arg(linkError);
            const QStringList expected{now, QStringLiteral("other")};
            QVERIFY2(entriesOf(dir.path()) == expected, qPrintable(context));
            QVERIFY2(inodeOf(dir.filePath(now)) == inode, qPrintable(context));
            QCOMPARE(readFile(dir.filePath(now)), QByteArray("A"));
        }
    }
}

void TestNoOverwriteRename::realFolderCaseAndHardLinks()
{
    QTemporaryDir dir;
    writeFile(dir.filePath("A.txt"), "upper");
    writeFile(dir.filePath("a.txt"), "lower");
    writeFile(dir.filePath("one"), "linked");
    QVERIFY(
        ::link(QFile::encodeName(dir.filePath("one")).constData(), QFile::encodeName(dir.filePath("two")).constData())
        == 0);

    ForcedErrors calls;
    // Two files that differ in case, and two names of one file: both stay as they were, at once.
    const std::vector<RenameOutcome> outcomes = moveIn(calls, dir.path(), {{"A.txt", "a.txt"}, {"one", "two"}});
    QVERIFY((outcomes == std::vector<RenameOutcome>{taken, taken}));
    QCOMPARE(calls.pauses, 0);
    QCOMPARE(entriesOf(dir.path()), (QStringList{"A.txt", "a.txt", "one", "two"}));
    QCOMPARE(readFile(dir.filePath("A.txt")), QByteArray("upper"));
    QCOMPARE(readFile(dir.filePath("a.txt")), QByteArray("lower"));
}

void TestNoOverwriteRename::renamerSkipsUnsafeMissingAndFolders()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("sub"));
    QVERIFY(QDir(dir.path()).mkdir("was-a-file"));
    QVERIFY(symlink("sub", QFile::encodeName(dir.filePath("link-to-folder")).constData()) == 0);
    writeFile(dir.filePath("a.txt"), "A");
    const std::string gbk = "\xd5\xd5\xc6\xac.jpg";
    const int fd = ::open((QFile::encodeName(dir.path()).toStdString() + "/" + gbk).c_str(), O_CREAT | O_WRONLY, 0644);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, "G", 1), ssize_t(1));
    ::close(fd);

    const std::vector<RenameOutcome> outcomes = renameIn(dir.path(), {{"a.txt", "sub/a.txt"},
                                                                      {"a.txt", "../a.txt"},
                                                                      {"a.txt", ".."},
                                                                      {"a.txt", ""},
                                                                      {"missing", "x"},
                                                                      {"was-a-file", "y"},
                                                                      {"link-to-folder", "z"},
                                                                      {"a.txt", "a.txt"},
                                                                      {gbk, "x_" + gbk}});
    const std::vector<RenameOutcome> expected{
        notAllowed, notAllowed, notAllowed, notAllowed, {RenameStatus::Failed, ENOENT},
        notAllowed, notAllowed, renamed,    renamed};
    QCOMPARE(outcomes.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        QCOMPARE(outcomes[i].status, expected[i].status);
        QCOMPARE(outcomes[i].error, expected[i].error);
    }
    QCOMPARE(readFile(dir.filePath("a.txt")), QByteArray("A"));
    QVERIFY(QDir(dir.filePath("sub")).isEmpty());
    QVERIFY(QFileInfo(dir.filePath("was-a-file")).isDir());
    struct stat renamedGbk {};
    QVERIFY(::stat((QFile::encodeName(dir.path()).toStdString() + "/x_" + gbk).c_str(), &renamedGbk) == 0);
    QCOMPARE(renamedGbk.st_size, off_t(1));
    ::unlink((QFile::encodeName(dir.path()).toStdString() + "/x_" + gbk).c_str());
    QVERIFY(!PosixFileRenamer().openFolder(QFile::encodeName(dir.filePath("no-such-folder")).toStdString()));
}

// A folder path swapped for a link to another folder after the listing: the
// rename still acts on the folder that was listed.
void TestNoOverwriteRename::renamesInTheFolderThatWasListed()
{
    QTemporaryDir dir;
    QDir root(dir.path());
    QVERIFY(root.mkdir("listed") && root.mkdir("elsewhere"));
    writeFile(dir.filePath("listed/a.txt"), "listed");
    writeFile(dir.filePath("elsewhere/a.txt"), "elsewhere");

    PosixFolderLister lister;
    const std::optional<FolderListing> listing
        = lister.listFiles(QFile::encodeName(dir.filePath("listed")).toStdString());
    QVERIFY(listing && listing->folder);
    QVERIFY(root.rename("listed", "moved"));
    QVERIFY(symlink("elsewhere", QFile::encodeName(dir.filePath("listed")).constData()) == 0);

    PosixFileRenamer renamer;
    QVERIFY(
        (runSteps(renamer, *listing->folder, {{"a.txt", "new_a.txt"}}, {}, {}) == std::vector<RenameOutcome>{renamed}));
    QCOMPARE(readFile(dir.filePath("moved/new_a.txt")), QByteArray("listed"));
    QCOMPARE(entriesOf(dir.filePath("elsewhere")), QStringList{"a.txt"});
}

QTEST_GUILESS_MAIN(TestNoOverwriteRename)
#include "tst_nooverwriterename.moc"

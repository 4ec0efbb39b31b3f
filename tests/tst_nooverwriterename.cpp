#include "posix/NoOverwriteRename.h"
#include "posix/PosixFileRenamer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// A folder in memory whose file system may ignore case, lack RENAME_NOREPLACE
// or refuse hard links, as FAT and network drives do.
struct MemoryFolder : PosixCalls {
    struct Entry {
        std::string name;
        ino_t inode;
    };
    std::vector<Entry> entries;
    bool ignoresCase = false;
    bool hasNoReplace = true;
    int linkError = 0;
    std::string failUnlinkOf;

    MemoryFolder(std::initializer_list<const char *> names)
    {
        ino_t inode = 1;
        for (const char *name : names)
            entries.push_back({name, inode++});
    }
    int find(const std::string &name) const
    {
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const bool same = ignoresCase ? QString::fromStdString(entries[i].name).compare(
                                                QString::fromStdString(name), Qt::CaseInsensitive) == 0
                                          : entries[i].name == name;
            if (same)
                return int(i);
        }
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
    int renameNoReplace(int, const char *from, const char *to) override
    {
        if (!hasNoReplace)
            return EINVAL;
        const int source = find(from);
        if (source < 0)
            return ENOENT;
        if (find(to) >= 0)
            return EEXIST;
        entries[std::size_t(source)].name = to;
        return 0;
    }
    int link(int, const char *from, const char *to) override
    {
        if (linkError)
            return linkError;
        const int source = find(from);
        if (source < 0)
            return ENOENT;
        if (find(to) >= 0)
            return EEXIST;
        entries.push_back({to, entries[std::size_t(source)].inode});
        return 0;
    }
    int unlink(int, const char *name) override
    {
        const int at = find(name);
        if (at < 0 || failUnlinkOf == name)
            return at < 0 ? ENOENT : EACCES;
        entries.erase(entries.begin() + at);
        return 0;
    }
    int stat(int, const char *name, struct stat &out) override
    {
        const int at = find(name);
        if (at < 0)
            return ENOENT;
        out = {};
        out.st_dev = 1;
        out.st_ino = entries[std::size_t(at)].inode;
        return 0;
    }
};

// The real calls, with one of them forced to fail.
struct ForcedErrors : PosixCalls {
    int renameError = 0;
    int linkError = 0;
    int renameNoReplace(int dirFd, const char *from, const char *to) override
    {
        return renameError ? renameError : PosixCalls::renameNoReplace(dirFd, from, to);
    }
    int link(int dirFd, const char *from, const char *to) override
    {
        return linkError ? linkError : PosixCalls::link(dirFd, from, to);
    }
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
    return QDir(folder).entryList(QDir::Files | QDir::System | QDir::Hidden, QDir::Name);
}

} // namespace

class TestNoOverwriteRename : public QObject {
    Q_OBJECT
private slots:
    void inMemoryFileSystems_data();
    void inMemoryFileSystems();
    void fallbackUnlinkFailureRemovesNewLink();
    void realFolderForcedErrors_data();
    void realFolderForcedErrors();
    void realFolderNeverReplaces();
    void realFolderCaseAndHardLinks();
    void renamerSkipsUnsafeAndMissing();
};

void TestNoOverwriteRename::inMemoryFileSystems_data()
{
    QTest::addColumn<bool>("ignoresCase");
    QTest::addColumn<bool>("hasNoReplace");
    QTest::addColumn<int>("linkError");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<bool>("renamed");
    QTest::addColumn<QStringList>("after");

    const QStringList one{QStringLiteral("a.txt")};
    const QStringList two{QStringLiteral("a.txt"), QStringLiteral("b.txt")};
    QTest::newRow("plain") << false << true << 0 << one << "a.txt" << "c.txt" << true << QStringList{"c.txt"};
    QTest::newRow("taken") << false << true << 0 << two << "a.txt" << "b.txt" << false << two;
    QTest::newRow("no flag: link fallback") << false << false << 0 << one << "a.txt" << "c.txt" << true << QStringList{"c.txt"};
    QTest::newRow("no flag: taken") << false << false << 0 << two << "a.txt" << "b.txt" << false << two;
    QTest::newRow("no flag, no links: skipped") << false << false << EPERM << one << "a.txt" << "c.txt" << false << one;
    QTest::newRow("case only, case-insensitive") << true << true << 0 << QStringList{"IMG_0001.JPG"} << "IMG_0001.JPG" << "IMG_0001.jpg" << true << QStringList{"IMG_0001.jpg"};
    QTest::newRow("case only, no flag, link fallback") << true << false << 0 << QStringList{"IMG_0001.JPG"} << "IMG_0001.JPG" << "IMG_0001.jpg" << true << QStringList{"IMG_0001.jpg"};
    QTest::newRow("case only, no flag, no links") << true << false << EPERM << QStringList{"IMG_0001.JPG"} << "IMG_0001.JPG" << "IMG_0001.jpg" << false << QStringList{"IMG_0001.JPG"};
    QTest::newRow("case-insensitive, other file taken") << true << true << 0 << QStringList{"a.txt", "B.txt"} << "a.txt" << "b.TXT" << false << QStringList{"B.txt", "a.txt"};
    QTest::newRow("missing source") << false << true << 0 << one << "gone.txt" << "c.txt" << false << one;
}

void TestNoOverwriteRename::inMemoryFileSystems()
{
    QFETCH(bool, ignoresCase);
    QFETCH(bool, hasNoReplace);
    QFETCH(int, linkError);
    QFETCH(QStringList, before);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(bool, renamed);
    QFETCH(QStringList, after);

    MemoryFolder folder{};
    ino_t inode = 1;
    for (const QString &name : before)
        folder.entries.push_back({name.toStdString(), inode++});
    folder.ignoresCase = ignoresCase;
    folder.hasNoReplace = hasNoReplace;
    folder.linkError = linkError;

    QCOMPARE(renameNoOverwrite(folder, -1, from.toStdString(), to.toStdString()), renamed);
    QCOMPARE(folder.names(), after);
}

void TestNoOverwriteRename::fallbackUnlinkFailureRemovesNewLink()
{
    MemoryFolder folder{"a.txt"};
    folder.hasNoReplace = false;
    folder.failUnlinkOf = "a.txt";
    QVERIFY(!renameNoOverwrite(folder, -1, "a.txt", "b.txt"));
    QCOMPARE(folder.names(), QStringList{"a.txt"});
}

void TestNoOverwriteRename::realFolderForcedErrors_data()
{
    QTest::addColumn<int>("renameError");
    QTest::addColumn<int>("linkError");
    QTest::addColumn<bool>("renamed");

    QTest::newRow("EINVAL: hard-link fallback") << EINVAL << 0 << true;
    QTest::newRow("ENOSYS: hard-link fallback") << ENOSYS << 0 << true;
    QTest::newRow("EOPNOTSUPP: hard-link fallback") << EOPNOTSUPP << 0 << true;
    QTest::newRow("EINVAL then EPERM: skipped") << EINVAL << EPERM << false;
    QTest::newRow("EXDEV: skipped, never copied") << EXDEV << 0 << false;
    QTest::newRow("EACCES: skipped") << EACCES << 0 << false;
}

void TestNoOverwriteRename::realFolderForcedErrors()
{
    QFETCH(int, renameError);
    QFETCH(int, linkError);
    QFETCH(bool, renamed);

    QTemporaryDir dir;
    writeFile(dir.filePath("a.txt"), "A");
    ForcedErrors calls;
    calls.renameError = renameError;
    calls.linkError = linkError;
    PosixFileRenamer renamer(calls);
    QCOMPARE(renamer.renameInFolder(dir.path().toStdString(), {{"a.txt", "b.txt"}}), std::size_t(renamed));
    QCOMPARE(entriesOf(dir.path()), QStringList{renamed ? "b.txt" : "a.txt"});
    QCOMPARE(readFile(dir.filePath(renamed ? "b.txt" : "a.txt")), QByteArray("A"));
}

void TestNoOverwriteRename::realFolderNeverReplaces()
{
    for (int renameError : {0, EINVAL}) {
        QTemporaryDir dir;
        writeFile(dir.filePath("a.txt"), "A");
        writeFile(dir.filePath("b.txt"), "B");
        QVERIFY(symlink("nowhere", dir.filePath("dangling").toLocal8Bit().constData()) == 0);
        ForcedErrors calls;
        calls.renameError = renameError;
        PosixFileRenamer renamer(calls);
        QCOMPARE(renamer.renameInFolder(dir.path().toStdString(), {{"a.txt", "b.txt"}, {"a.txt", "dangling"}}),
                 std::size_t(0));
        QCOMPARE(readFile(dir.filePath("a.txt")), QByteArray("A"));
        QCOMPARE(readFile(dir.filePath("b.txt")), QByteArray("B"));
        QCOMPARE(QFile::symLinkTarget(dir.filePath("dangling")).endsWith("nowhere"), true);
    }
}

void TestNoOverwriteRename::realFolderCaseAndHardLinks()
{
    QTemporaryDir dir;
    writeFile(dir.filePath("A.txt"), "upper");
    writeFile(dir.filePath("a.txt"), "lower");
    writeFile(dir.filePath("one"), "linked");
    QVERIFY(::link(dir.filePath("one").toLocal8Bit().constData(), dir.filePath("two").toLocal8Bit().constData()) == 0);

    PosixCalls calls;
    PosixFileRenamer renamer(calls);
    // Two files that differ in case, and two names of one file: both stay as they were.
    QCOMPARE(renamer.renameInFolder(dir.path().toStdString(), {{"A.txt", "a.txt"}, {"one", "two"}}), std::size_t(0));
    QCOMPARE(entriesOf(dir.path()), (QStringList{"A.txt", "a.txt", "one", "two"}));
    QCOMPARE(readFile(dir.filePath("A.txt")), QByteArray("upper"));
    QCOMPARE(readFile(dir.filePath("a.txt")), QByteArray("lower"));
}

void TestNoOverwriteRename::renamerSkipsUnsafeAndMissing()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("sub"));
    writeFile(dir.filePath("a.txt"), "A");
    const std::string gbk = "\xd5\xd5\xc6\xac.jpg";
    const int fd = ::open((dir.path().toStdString() + "/" + gbk).c_str(), O_CREAT | O_WRONLY, 0644);
    QVERIFY(fd >= 0);
    ::close(fd);

    PosixCalls calls;
    PosixFileRenamer renamer(calls);
    const std::size_t done = renamer.renameInFolder(dir.path().toStdString(), {{"a.txt", "sub/a.txt"},
                                                                                {"a.txt", "../a.txt"},
                                                                                {"a.txt", ".."},
                                                                                {"a.txt", ""},
                                                                                {"missing", "x"},
                                                                                {"a.txt", "a.txt"},
                                                                                {gbk, "x_" + gbk}});
    QCOMPARE(done, std::size_t(2));
    QCOMPARE(readFile(dir.filePath("a.txt")), QByteArray("A"));
    QVERIFY(QDir(dir.filePath("sub")).isEmpty());
    struct stat st {};
    QVERIFY(::stat((dir.path().toStdString() + "/x_" + gbk).c_str(), &st) == 0);
    QCOMPARE(renamer.renameInFolder(dir.filePath("no-such-folder").toStdString(), {{"a.txt", "b"}}), std::size_t(0));
}

QTEST_GUILESS_MAIN(TestNoOverwriteRename)
#include "tst_nooverwriterename.moc"

// SPDX-License-Identifier: GPL-3.0-or-later

#include "RenameBatch.h"
#include "posix/FileSystemKind.h"
#include "posix/PosixFileRenamer.h"
#include "posix/PosixFolderHandle.h"
#include "posix/PosixFolderLister.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {
void touch(const QString &path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

QStringList sorted(const std::vector<NameBytes> &names)
{
    QStringList out;
    for (const NameBytes &name : names)
        out << QString::fromLatin1(QByteArray::fromStdString(name).toHex());
    out.sort();
    return out;
}

QString hex(const char *name) { return QString::fromLatin1(QByteArray(name).toHex()); }
} // namespace

class TestFolderLister : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void listsPlainFilesOnly();
    void emptyAndUnreadableFolders();
    void renamesTrustAListingOnlyWhileTheFolderIsUnchanged();
    void learnsWhichNamesAFileSystemTakes_data();
    void learnsWhichNamesAFileSystemTakes();
};

void TestFolderLister::learnsWhichNamesAFileSystemTakes_data()
{
    QTest::addColumn<QString>("device"); // major:minor
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("windowsNames");
    QTest::newRow("exFAT or NTFS through FUSE, with no subtype") << "7:0"
                                                                 << "fuseblk" << true;
    QTest::newRow("FAT through fusefat") << "0:41"
                                         << "fuse.fusefat" << true;
    QTest::newRow("ext4, after optional fields") << "8:1"
                                                 << "ext4" << false;
    QTest::newRow("an SMB share") << "0:52"
                                  << "cifs" << true;
    QTest::newRow("sshfs") << "0:53"
                           << "fuse.sshfs" << false;
    QTest::newRow("a device no mount has") << "9:9"
                                           << "" << false;
}

// As /proc/self/mountinfo tells them, seen on mounts the real-mount tests make.
void TestFolderLister::learnsWhichNamesAFileSystemTakes()
{
    QFETCH(QString, device);
    QFETCH(QString, type);
    QFETCH(bool, windowsNames);
    constexpr std::string_view mountinfo
        = "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
          "46 28 7:0 / /tmp/mt/a rw,nosuid,nodev,relatime - fuseblk /dev/loop0 rw,user_id=0,group_id=0\n"
          "47 28 0:41 / /tmp/mt/b rw,nosuid,nodev,relatime - fuse.fusefat fusefat rw,user_id=0,group_id=0\n"
          "50 28 0:52 / /mnt/share rw,relatime - cifs //nas/photos rw,vers=3.1.1\n"
          "51 28 0:53 / /mnt/remote rw,relatime - fuse.sshfs me@host: rw\n";
    const QStringList numbers = device.split(':');
    const std::string found = mountTypeOf(mountinfo, numbers[0].toUInt(), numbers[1].toUInt());
    QCOMPARE(QString::fromStdString(found), type);
    QCOMPARE(nameRulesOfMountType(found) == NameRules::Windows, windowsNames);
}

void TestFolderLister::listsPlainFilesOnly()
{
    QTemporaryDir dir;
    const QDir folder(dir.path());
    touch(folder.filePath("README"));
    touch(folder.filePath("a.txt"));
    touch(folder.filePath(".hidden"));
    touch(folder.filePath("readonly.txt"));
    QFile::setPermissions(folder.filePath("readonly.txt"), QFile::ReadOwner);
    QVERIFY(folder.mkdir("sub"));
    QVERIFY(mkfifo(folder.filePath("fifo").toLocal8Bit().constData(), 0600) == 0);
    QVERIFY(symlink("a.txt", folder.filePath("link-to-file").toLocal8Bit().constData()) == 0);
    QVERIFY(symlink("sub", folder.filePath("link-to-folder").toLocal8Bit().constData()) == 0);
    QVERIFY(symlink("nowhere", folder.filePath("dangling").toLocal8Bit().constData()) == 0);
    const int sock = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray socketPath = folder.filePath("socket").toLocal8Bit();
    if (socketPath.size() < int(sizeof address.sun_path)) {
        qstrncpy(address.sun_path, socketPath.constData(), sizeof address.sun_path);
        QVERIFY(bind(sock, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0);
    }
    const std::string gbk = dir.path().toStdString() + "/\xd5\xd5\xc6\xac.jpg";
    const int fd = ::open(gbk.c_str(), O_CREAT | O_WRONLY, 0644);
    QVERIFY(fd >= 0);
    ::close(fd);

    PosixFolderLister lister;
    const auto listing = lister.listFiles(dir.path().toStdString());
    ::close(sock);
    QVERIFY(listing && listing->folder);
    const std::vector<NameBytes> *names = &listing->names;
    QStringList expected{hex("README"), hex("a.txt"), hex("readonly.txt"), hex("link-to-file"),
                         hex("\xd5\xd5\xc6\xac.jpg")};
    expected.sort();
    QCOMPARE(sorted(*names), expected);
}

void TestFolderLister::emptyAndUnreadableFolders()
{
    QTemporaryDir dir;
    PosixFolderLister lister;
    QCOMPARE(lister.listFiles(dir.path().toStdString())->names.size(), std::size_t(0));
    QVERIFY(!lister.listFiles(dir.filePath("missing").toStdString()));
    QVERIFY(lister.listFiles("/"));
}

// A folder still since before its listing needs no second look before the
// renames; a folder changed since then does, so that a file that became a
// folder is left alone.
void TestFolderLister::renamesTrustAListingOnlyWhileTheFolderIsUnchanged()
{
    QTemporaryDir dir;
    touch(dir.filePath("a"));
    touch(dir.filePath("b"));
    // Read two seconds on, older than the file system's clock can blur.
    PosixFolderLister lister([] { return PosixFolderLister().now() + 2'000'000'000; });
    const std::optional<FolderListing> listing = lister.listFiles(QFile::encodeName(dir.path()).toStdString());
    QVERIFY(listing);
    const auto *folder = dynamic_cast<const PosixFolderHandle *>(listing->folder.get());
    QVERIFY(folder && folder->entriesIfUnchanged());
    PosixFileRenamer renamer;
    QCOMPARE(runSteps(renamer, *folder, {{"a", "a"}}, {}, {})[0].status, RenameStatus::Renamed);
    QVERIFY(QFile::remove(dir.filePath("b")) && QDir(dir.path()).mkdir("b"));
    QVERIFY(!folder->entriesIfUnchanged());
    QCOMPARE(runSteps(renamer, *folder, {{"b", "c"}}, {}, {})[0].status, RenameStatus::NotAllowed);
    QVERIFY(QFileInfo(dir.filePath("b")).isDir());
}

QTEST_GUILESS_MAIN(TestFolderLister)
#include "tst_folderlister.moc"

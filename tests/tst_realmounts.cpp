// SPDX-License-Identifier: GPL-3.0-or-later

#include "FakeServices.h"
#include "RenameWindowDriver.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Runs a command; false when it cannot start or exits non-zero.
bool run(const QString &program, const QStringList &arguments, QString *output = nullptr)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool ok
        = process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    if (output)
        *output = QString::fromLocal8Bit(process.readAll()).trimmed();
    return ok;
}

QString missingTool(const QStringList &tools)
{
    for (const QString &tool : tools)
        if (QStandardPaths::findExecutable(tool).isEmpty()
            && QStandardPaths::findExecutable(tool, {"/sbin", "/usr/sbin"}).isEmpty())
            return tool;
    return {};
}

// One file system made in an image and mounted for this test only; unmounted,
// detached and deleted again however the test ends.
class Mount {
public:
    Mount(const QString &kind, const QString &base)
        : kind_(kind)
        , point_(base + "/mnt")
        , image_(base + "/image")
    {
        QDir().mkpath(point_);
        if (geteuid() != 0) {
            skip_ = QStringLiteral("mounting needs root");
            return;
        }
        if (kind == "tmpfs") {
            mounted_ = run("mount", {"-t", "tmpfs", "-o", "size=32m", "tmpfs", point_});
        } else if (kind == "ext4" || kind == "ext4 casefold") {
            if (!QFile::exists("/dev/loop-control"))
                skip_ = QStringLiteral("no loop devices");
            else if (kind == "ext4 casefold" && !QFile::exists("/sys/fs/ext4/features/casefold"))
                skip_ = QStringLiteral("this kernel's ext4 has no casefold support (built without Unicode)");
            else if (!(skip_ = missingTool({"mkfs.ext4", "chattr"})).isEmpty())
                skip_ = skip_ + QStringLiteral(" is not installed");
            else {
                QStringList mkfs{"-q", "-F"};
                if (kind == "ext4 casefold")
                    mkfs << "-O"
                         << "casefold";
                mounted_ = makeImage("mkfs.ext4", mkfs + QStringList{image_})
                           && run("mount", {"-o", "loop", image_, point_});
                if (mounted_ && kind == "ext4 casefold") {
                    QDir().mkpath(point_ + "/folded");
                    mounted_ = run("chattr", {"+F", point_ + "/folded"});
                    point_ += "/folded";
                }
            }
        } else if (kind == "exFAT through FUSE") {
            if (!QFile::exists("/dev/fuse") || !QFile::exists("/dev/loop-control"))
                skip_ = QStringLiteral("no /dev/fuse or no loop devices");
            else if (const QString tool = missingTool({"mkfs.exfat", "mount.exfat-fuse", "losetup"}); !tool.isEmpty())
                skip_ = tool + QStringLiteral(" is not installed");
            else if (makeImage("mkfs.exfat", {image_}) && run("losetup", {"-f", "--show", image_}, &loop_))
                mounted_ = run("mount.exfat-fuse", {loop_, point_});
        } else if (kind == "rclone through FUSE") {
            // Its local backend, and no cache: the way that wrote an emptied placeholder back over a file.
            if (!QFile::exists("/dev/fuse"))
                skip_ = QStringLiteral("no /dev/fuse");
            else if (const QString tool = missingTool({"rclone", "mountpoint"}); !tool.isEmpty())
                skip_ = tool + QStringLiteral(" is not installed");
            else if (QDir().mkpath(image_)) {
                server_.start("rclone", {"mount", ":local:" + image_, point_, "--vfs-cache-mode", "off", "--config",
                                         base + "/rclone.conf"});
                for (int wait = 0; wait < 100 && !mounted_ && server_.state() != QProcess::NotRunning;
                     ++wait, QThread::msleep(100))
                    mounted_ = run("mountpoint", {"-q", point_});
            }
        } else if (kind == "FAT through FUSE") {
            if (!QFile::exists("/dev/fuse"))
                skip_ = QStringLiteral("no /dev/fuse");
            else if (const QString tool = missingTool({"mkfs.vfat", "fusefat"}); !tool.isEmpty())
                skip_ = tool + QStringLiteral(" is not installed");
            else
                mounted_ = makeImage("mkfs.vfat", {image_}) && run("fusefat", {"-o", "rw+", image_, point_});
        }
    }
    ~Mount()
    {
        const QString top = kind_ == "ext4 casefold" ? QFileInfo(point_).path() : point_;
        if (mounted_ && !run("umount", {top}))
            run("umount", {"-l", top});
        if (server_.state() != QProcess::NotRunning && !server_.waitForFinished(10000))
            server_.kill();
        server_.waitForFinished();
        if (!loop_.isEmpty())
            run("losetup", {"-d", loop_});
        run("rm", {"-rf", image_}); // rclone's backing folder holds names Qt cannot spell
    }
    bool mounted() const { return mounted_; }
    QString skipReason() const { return skip_; }
    QString point() const { return point_; }

private:
    bool makeImage(const QString &mkfs, const QStringList &arguments)
    {
        QFile image(image_);
        return image.open(QIODevice::WriteOnly) && image.resize(64 << 20) && (image.close(), true)
               && run(mkfs, arguments);
    }

    QString kind_;
    QString point_;
    QString image_;
    QString loop_;
    QString skip_;
    QProcess server_; // a file system served by a program of ours (rclone)
    bool mounted_ = false;
};

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

ino_t inodeOf(const QString &path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

// A folder on the mount with these files, each holding its own name.
QString folderWith(const QString &mount, const QString &name, const QStringList &files)
{
    const QString folder = mount + "/" + name;
    QDir().mkpath(folder);
    for (const QString &file : files)
        makeFile(folder + "/" + file, file.toUtf8());
    return folder;
}

// The real window with `folder` picked.
struct Click {
    RenameWindowDriver d;
    explicit Click(const QString &folder) { d.pickFolder(folder); }
    void rename(const char *mode, const QString &newText, const QString &find = {}, const QString &with = {})
    {
        d.rename(mode, newText, find, with);
    }
};

} // namespace

class TestRealMounts : public QObject {
    Q_OBJECT
private slots:
    void renamesOnEveryFileSystem_data();
    void renamesOnEveryFileSystem();
};

// `many` files go through each mount at once; fusefat looks names up slowly.
void TestRealMounts::renamesOnEveryFileSystem_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("many");
    QTest::newRow("tmpfs") << "tmpfs" << 1000;
    QTest::newRow("ext4") << "ext4" << 1000;
    QTest::newRow("ext4 casefold") << "ext4 casefold" << 1000;
    QTest::newRow("exFAT through FUSE") << "exFAT through FUSE" << 1000;
    QTest::newRow("FAT through FUSE") << "FAT through FUSE" << 100;
    QTest::newRow("rclone through FUSE") << "rclone through FUSE" << 1000;
}

void TestRealMounts::renamesOnEveryFileSystem()
{
    QFETCH(QString, kind);
    QFETCH(int, many);
    QTemporaryDir base;
    Mount mount(kind, base.path());
    if (!mount.skipReason().isEmpty())
        QSKIP(qPrintable(mount.skipReason()));
    QVERIFY2(mount.mounted(), qPrintable(kind + " could not be mounted"));
    const QString root = mount.point();

    // Every selected file takes the prefix.
    {
        const QString folder = folderWith(root, "prefix", {"a.txt", "b.txt", "Photo.JPG", "README"});
        Click click(folder);
        QTest::mouseClick(click.d.button("全选"), Qt::LeftButton);
        click.rename("插入到原名称之前", "new_");
        QCOMPARE(filesIn(folder), (QStringList{"new_Photo.JPG", "new_README", "new_a.txt", "new_b.txt"}));
        QCOMPARE(contentOf(folder + "/new_a.txt"), QByteArray("a.txt"));
    }

    // Many files through whatever way the mount takes: every content intact.
    {
        QStringList names;
        for (int i = 0; i < many; ++i)
            names << QStringLiteral("f%1.txt").arg(i);
        const QString folder = folderWith(root, "many", names);
        Click click(folder);
        QTest::mouseClick(click.d.button("全选"), Qt::LeftButton);
        click.rename("插入到原名称之前", "new_");
        QCOMPARE(filesIn(folder).size(), names.size());
        for (const QString &name : names)
            QCOMPARE(contentOf(folder + "/new_" + name), name.toUtf8());
    }

    // Taken names stay untouched, whatever holds them.
    {
        const QString folder = folderWith(root, "taken", {"a.txt", "b.txt", "c.txt", "new_a.txt"});
        QVERIFY(QDir(folder).mkdir("new_b.txt"));
        const bool links = ::symlink("nowhere", QFile::encodeName(folder + "/new_c.txt").constData()) == 0;
        const ino_t takenInode = inodeOf(folder + "/new_a.txt");
        Click click(folder);
        click.d.selectNames({"a.txt", "b.txt", "c.txt"});
        click.rename("插入到原名称之前", "new_");
        QCOMPARE(contentOf(folder + "/new_a.txt"), QByteArray("new_a.txt"));
        QCOMPARE(inodeOf(folder + "/new_a.txt"), takenInode);
        QCOMPARE(contentOf(folder + "/a.txt"), QByteArray("a.txt"));
        QCOMPARE(contentOf(folder + "/b.txt"), QByteArray("b.txt"));
        QVERIFY(QFileInfo(folder + "/new_b.txt").isDir());
        if (links) {
            QCOMPARE(contentOf(folder + "/c.txt"), QByteArray("c.txt"));
            QVERIFY(QFileInfo(folder + "/new_c.txt").isSymLink());
        } else {
            QCOMPARE(contentOf(folder + "/new_c.txt"), QByteArray("c.txt"));
        }
    }

    // Two rows to one name: the first takes it, the second keeps its own.
    {
        const QString folder = folderWith(root, "collide", {"x-1.txt", "x_1.txt"});
        Click click(folder);
        QTest::mouseClick(click.d.button("全选"), Qt::LeftButton);
        click.rename("替换指定字符", "", "-", "_");
        QCOMPARE(filesIn(folder), (QStringList{"x-1.txt", "x_1.txt"}));
        QCOMPARE(contentOf(folder + "/x_1.txt"), QByteArray("x_1.txt"));
    }

    // Only the letter case changes: exactly the new spelling, nothing left behind.
    {
        const QString folder = folderWith(root, "case", {"Photo.JPG"});
        Click click(folder);
        QTest::mouseClick(click.d.button("全选"), Qt::LeftButton);
        click.rename("替换指定字符", "", "Photo.JPG", "photo.jpg");
        QCOMPARE(filesIn(folder), QStringList{"photo.jpg"});
        QCOMPARE(contentOf(folder + "/photo.jpg"), QByteArray("Photo.JPG"));
    }

    // A name that is not UTF-8 keeps its bytes, where the file system takes one.
    {
        const QString folder = folderWith(root, "bytes", {});
        const std::string gbk = "\xd5\xd5\xc6\xac.jpg";
        const int fd = ::open((QFile::encodeName(folder).toStdString() + "/" + gbk).c_str(), O_CREAT | O_WRONLY, 0644);
        if (fd >= 0) {
            ::close(fd);
            Click click(folder);
            QTest::mouseClick(click.d.button("全选"), Qt::LeftButton);
            click.rename("插入到原名称之前", "new_");
            struct stat st {};
            QVERIFY(::lstat((QFile::encodeName(folder).toStdString() + "/new_" + gbk).c_str(), &st) == 0);
        }
    }

    // A file replaced by a folder between the listing and the click is left alone.
    {
        const QString folder = folderWith(root, "swapped", {"s.txt", "t.txt"});
        Click click(folder);
        QTest::mouseClick(click.d.button("全选"), Qt::LeftButton);
        QVERIFY(QFile::remove(folder + "/s.txt"));
        QVERIFY(QDir(folder).mkdir("s.txt"));
        click.rename("插入到原名称之前", "new_");
        QVERIFY(QFileInfo(folder + "/s.txt").isDir());
        QVERIFY(!QFileInfo::exists(folder + "/new_s.txt"));
        QCOMPARE(contentOf(folder + "/new_t.txt"), QByteArray("t.txt"));
    }

    // Nothing on the mount is ever left under a temporary name.
    QProcess find;
    find.start("find", {root, "-name", "~quillbox-*"});
    QVERIFY(find.waitForFinished());
    QCOMPARE(find.readAll(), QByteArray());
}

QTEST_MAIN(TestRealMounts)
#include "tst_realmounts.moc"

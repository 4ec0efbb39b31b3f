// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <unistd.h>

// Runs a command; false when it cannot start or exits non-zero.
inline bool run(const QString &program, const QStringList &arguments, QString *output = nullptr)
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

inline QString missingTool(const QStringList &tools)
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

// SPDX-License-Identifier: GPL-3.0-or-later

// Times the rename window on large folders against a plain system-call loop and
// Debian's perl rename. Prints its figures; never fails a build.
// Usage: bench_rename [folder-on-disk [folder-on-a-FUSE-mount]]
#include "FileJournalStore.h"
#include "FolderPicker.h"
#include "MessageBox.h"
#include "RenameWindow.h"
#include "SystemServices.h"
#include "WindowRef.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

// What the benchmark answers in place of a person.
struct SilentMessages : MessageBox {
    bool show(const QString &, MsgStyle, const QString &) override { return true; }
};
struct AnsweringPicker : FolderPicker {
    QString folder;
    std::optional<QString> pick(const QString &) override { return folder; }
};

double secondsOf(const std::function<void()> &work)
{
    QElapsedTimer clock;
    clock.start();
    work();
    QApplication::processEvents();
    return clock.nsecsElapsed() / 1e9;
}

void makeFolder(const QString &path, int count)
{
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    const std::string base = path.toStdString() + "/photo_";
    for (int i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "%06d.jpg", i);
        ::close(::open((base + name).c_str(), O_CREAT | O_WRONLY, 0644));
    }
}

std::vector<std::string> readNames(const std::string &folder)
{
    std::vector<std::string> names;
    DIR *dir = opendir(folder.c_str());
    while (const dirent *entry = readdir(dir))
        if (entry->d_name[0] != '.')
            names.emplace_back(entry->d_name);
    closedir(dir);
    return names;
}

// The floor: read the folder, rename every file with one system call each;
// a plain rename where the file system lacks RENAME_NOREPLACE, as FUSE mounts do.
double plainLoop(const QString &folder, const std::string &prefix)
{
    return secondsOf([&] {
        const std::string path = folder.toStdString();
        const int fd = open(path.c_str(), O_PATH | O_DIRECTORY);
        bool flag = true;
        for (const std::string &name : readNames(path)) {
            const std::string to = prefix + name;
            if (flag && renameat2(fd, name.c_str(), fd, to.c_str(), RENAME_NOREPLACE) == 0)
                continue;
            flag = flag && errno != EINVAL;
            if (!flag)
                renameat(fd, name.c_str(), fd, to.c_str());
        }
        close(fd);
    });
}

// The peer: Debian's perl rename, reading the names from its standard input.
double perlRename(const QString &folder, const QString &prefix)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("file-rename"));
    if (program.isEmpty())
        return -1;
    QByteArray input;
    for (const std::string &name : readNames(folder.toStdString()))
        input.append(name.c_str(), qsizetype(name.size() + 1));
    return secondsOf([&] {
        QProcess perl;
        perl.setWorkingDirectory(folder);
        perl.start(program, {QStringLiteral("-0"), QStringLiteral("s/^/%1/").arg(prefix)});
        perl.write(input);
        perl.closeWriteChannel();
        perl.waitForFinished(-1);
    });
}

struct Figures {
    double list, selectAll, invertBlock, invertAlternating, click, floor, perl;
};

Figures measure(const QString &folder, int count)
{
    makeFolder(folder, count);
    SystemServices system;
    const Services real = system.services();
    SilentMessages messages;
    AnsweringPicker picker;
    // The journal where a user's would be: on the disk.
    QTemporaryDir state(QDir::currentPath() + QStringLiteral("/bench-state-XXXXXX"));
    FileJournalStore journal(state.filePath(QStringLiteral("last-batch.journal")));
    const Services services{messages,   picker,      real.lister,    real.renamer, real.settings,
                            real.links, real.beeper, real.instances, journal};
    WindowRef about([] { return nullptr; });
    RenameWindow window(services, about);
    window.show();
    QApplication::processEvents();
    auto *list = window.findChild<QListView *>(QStringLiteral("ListBox1"));
    auto *selection = list->selectionModel();
    auto click = [&](const char *name) { window.findChild<QPushButton *>(QString::fromUtf8(name))->click(); };

    Figures f{};
    picker.folder = folder;
    f.list = secondsOf(
        [&] { QMetaObject::invokeMethod(window.findChild<QLineEdit *>(QStringLiteral("路径")), "pickRequested"); });
    f.selectAll = secondsOf([&] { click("全选"); });

    selection->clearSelection();
    selection->select(QItemSelection(list->model()->index(0, 0), list->model()->index(count / 3, 0)),
                      QItemSelectionModel::Select);
    f.invertBlock = secondsOf([&] { click("反选"); });

    QItemSelection alternating;
    for (int row = 0; row < count; row += 2)
        alternating.append(QItemSelectionRange(list->model()->index(row, 0)));
    selection->clearSelection();
    selection->select(alternating, QItemSelectionModel::Select);
    f.invertAlternating = secondsOf([&] { click("反选"); });

    click("全选");
    window.findChild<QRadioButton *>(QStringLiteral("插入到原名称之前"))->setChecked(true);
    window.findChild<QLineEdit *>(QStringLiteral("新名称"))->setText(QStringLiteral("a_"));
    f.click = secondsOf([&] { click("CommandButton1"); });
    if (list->model()->rowCount() != count || readNames(folder.toStdString()).front().rfind("a_", 0) != 0)
        std::printf("  warning: the click did not rename every file\n");

    f.floor = plainLoop(folder, "b_");
    f.perl = perlRename(folder, QStringLiteral("c_"));
    QDir(folder).removeRecursively();
    return f;
}

void report(const char *where, int count, const Figures &f)
{
    std::printf("%-5s %7d files  list %6.3f s  select all %6.3f s  invert block %6.3f s  invert alternating %6.3f s\n",
                where, count, f.list, f.selectAll, f.invertBlock, f.invertAlternating);
    std::printf("%-5s %7d files  rename click %6.3f s  plain loop %6.3f s  perl rename %6.3f s  "
                "click/loop %.2fx  perl/click %.2fx\n",
                where, count, f.click, f.floor, f.perl, f.click / f.floor, f.perl > 0 ? f.perl / f.click : 0.0);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString disk = args.size() > 1 ? args[1] : QDir::currentPath() + QStringLiteral("/bench-folder");
    for (int count : {10000, 100000}) {
        report("shm", count, measure(QStringLiteral("/dev/shm/quillbox-bench"), count));
        report("disk", count, measure(disk, count));
    }
    // A FUSE mount is slow for every program; 10,000 files tell the ratio, and
    // what the no-overwrite fallback (placeholder, rename and checks) costs a
    // file beyond the bare renameat of the loop.
    if (args.size() > 2) {
        constexpr int count = 10000;
        const Figures fuse = measure(args[2] + QStringLiteral("/quillbox-bench"), count);
        report("fuse", count, fuse);
        std::printf("fuse  fallback cost %.3f ms a file\n", (fuse.click - fuse.floor) * 1000 / count);
    }
    return 0;
}

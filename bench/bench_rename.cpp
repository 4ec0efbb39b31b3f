// SPDX-License-Identifier: GPL-3.0-or-later

// Times the rename window on large folders against a plain system-call loop and
// Debian's perl rename. Prints its figures; never fails a build.
// Usage: bench_rename [folder-on-disk, or - for none [folder-on-a-FUSE-mount]]
#include "FileJournalStore.h"
#include "FolderPicker.h"
#include "MessageBox.h"
#include "ProgressBox.h"
#include "RenameWindow.h"
#include "SystemServices.h"
#include "WindowRef.h"

#include <QAction>
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
#include <QTableView>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What the benchmark answers in place of a person.
struct SilentMessages : MessageBox {
    bool show(const QString &, MsgStyle, const QString &) override { return true; }
    Answer ask(const QString &, const QString &) override { return Answer::Yes; }
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

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// A fresh folder of `count` files that has been still for a moment, as any
// folder a person picks has: a folder changed in the last second is read again
// before its renames.
void makeSettledFolder(const QString &path, int count)
{
    makeFolder(path, count);
    QThread::msleep(1100);
}

// Shows nothing and never stops: the click as it ran before it had a box.
struct NoProgress : ProgressBox {
    void begin(std::size_t, const QString &, bool) override {}
    bool advance(std::size_t) override { return true; }
    void end() override {}
};

// The real window on the system's services, answering every box with OK;
// `withProgress` false leaves its progress box out.
struct Bench {
    explicit Bench(bool withProgress = true)
        : progress(withProgress ? static_cast<ProgressBox &>(real.progress) : none)
    {
        window.show();
        QApplication::processEvents();
        list = window.findChild<QListView *>(QStringLiteral("ListBox1"));
    }
    SystemServices system;
    NoProgress none;
    SilentMessages messages;
    AnsweringPicker picker;
    // The journal where a user's would be: on the disk.
    QTemporaryDir state{QDir::currentPath() + QStringLiteral("/bench-state-XXXXXX")};
    FileJournalStore journal{state.filePath(QStringLiteral("last-batch.journal"))};
    Services real = system.services();
    ProgressBox &progress;
    Services services{messages,   picker,      real.lister,    real.renamer, real.settings,
                      real.links, real.beeper, real.instances, journal,      progress};
    WindowRef about{[] { return nullptr; }};
    RenameWindow window{services, about};
    QListView *list = nullptr;
    void click(const char *name) { window.findChild<QPushButton *>(QString::fromUtf8(name))->click(); }
    double listFolder(const QString &folder)
    {
        picker.folder = folder;
        return secondsOf(
            [&] { QMetaObject::invokeMethod(window.findChild<QLineEdit *>(QStringLiteral("路径")), "pickRequested"); });
    }
    void prepareClick(const QString &prefix) { prepare("插入到原名称之前", prefix); }
    // Every row selected, a naming mode and its texts.
    void prepare(const char *mode, const QString &newText, const QString &find = {}, const QString &with = {})
    {
        click("全选");
        window.findChild<QRadioButton *>(QString::fromUtf8(mode))->setChecked(true);
        window.findChild<QLineEdit *>(QStringLiteral("新名称"))->setText(newText);
        window.findChild<QLineEdit *>(QStringLiteral("TextBox1"))->setText(find);
        window.findChild<QLineEdit *>(QStringLiteral("TextBox2"))->setText(with);
    }
    void sortByName()
    {
        for (QAction *action : list->actions())
            if (action->text() == QStringLiteral("按名称排序"))
                action->trigger();
    }
};

struct Selecting {
    double list, selectAll, invertBlock, invertAlternating, preview, sortByName, sortByTime;
    double previewKey;            // the preview window showing one more typed character
    double windowMiB, previewMiB; // the process's resident memory before and with the preview window
};

// What the process holds in memory now, in MiB.
double residentMiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    return -1;
}

// Listing, selecting and the preview's first tip over a whole selection.
Selecting measureSelecting(const QString &folder, int count)
{
    makeSettledFolder(folder, count);
    Bench bench;
    Selecting f{};
    f.list = bench.listFolder(folder);
    f.selectAll = secondsOf([&] { bench.click("全选"); });
    QItemSelectionModel *selection = bench.list->selectionModel();
    QAbstractItemModel *model = bench.list->model();
    selection->clearSelection();
    selection->select(QItemSelection(model->index(0, 0), model->index(count / 3, 0)), QItemSelectionModel::Select);
    f.invertBlock = secondsOf([&] { bench.click("反选"); });
    QItemSelection alternating;
    for (int row = 0; row < count; row += 2)
        alternating.append(QItemSelectionRange(model->index(row, 0)));
    selection->clearSelection();
    selection->select(alternating, QItemSelectionModel::Select);
    f.invertAlternating = secondsOf([&] { bench.click("反选"); });
    bench.prepareClick(QStringLiteral("a_"));
    f.preview = secondsOf([&] {
        if (model->index(count - 1, 0).data(Qt::ToolTipRole).toString().isEmpty())
            std::printf("  warning: the last row has no tip\n");
    });
    f.windowMiB = residentMiB();
    for (QAction *action : bench.list->actions())
        if (action->text() == QStringLiteral("预览新名称"))
            action->trigger();
    QApplication::processEvents();
    f.previewMiB = residentMiB();
    auto *rows = bench.window.findChild<QTableView *>(QStringLiteral("rows"));
    auto *newName = bench.window.findChild<QLineEdit *>(QStringLiteral("新名称"));
    f.previewKey = secondsOf([&] {
        newName->setText(QStringLiteral("a_b"));
        while (!rows->model()->index(count - 1, 1).data().toString().startsWith(QStringLiteral("a_b")))
            QApplication::processEvents();
    });
    const auto sortBy = [&](const QString &order) {
        for (QAction *action : bench.list->actions())
            if (action->text() == order)
                return secondsOf([&] { action->trigger(); });
        return -1.0;
    };
    f.sortByName = sortBy(QStringLiteral("按名称排序"));
    f.sortByTime = sortBy(QStringLiteral("按修改时间排序"));
    QDir(folder).removeRecursively();
    return f;
}

// One click on a fresh folder, listed first, timed alone.
double measureClick(const QString &folder, int count, bool withProgress = true)
{
    makeSettledFolder(folder, count);
    Bench bench(withProgress);
    bench.listFolder(folder);
    bench.prepareClick(QStringLiteral("a_"));
    const double seconds = secondsOf([&] { bench.click("CommandButton1"); });
    if (bench.list->model()->rowCount() != count || readNames(folder.toStdString()).front().rfind("a_", 0) != 0)
        std::printf("  warning: the click did not rename every file\n");
    QDir(folder).removeRecursively();
    return seconds;
}

double measureLoop(const QString &folder, int count)
{
    makeSettledFolder(folder, count);
    const double seconds = plainLoop(folder, "b_");
    QDir(folder).removeRecursively();
    return seconds;
}

double measurePerl(const QString &folder, int count)
{
    makeSettledFolder(folder, count);
    const double seconds = perlRename(folder, QStringLiteral("c_"));
    QDir(folder).removeRecursively();
    return seconds;
}

// Files named `prefix`1 ... up to `count`, and "a.jpg" listed first by name.
void makeNumberedFolder(const QString &path, int count, const char *prefix)
{
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    ::close(::open((path.toStdString() + "/a.jpg").c_str(), O_CREAT | O_WRONLY, 0644));
    for (int i = 1; i < count; ++i)
        ::close(
            ::open((path.toStdString() + "/" + prefix + std::to_string(i) + ".jpg").c_str(), O_CREAT | O_WRONLY, 0644));
    QThread::msleep(1100);
}

// Renumbering `count` files sorted by name into n1.jpg ...: a shift where the
// files are n1.jpg ... already (every name is freed by the row below), none
// where they are m1.jpg ....
double measureRenumbering(const QString &folder, int count, const char *prefix)
{
    makeNumberedFolder(folder, count, prefix);
    Bench bench;
    bench.listFolder(folder);
    bench.sortByName();
    bench.prepare("替换原文件名", QStringLiteral("n"));
    const double seconds = secondsOf([&] { bench.click("CommandButton1"); });
    const std::vector<std::string> names = readNames(folder.toStdString());
    if (std::count_if(names.begin(), names.end(), [](const std::string &n) { return n[0] == 'n'; }) != count)
        std::printf("  warning: the renumbering did not rename every file\n");
    QDir(folder).removeRecursively();
    return seconds;
}

void reportShift(const char *where, const QString &folder, int count, int rounds)
{
    std::vector<double> ratios, shifted, unshifted;
    for (int round = 0; round < rounds; ++round) {
        const bool shiftFirst = round % 2 == 0;
        const double first = measureRenumbering(folder, count, shiftFirst ? "n" : "m");
        const double second = measureRenumbering(folder, count, shiftFirst ? "m" : "n");
        shifted.push_back(shiftFirst ? first : second);
        unshifted.push_back(shiftFirst ? second : first);
        ratios.push_back(shifted.back() / unshifted.back());
    }
    std::printf("%-5s %7d files  renumbering, median of %d rounds: a shift %6.3f s  none %6.3f s  shift/none %.2fx\n",
                where, count, rounds, median(shifted), median(unshifted), median(ratios));
    std::fflush(stdout);
}

// The safe floor where there is no RENAME_NOREPLACE: claim the new name with
// an empty placeholder, then move the file onto it.
double placeholderLoop(const QString &folder, const std::function<std::string(const std::string &)> &newName)
{
    return secondsOf([&] {
        const std::string path = folder.toStdString();
        const int fd = open(path.c_str(), O_PATH | O_DIRECTORY);
        for (const std::string &name : readNames(path)) {
            const std::string to = newName(name);
            if (mknodat(fd, to.c_str(), S_IFREG | 0600, 0) == 0)
                renameat(fd, name.c_str(), fd, to.c_str());
        }
        close(fd);
    });
}

// A card's photos, P001.JPG ...
void makeCardFolder(const QString &path, int count)
{
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    for (int i = 1; i <= count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/P%03d.JPG", i);
        ::close(::open((path.toStdString() + name).c_str(), O_CREAT | O_WRONLY, 0644));
    }
}

// On a FUSE mount: a batch that changes the case of every name against one
// that puts a prefix before them, and the prefix against its safe floor.
void reportCard(const QString &mount, int count)
{
    const QString folder = mount + QStringLiteral("/quillbox-card");
    const auto click = [&](const char *mode, const QString &newText, const QString &find, const QString &with) {
        makeCardFolder(folder, count);
        Bench bench;
        bench.listFolder(folder);
        bench.prepare(mode, newText, find, with);
        const double seconds = secondsOf([&] { bench.click("CommandButton1"); });
        const std::vector<std::string> names = readNames(folder.toStdString());
        if (std::count_if(
                names.begin(), names.end(),
                [](const std::string &n) { return n.rfind("P", 0) == 0 && n.find(".JPG") != std::string::npos; })
            != 0)
            std::printf("  warning: the card's batch did not rename every file\n");
        QDir(folder).removeRecursively();
        return seconds;
    };
    const double caseOnly = click("替换指定字符", QString(), QStringLiteral(".JPG"), QStringLiteral(".jpg"));
    const double prefix = click("插入到原名称之前", QStringLiteral("a_"), QString(), QString());
    makeCardFolder(folder, count);
    const double floor = placeholderLoop(folder, [](const std::string &name) { return "b_" + name; });
    QDir(folder).removeRecursively();
    std::printf("fuse  %s  %d files  case only %6.3f s (%.1f ms a file)  prefix %6.3f s (%.1f ms a file)  "
                "case/prefix %.2fx  placeholder floor %6.3f s  prefix/floor %.2fx\n",
                qPrintable(mount), count, caseOnly, caseOnly * 1000 / count, prefix, prefix * 1000 / count,
                caseOnly / prefix, floor, prefix / floor);
    std::fflush(stdout);
}

// Click and plain loop take turns on fresh folders, the order swapped each
// round, so that what the machine does meanwhile falls on both alike.
void report(const char *where, const QString &folder, int count, int rounds)
{
    const Selecting s = measureSelecting(folder, count);
    std::printf("%-5s %7d files  list %6.3f s  select all %6.3f s  invert block %6.3f s  invert alternating %6.3f s"
                "  preview %6.3f s  sort by name %6.3f s  by time %6.3f s\n",
                where, count, s.list, s.selectAll, s.invertBlock, s.invertAlternating, s.preview, s.sortByName,
                s.sortByTime);
    std::printf("%-5s %7d files  preview window: one typed character %6.3f s  memory %.0f MiB, window alone %.0f MiB "
                "(%.2fx)\n",
                where, count, s.previewKey, s.previewMiB, s.windowMiB, s.previewMiB / s.windowMiB);
    std::vector<double> clicks, loops, ratios, bare, boxCosts;
    for (int round = 0; round < rounds; ++round) {
        double click = 0, loop = 0, noBox = 0;
        if (round % 2 == 0) {
            click = measureClick(folder, count);
            noBox = measureClick(folder, count, false);
            loop = measureLoop(folder, count);
        } else {
            loop = measureLoop(folder, count);
            noBox = measureClick(folder, count, false);
            click = measureClick(folder, count);
        }
        clicks.push_back(click);
        loops.push_back(loop);
        ratios.push_back(click / loop);
        bare.push_back(noBox);
        boxCosts.push_back(click / noBox);
    }
    std::printf("%-5s %7d files  median of %d rounds: click %6.3f s  without its progress box %6.3f s  "
                "with/without %.3fx\n",
                where, count, rounds, median(clicks), median(bare), median(boxCosts));
    const double perl = count <= 100000 ? measurePerl(folder, count) : -1;
    std::printf("%-5s %7d files  median of %d rounds: rename click %6.3f s  plain loop %6.3f s  click/loop %.2fx "
                "(from %.2fx to %.2fx)  perl rename %6.3f s\n",
                where, count, rounds, median(clicks), median(loops), median(ratios),
                *std::min_element(ratios.begin(), ratios.end()), *std::max_element(ratios.begin(), ratios.end()), perl);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString disk = args.size() > 1 ? args[1] : QDir::currentPath() + QStringLiteral("/bench-folder");
    int rounds = qEnvironmentVariableIntValue("QUILLBOX_BENCH_ROUNDS");
    if (rounds <= 0)
        rounds = 5;
    // QUILLBOX_BENCH_COUNTS=100000 measures one size only.
    QList<int> counts{10000, 100000, 1000000};
    if (const QString only = qEnvironmentVariable("QUILLBOX_BENCH_COUNTS"); !only.isEmpty()) {
        counts.clear();
        for (const QString &count : only.split(QLatin1Char(',')))
            counts << count.toInt();
    }
    for (int count : counts) {
        report("shm", QStringLiteral("/dev/shm/quillbox-bench"), count, rounds);
        if (disk != QLatin1String("-"))
            report("disk", disk, count, rounds);
    }
    // A renumbering that shifts every name, against one that shifts none.
    constexpr int shifted = 100000;
    reportShift("shm", QStringLiteral("/dev/shm/quillbox-bench"), shifted, rounds);
    if (disk != QLatin1String("-"))
        reportShift("disk", disk, shifted, rounds);
    // A FUSE mount is slow for every program; 10,000 files tell the ratio, and
    // what the no-overwrite fallback (placeholder, rename and checks) costs a
    // file beyond the bare renameat of the loop. Every further mount gets the
    // card's batches.
    for (qsizetype mount = 3; mount < args.size(); ++mount)
        reportCard(args[mount], 100);
    if (args.size() > 2) {
        constexpr int count = 10000;
        const QString fuse = args[2] + QStringLiteral("/quillbox-bench");
        const double click = measureClick(fuse, count);
        const double loop = measureLoop(fuse, count);
        std::printf("fuse  %7d files  rename click %6.3f s  plain loop %6.3f s  click/loop %.2fx\n", count, click, loop,
                    click / loop);
        std::printf("fuse  fallback cost %.3f ms a file\n", (click - loop) * 1000 / count);
        // The card's batches at this size: what each file's look and the
        // temporary names a case change takes cost on the mount.
        reportCard(args[2], count);
    }
    return 0;
}

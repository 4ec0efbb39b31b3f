// SPDX-License-Identifier: GPL-3.0-or-later

#include "RenameWindowDriver.h"

#include "FileJournalStore.h"
#include "QtProgressBox.h"
#include "RenameJournal.h"
#include "RenameSession.h"
#include "posix/PosixFileRenamer.h"

#include <QAccessible>
#include <QCheckBox>
#include <QHelpEvent>
#include <QMenu>
#include <QProcess>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QThread>
#include <QToolTip>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

Q_DECLARE_METATYPE(Answer)

namespace {

// A temporary folder listed into a shown rename window.
struct ListedFolder {
    QTemporaryDir dir;
    RenameWindowDriver d;

    explicit ListedFolder(const QStringList &names, JournalStore *journalOnDisk = nullptr)
        : d(journalOnDisk)
    {
        for (const QString &name : names)
            makeFile(dir.filePath(name), name.toUtf8());
        d.pickFolder(dir.path());
        d.fakes.messages.shown.clear();
    }
    void rename(const char *option, const QString &newText, const QString &find = {}, const QString &with = {})
    {
        d.rename(option, newText, find, with);
    }
    QStringList files() const { return filesIn(dir.path()); }
    QByteArray content(const QString &name) const
    {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

} // namespace

class TestRenameClick : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void aRenameNotKeptIsNamed();
    void unsafeNamesAreSkipped();
    void nonUtf8NamesKeepTheirBytes();
    void refreshAfterClick();
    void undoNeverOverwrites();
    void noJournalAsksFirst_data();
    void noJournalAsksFirst();
    void undoAfterARestart();
    void undoAfterACrashPartWay();
    void previewTips();
    void undoKeyWhereTheFocusIs();
    void ordersToNumberIn();
    void renumberingAsksToFreeNamesFirst_data();
    void renumberingAsksToFreeNamesFirst();
    void aLongClickCanBeStopped();
    void previewFollowsEveryChange();
};

// A mount without RENAME_NOREPLACE or hard links whose placeholder ends up
// over the file moved onto it: the first such file is named, the rest keep theirs.
void TestRenameClick::aRenameNotKeptIsNamed()
{
    struct WritesBack : PosixCalls {
        int renameNoReplace(int, const char *, const char *) override { return EINVAL; }
        int link(int, const char *, const char *) override { return EPERM; }
        int renameReplacing(int dirFd, const char *from, const char *to) override
        {
            const int err = PosixCalls::renameReplacing(dirFd, from, to);
            const int fd = ::openat(dirFd, to, O_WRONLY | O_TRUNC);
            ::close(fd);
            return err;
        }
    } calls;
    PosixFileRenamer renamer(calls);
    QTemporaryDir dir;
    for (const char *name : {"a.txt", "b.txt", "c.txt"})
        makeFile(dir.filePath(name), name);
    RenameWindowDriver d(nullptr, &renamer);
    d.pickFolder(dir.path());
    d.fakes.messages.shown.clear();
    QStringList expected = d.rows();
    const QString first = expected.takeFirst();
    expected << "new_" + first;
    expected.sort();
    d.selectRows({0, 1, 2});
    d.rename("插入到原名称之前", QStringLiteral("new_"));
    QCOMPARE(filesIn(dir.path()), expected);
    QCOMPARE(d.fakes.messages.shown.size(), std::size_t(1));
    QCOMPARE(
        d.fakes.messages.shown[0].text,
        QStringLiteral("“%1”改名为“new_%1”后，无法确认新名称下仍是原来的文件。其余文件没有再改名，请检查这个文件。")
            .arg(first));
    // Its name moved all the same, so undo takes it back.
    QTest::keyClick(d.list(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(filesIn(dir.path()), (QStringList{"a.txt", "b.txt", "c.txt"}));
}

void TestRenameClick::unsafeNamesAreSkipped()
{
    ListedFolder f({"a.txt", "b.txt"});
    QVERIFY(QDir(f.dir.path()).mkdir("sub"));
    f.d.selectNames({"a.txt"});
    f.rename("插入到原名称之前", QStringLiteral("sub/"));
    f.d.selectNames({"a.txt"});
    f.rename("插入到原名称之前", QStringLiteral("../"));
    f.d.selectNames({"b.txt"});
    f.rename("替换指定字符", QString(), QStringLiteral("b.txt"), QStringLiteral(".."));
    QCOMPARE(f.files(), (QStringList{"a.txt", "b.txt"}));
    QVERIFY(QDir(f.dir.filePath("sub")).isEmpty());
    QVERIFY(f.d.fakes.messages.shown.empty());

    // A listed link to a file is renamed as the link; what it leads to stays.
    QVERIFY(QFile::link("b.txt", f.dir.filePath("link.txt")));
    f.d.pickFolder(f.dir.path());
    f.d.selectNames({"link.txt"});
    f.rename("插入到原名称之前", QStringLiteral("new_"));
    QCOMPARE(QFile::symLinkTarget(f.dir.filePath("new_link.txt")), f.dir.filePath("b.txt"));
    QCOMPARE(f.content("b.txt"), QByteArray("b.txt"));
}

void TestRenameClick::nonUtf8NamesKeepTheirBytes()
{
    QTemporaryDir dir;
    const std::string gbk = "\xd5\xd5\xc6\xac.jpg";
    const int fd = ::open((dir.path().toStdString() + "/" + gbk).c_str(), O_CREAT | O_WRONLY, 0644);
    QVERIFY(fd >= 0);
    ::close(fd);
    RenameWindowDriver d;
    d.pickFolder(dir.path());
    QCOMPARE(d.rows(), QStringList{QStringLiteral("照片.jpg")});
    QCOMPARE(d.field("路径")->text(), dir.path());
    QTest::mouseClick(d.button("全选"), Qt::LeftButton);
    QTest::mouseClick(d.option("插入到原名称之后"), Qt::LeftButton);
    d.field("新名称")->setText(QStringLiteral("_新"));
    QTest::mouseClick(d.button("CommandButton1"), Qt::LeftButton);
    QCOMPARE(d.rows(), QStringList{QStringLiteral("照片_新.jpg")}); // the name stays GBK, and reads as such
    const std::string expected = dir.path().toStdString() + "/\xd5\xd5\xc6\xac_\xd0\xc2.jpg";
    QVERIFY(::access(expected.c_str(), F_OK) == 0);
    QCOMPARE(d.model()->rowCount(), 1);
    ::unlink(expected.c_str()); // QTemporaryDir cannot name it

    // A character cut short at a name's end keeps its bytes, and shows as one replacement character.
    for (const std::string name : {"caf\xe9", "\xb2\xe2\xb2"})
        ::close(::open((dir.path().toStdString() + "/" + name).c_str(), O_CREAT | O_WRONLY, 0644));
    d.pickFolder(dir.path());
    QStringList shown = d.rows();
    shown.sort();
    QCOMPARE(shown, (QStringList{QStringLiteral("caf\uFFFD"), QStringLiteral("测\uFFFD")}));
    QTest::mouseClick(d.button("全选"), Qt::LeftButton);
    d.rename("插入到原名称之前", QStringLiteral("x_"));
    for (const std::string name : {"x_caf\xe9", "x_\xb2\xe2\xb2"}) {
        QVERIFY2(::access((dir.path().toStdString() + "/" + name).c_str(), F_OK) == 0, name.c_str());
        ::unlink((dir.path().toStdString() + "/" + name).c_str());
    }

    // A GBK folder reads as such in the folder field.
    const std::string folder = dir.path().toStdString() + "/\xd5\xd5\xc6\xac";
    QVERIFY(::mkdir(folder.c_str(), 0700) == 0);
    ::close(::open((folder + "/a").c_str(), O_CREAT | O_WRONLY, 0644));
    d.window.startWithFolder(folder);
    QCOMPARE(d.field("路径")->text(), dir.path() + QStringLiteral("/照片"));
    ::unlink((folder + "/a").c_str());
    ::rmdir(folder.c_str());

    // Control characters show as visible symbols, and stay on disk.
    makeFile(dir.filePath("line\nfeed\t\x7f.txt"));
    d.pickFolder(dir.path());
    QCOMPARE(d.rows(), QStringList{QStringLiteral("line␊feed␉␡.txt")});
    d.selectRows({0});
    d.rename("插入到原名称之前", QStringLiteral("new_"));
    QVERIFY(QFileInfo::exists(dir.filePath("new_line\nfeed\t\x7f.txt")));
}

void TestRenameClick::refreshAfterClick()
{
    ListedFolder f({"a.txt", "b.txt"});
    makeFile(f.dir.filePath("added.txt"));
    f.d.selectRows({});
    f.rename("插入到原名称之前", QStringLiteral("x"));
    QStringList rows = f.d.rows();
    rows.sort();
    QCOMPARE(rows, (QStringList{"a.txt", "added.txt", "b.txt"}));
    QVERIFY(f.d.selectedRows().isEmpty());
    QVERIFY(f.d.button("全选")->isEnabled());
    QCOMPARE(f.d.field("新名称")->text(), QStringLiteral("x"));

    // A folder that has gone leaves an empty list and no message.
    f.d.selectRows({0});
    QVERIFY(f.dir.remove());
    f.rename("插入到原名称之前", QStringLiteral("x"));
    QCOMPARE(f.d.model()->rowCount(), 0);
    QVERIFY(f.d.fakes.messages.shown.empty());
}

void TestRenameClick::undoNeverOverwrites()
{
    ListedFolder f({"a.txt", "b.txt", "c.txt"});
    QVERIFY(!f.d.list()->actions().at(0)->isEnabled());
    QTest::mouseClick(f.d.button("全选"), Qt::LeftButton);
    f.rename("插入到原名称之前", QStringLiteral("new_"));
    QCOMPARE(f.d.list()->actions().at(0)->text(), QStringLiteral("撤销上次重命名"));
    QVERIFY(f.d.list()->actions().at(0)->isEnabled());
    // a.txt is taken again meanwhile; b.txt's new name has gone; another file took c.txt's.
    makeFile(f.dir.filePath("a.txt"), "newcomer");
    QVERIFY(QFile::rename(f.dir.filePath("new_b.txt"), f.dir.filePath("moved.txt")));
    QVERIFY(QFile::rename(f.dir.filePath("new_c.txt"), f.dir.filePath("c.keep")));
    makeFile(f.dir.filePath("new_c.txt"), "impostor");
    QTest::keyClick(f.d.list(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.files(), (QStringList{"a.txt", "c.keep", "moved.txt", "new_a.txt", "new_c.txt"}));
    QCOMPARE(f.content("new_c.txt"), QByteArray("impostor"));
    QCOMPARE(f.content("a.txt"), QByteArray("newcomer"));
    QCOMPARE(f.content("new_a.txt"), QByteArray("a.txt"));
    QVERIFY(!f.d.list()->actions().at(0)->isEnabled());
    // One box says what did not come back, and why.
    QCOMPARE(f.d.fakes.messages.shown.size(), std::size_t(1));
    QCOMPARE(f.d.fakes.messages.shown[0].text,
             QStringLiteral("“%1”中的上次重命名只撤销了一部分：0 个文件已恢复原名，3 个文件仍是新名称。\n"
                            "原名称已被占用：1 个\n文件已不存在：1 个\n已换成另一个文件：1 个")
                 .arg(f.dir.path()));

    // A second undo does nothing.
    QVERIFY(QFile::rename(f.dir.filePath("moved.txt"), f.dir.filePath("new_b.txt")));
    QTest::keyClick(f.d.list(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.files(), (QStringList{"a.txt", "c.keep", "new_a.txt", "new_b.txt", "new_c.txt"}));
    QCOMPARE(f.d.fakes.messages.shown.size(), std::size_t(1));

    // A click whose every name is taken leaves the undo before it as it was.
    f.d.fakes.journal.text = "earlier";
    f.d.selectNames({"a.txt"});
    f.rename("插入到原名称之前", QStringLiteral("new_"));
    QCOMPARE(f.content("a.txt"), QByteArray("newcomer"));
    QCOMPARE(f.d.fakes.journal.text, std::optional<std::string>("earlier"));
}

// Where no journal can be written, one box asks before anything is renamed,
// and stays open while events run; 取消 renames nothing and keeps the undo
// before it, 确定 renames with nothing left to undo.
// Every way the journal can fail to be written reaches the one question; the
// journal's own place is left as it was found.
void TestRenameClick::noJournalAsksFirst_data()
{
    QTest::addColumn<QString>("place");
    QTest::addColumn<bool>("ok");
    QTest::newRow("a store that refuses, cancelled") << "" << false;
    QTest::newRow("a store that refuses, renamed anyway") << "" << true;
    QTest::newRow("a folder at the journal's name") << "folder" << true;
    QTest::newRow("a dangling link at the journal's name") << "dangling" << true;
    QTest::newRow("a folder at the lock's name") << "lock folder" << true;
    QTest::newRow("a read-only state folder") << "read-only" << true;
    QTest::newRow("a full state disk") << "full" << true;
}

void TestRenameClick::noJournalAsksFirst()
{
    QFETCH(QString, place);
    QFETCH(bool, ok);
    QTemporaryDir state;
    const QString path = state.filePath("quillbox/last-batch.journal");
    QVERIFY(QDir().mkpath(state.filePath("quillbox")));
    const QByteArray folder = QFile::encodeName(state.filePath("quillbox"));
    bool mounted = false;
    // Left as found, even where a check fails.
    const auto restore = [&] {
        if (std::exchange(mounted, false))
            QProcess::execute("umount", {folder});
        ::chmod(folder.constData(), 0700);
    };
    const auto restoreAtEnd = qScopeGuard(restore);
    if (place == "folder") {
        QVERIFY(QDir().mkpath(path + "/kept"));
    } else if (place == "dangling") {
        QVERIFY(QFile::link(state.filePath("nowhere"), path));
    } else if (place == "lock folder") {
        QVERIFY(QDir().mkpath(path + ".lock"));
    } else if (place == "read-only" && geteuid() != 0) {
        QVERIFY(::chmod(folder.constData(), 0500) == 0);
    } else if (!place.isEmpty()) {
        // Root writes through permissions: a mount is what stops it. A tmpfs
        // of one inode, its own folder's, is full.
        const QString options = place == "full" ? "nr_inodes=1,mode=0700" : "ro,mode=0700";
        mounted = geteuid() == 0 && QProcess::execute("mount", {"-t", "tmpfs", "-o", options, "tmpfs", folder}) == 0;
        if (!mounted)
            QSKIP("a mount of its own needs root");
    }
    {
        FileJournalStore store(path);
        ListedFolder f({"a.txt"}, place.isEmpty() ? nullptr : &store);
        if (place.isEmpty()) {
            f.d.fakes.journal.text = "earlier";
            f.d.fakes.journal.refuseStart = true;
        }
        f.d.fakes.messages.answer = ok;
        int polls = 0;
        f.d.fakes.messages.stayOpenUntil = [&] { return ++polls == 3; };
        f.d.selectRows({0});
        f.rename("插入到原名称之前", QStringLiteral("new_"));
        QCOMPARE(polls, 3);
        QCOMPARE(f.d.fakes.messages.shown.size(), std::size_t(1));
        QCOMPARE(f.d.fakes.messages.shown[0].text,
                 QStringLiteral("无法记录本次重命名，完成后将不能撤销。仍要重命名吗？"));
        QCOMPARE(f.d.fakes.messages.shown[0].style, MsgStyle::OkCancelExclamation);
        QCOMPARE(f.files(), QStringList{ok ? "new_a.txt" : "a.txt"});
        if (place.isEmpty())
            QCOMPARE(f.d.fakes.journal.text, ok ? std::nullopt : std::optional<std::string>("earlier"));
    }
    restore();
    QCOMPARE(QFileInfo::exists(path + "/kept"), place == "folder");
    QCOMPARE(QFileInfo(path).isSymLink(), place == "dangling");
    QCOMPARE(QFileInfo(path + ".lock").isDir(), place == "lock folder");
}

// The journal is on disk: a new start of the program undoes the last batch.
void TestRenameClick::undoAfterARestart()
{
    QTemporaryDir state;
    QTemporaryDir dir;
    const std::string gbk = "\xd5\xd5\xc6\xac.jpg";
    const std::string folder = QFile::encodeName(dir.path()).toStdString();
    ::close(::open((folder + "/" + gbk).c_str(), O_CREAT | O_WRONLY, 0644));
    makeFile(dir.filePath("a.txt"));
    {
        FileJournalStore journal(state.filePath("journal"));
        RenameWindowDriver d(&journal);
        d.pickFolder(dir.path());
        QTest::mouseClick(d.button("全选"), Qt::LeftButton);
        d.rename("替换原文件名", QStringLiteral("img"));
    }
    QVERIFY(!QFileInfo::exists(dir.filePath("a.txt")));
    struct stat st {};
    QVERIFY(::lstat((folder + "/" + gbk).c_str(), &st) != 0);

    FileJournalStore journal(state.filePath("journal"));
    // The batch ended, and the journal's last bytes tell so without reading it whole.
    QVERIFY(!journalMayBeInterrupted(journal.readEnd(journalClosingSpan).value_or("")));
    RenameWindowDriver d(&journal);
    QVERIFY(d.list()->actions().at(0)->isEnabled());
    QTest::keyClick(&d.window, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(QFileInfo::exists(dir.filePath("a.txt")));
    QVERIFY(::lstat((folder + "/" + gbk).c_str(), &st) == 0);
    QVERIFY(!QFileInfo::exists(dir.filePath("img1")) && !QFileInfo::exists(dir.filePath("img2")));
    QVERIFY(!QFileInfo::exists(dir.filePath("img1.txt")) && !QFileInfo::exists(dir.filePath("img2.txt")));
    // No folder is shown: the box names the one whose batch was undone.
    QCOMPARE(d.fakes.messages.shown.size(), std::size_t(1));
    QCOMPARE(d.fakes.messages.shown[0].text, QStringLiteral("已撤销在“%1”中的上次重命名。").arg(dir.path()));
}

// The program dies after the renames but before their marks reach the journal:
// undo finds the renamed files on disk.
void TestRenameClick::undoAfterACrashPartWay()
{
    QTemporaryDir dir;
    QStringList names;
    for (int i = 0; i < 2100; ++i)
        names << QStringLiteral("f%1").arg(i);
    for (const QString &name : names)
        makeFile(dir.filePath(name));
    makeFile(dir.filePath("new_taken"), "other");
    makeFile(dir.filePath("taken"), "mine");
    RenameWindowDriver d;
    d.pickFolder(dir.path());
    d.fakes.journal.acceptAppends = 1; // one block of marks arrives, the rest never does
    QTest::mouseClick(d.button("全选"), Qt::LeftButton);
    d.rename("插入到原名称之前", QStringLiteral("new_"));
    QCOMPARE(filesIn(dir.path()).filter(QRegularExpression("^f")).size(), 0);
    d.fakes.journal.acceptAppends = -1;
    QTest::keyClick(d.list(), Qt::Key_Z, Qt::ControlModifier);
    QStringList expected = names + QStringList{"new_taken", "taken"};
    expected.sort();
    QCOMPARE(filesIn(dir.path()), expected);
    QCOMPARE(d.content(dir.filePath("new_taken")), QByteArray("other"));

    // A file a crash left under its temporary name is listed under its own,
    // here one whose name ends the journal as a closing line would.
    QTemporaryDir stranded;
    const NameBytes temporary = "~quillbox-00000000000000a1";
    makeFile(stranded.filePath(QString::fromStdString(temporary)), "A");
    RenameWindowDriver next;
    next.fakes.journal.text = journalPlan(QFile::encodeName(stranded.path()).toStdString(), {}, {{"A\nE", "a\ne"}})
                              + journalBlock(journalIntent({0, FallbackStep::Temporary, temporary, "A\nE"}));
    next.pickFolder(stranded.path());
    QCOMPARE(next.rows(), QStringList{"A␊E"}); // the list shows a line break as ␊
    QCOMPARE(next.content(stranded.filePath("A\nE")), QByteArray("A"));
    // Mended once, the journal is not read whole again at the next pick.
    next.pickFolder(stranded.path());
    QCOMPARE(next.fakes.journal.wholeReads, 1);
    // A file under a temporary name that no journal names is told of before the list.
    makeFile(stranded.filePath("~quillbox-00000000000000b2"), "B");
    next.fakes.messages.shown.clear();
    next.pickFolder(stranded.path());
    QCOMPARE(next.fakes.messages.shown.size(), std::size_t(2));
    QCOMPARE(next.fakes.messages.shown[0].text,
             QStringLiteral("此文件夹中有 1 个文件仍在重命名中断时的临时名称下（如“~quillbox-00000000000000b2”），"
                            "没有记录能找回它的原名称，请查看内容后手动改名。"));
}

// A selected row's tip says what 确定 would do to it: under the mouse, at the
// row the keyboard makes current, and as the row's accessible description. An
// unselected row has none, and no row has one while the click would stop at a
// check. A file deleted after its tip was shown gets a tip that says so.
void TestRenameClick::previewTips()
{
    ListedFolder f({"a.jpg", "b.jpg"});
    QListView *list = f.d.list();
    const auto tipOf = [&](int row) {
        const QRect rect = list->visualRect(f.d.model()->index(row, 0));
        QHelpEvent help(QEvent::ToolTip, rect.center(), list->viewport()->mapToGlobal(rect.center()));
        QToolTip::hideText();
        QApplication::sendEvent(list->viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    const auto noTip = [&](int row) { return f.d.model()->index(row, 0).data(Qt::ToolTipRole).toString().isEmpty(); };
    const QString first = f.d.rows()[0];
    const QString renamed = QStringLiteral("按确定后改名为：img1.jpg（第 1 个选中的文件）");
    f.d.selectRows({0});
    QTest::mouseClick(f.d.option("替换原文件名"), Qt::LeftButton);
    QVERIFY(noTip(0)); // no new name yet: the click would ask for one
    f.d.field("新名称")->setText("img");
    QCOMPARE(tipOf(0), renamed);
    QVERIFY(noTip(1));

    list->setFocus();
    list->selectionModel()->setCurrentIndex(f.d.model()->index(1, 0), QItemSelectionModel::NoUpdate);
    QToolTip::hideText();
    QTest::keyClick(list, Qt::Key_Up, Qt::ControlModifier); // moves the current row, keeps the selection
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), renamed);
    QAccessibleInterface *rows = QAccessible::queryAccessibleInterface(list);
    QCOMPARE(rows->child(0)->text(QAccessible::Description), renamed);
    QCOMPARE(rows->child(1)->text(QAccessible::Description), QString());

    // Once the folder has been still long enough for its stamp to prove it unchanged.
    f.d.fakes.clockAhead = 2'000'000'000;
    QCOMPARE(tipOf(0), renamed);
    QVERIFY(QFile::remove(f.dir.filePath(first)));
    QCOMPARE(tipOf(0), QStringLiteral("将跳过：%1 已不存在").arg(first));

    // While the folder is still, a new text starts from the folder as read
    // for the last one; rows in another order read anew: with a.jpg shown
    // first, its new name is b.jpg's old one.
    ListedFolder g({"a.jpg", "b.jpg"});
    const QStringList shown = g.d.rows();
    for (int i = 0; i < 2; ++i) {
        const timespec times[2] = {{1000001 - i, 0}, {1000001 - i, 0}}; // oldest first is the other order
        QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(g.dir.filePath(shown[i])), times, 0) == 0);
    }
    g.d.pickFolder(g.dir.path());
    g.d.fakes.clockAhead = 2'000'000'000;
    QTest::mouseClick(g.d.button("全选"), Qt::LeftButton);
    QTest::mouseClick(g.d.option("替换指定字符"), Qt::LeftButton);
    g.d.field("TextBox1")->setText("a");
    g.d.field("TextBox2")->setText("b");
    QVERIFY(!g.d.model()->index(0, 0).data(Qt::ToolTipRole).toString().isEmpty());
    for (QAction *action : g.d.list()->actions())
        if (action->text() == QStringLiteral("按修改时间排序"))
            action->trigger();
    QCOMPARE(g.d.rows(), (QStringList{shown[1], shown[0]}));
    const int a = int(g.d.rows().indexOf("a.jpg"));
    QCOMPARE(g.d.model()->index(a, 0).data(Qt::ToolTipRole).toString(),
             a == 0 ? QStringLiteral("将跳过：b.jpg 已存在")
                    : QStringLiteral("将跳过：上面选中的 b.jpg 名称不变，b.jpg 仍被占用"));
}

// Ctrl+Z where the focus is: a text field with nothing of its own to undo
// undoes the last batch; one with typed text undoes its typing first.
void TestRenameClick::undoKeyWhereTheFocusIs()
{
    ListedFolder f({"a.txt"});
    QTest::mouseClick(f.d.button("全选"), Qt::LeftButton);
    f.rename("插入到原名称之前", QStringLiteral("n_"));
    QCOMPARE(f.files(), QStringList{"n_a.txt"});
    f.d.pickFolder(f.dir.path()); // listing puts the focus into 新名称
    QCOMPARE(QApplication::focusWidget(), f.d.field("新名称"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.files(), QStringList{"a.txt"});

    QTest::mouseClick(f.d.button("全选"), Qt::LeftButton);
    f.rename("插入到原名称之前", QStringLiteral("n_"));
    f.d.field("新名称")->setFocus();
    QTest::keyClicks(f.d.field("新名称"), "x");
    QTest::keyClick(f.d.field("新名称"), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.d.field("新名称")->text(), QStringLiteral("n_"));
    QCOMPARE(f.files(), QStringList{"n_a.txt"});
    f.d.field("路径")->setFocus();
    QTest::keyClick(f.d.field("路径"), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.files(), QStringList{"a.txt"});
}

// The list's context menu, from the Menu key or Shift+F10, puts the rows in
// name or time order or back; the numbers follow the order shown, and the
// order holds for the list read again after 确定.
void TestRenameClick::ordersToNumberIn()
{
    const QStringList byTime{"img2.jpg", "a.jpg", "img10.jpg", "B.jpg"};
    ListedFolder f(byTime);
    for (int i = 0; i < byTime.size(); ++i) {
        const timespec times[2] = {{1000000 + i, 0}, {1000000 + i, 0}};
        QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(f.dir.filePath(byTime[i])), times, 0) == 0);
    }
    const QStringList listed = f.d.rows();
    const auto choose = [&](Qt::Key key, Qt::KeyboardModifiers modifiers, const QString &item) {
        bool chosen = false;
        QTimer menuOpen;
        QObject::connect(&menuOpen, &QTimer::timeout, [&] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            for (QAction *action : menu ? menu->actions() : QList<QAction *>())
                if (action->text() == item && !chosen) {
                    chosen = true;
                    menu->setActiveAction(action);
                    QTest::keyClick(menu, Qt::Key_Return);
                }
        });
        menuOpen.start(10);
        f.d.list()->setFocus();
        if (key == Qt::Key_Menu) { // the platform turns the Menu key into this event
            QContextMenuEvent menu(QContextMenuEvent::Keyboard, {}, f.d.list()->viewport()->mapToGlobal(QPoint()));
            QApplication::sendEvent(f.d.list()->viewport(), &menu);
        } else {
            QTest::keyClick(f.d.window.windowHandle(), key, modifiers);
        }
        QTRY_VERIFY(chosen);
    };
    f.d.selectNames({"a.jpg", "img10.jpg"});
    QTest::mouseClick(f.d.option("替换原文件名"), Qt::LeftButton);
    f.d.field("新名称")->setText("p");
    choose(Qt::Key_Menu, Qt::NoModifier, QStringLiteral("按名称排序"));
    QCOMPARE(f.d.rows(), (QStringList{"a.jpg", "B.jpg", "img2.jpg", "img10.jpg"}));
    QCOMPARE(f.d.selectedRows(), (QList<int>{0, 3}));
    QCOMPARE(f.d.model()->index(3, 0).data(Qt::ToolTipRole).toString(),
             QStringLiteral("按确定后改名为：p2.jpg（第 2 个选中的文件）"));

    QTest::mouseClick(f.d.button("全选"), Qt::LeftButton);
    choose(Qt::Key_F10, Qt::ShiftModifier, QStringLiteral("按修改时间排序"));
    QCOMPARE(f.d.rows(), byTime);
    QTest::mouseClick(f.d.button("CommandButton1"), Qt::LeftButton);
    QCOMPARE(f.d.rows(), (QStringList{"p1.jpg", "p2.jpg", "p3.jpg", "p4.jpg"}));
    for (int i = 0; i < byTime.size(); ++i)
        QCOMPARE(f.content(QStringLiteral("p%1.jpg").arg(i + 1)), byTime[i].toUtf8());

    choose(Qt::Key_Menu, Qt::NoModifier, QStringLiteral("按文件系统顺序"));
    QTest::keyClick(f.d.list(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.d.rows(), listed);

    // Enough rows for the cores to share the sort keys and the times, each
    // time given by a permutation of the names.
    constexpr int count = 24000;
    QStringList byName;
    for (int i = 0; i < count; ++i)
        byName << QStringLiteral("n%1").arg(i);
    ListedFolder many(byName);
    QStringList manyByTime(count);
    for (int i = 0; i < count; ++i) {
        const int at = i * 7919 % count;
        const timespec times[2] = {{1000000 + at, 0}, {1000000 + at, 0}};
        QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(many.dir.filePath(byName[i])), times, 0) == 0);
        manyByTime[at] = byName[i];
    }
    const auto trigger = [&](const QString &order) {
        for (QAction *action : many.d.list()->actions())
            if (action->text() == order)
                action->trigger();
    };
    trigger(QStringLiteral("按名称排序"));
    QCOMPARE(many.d.rows(), byName);
    trigger(QStringLiteral("按修改时间排序"));
    QCOMPARE(many.d.rows(), manyByTime);
}

void TestRenameClick::renumberingAsksToFreeNamesFirst_data()
{
    QTest::addColumn<Answer>("answer");
    QTest::newRow("是: every file gets the name shown") << Answer::Yes;
    QTest::newRow("否: list order, skipping those") << Answer::No;
    QTest::newRow("取消: nothing") << Answer::Cancel;
}

// Renumbering a numbered folder, by keys, as a person does: the names the
// click's own rows give up are freed first where the question is answered 是,
// and Ctrl+Z takes the whole batch back.
void TestRenameClick::renumberingAsksToFreeNamesFirst()
{
    QFETCH(Answer, answer);
    QStringList before{"IMG_new1.jpg", "IMG_new2.jpg"};
    for (int n = 1; n <= 12; ++n)
        before << QStringLiteral("photo%1.jpg").arg(n);
    ListedFolder f(before);
    for (QAction *action : f.d.list()->actions())
        if (action->text() == QStringLiteral("按名称排序"))
            action->trigger();
    f.d.list()->setFocus();
    QTest::keyClick(f.d.list(), Qt::Key_A, Qt::ControlModifier);
    QTest::mouseClick(f.d.option("替换原文件名"), Qt::LeftButton);
    f.d.field("新名称")->setFocus();
    QTest::keyClicks(f.d.field("新名称"), "photo");
    QCOMPARE(f.d.model()->index(1, 0).data(Qt::ToolTipRole).toString(),
             QStringLiteral("先让出名称后改名为：photo2.jpg（第 2 个选中的文件）"));
    // The question stays open while timers fire, as a real one does.
    int polls = 0;
    f.d.fakes.messages.stayOpenUntil = [&] { return ++polls == 3; };
    f.d.fakes.messages.reply = answer;
    f.d.button("CommandButton1")->setFocus();
    QTest::keyClick(f.d.button("CommandButton1"), Qt::Key_Space);
    QCOMPARE(f.d.fakes.messages.asked.size(), 1);
    QVERIFY(
        f.d.fakes.messages.asked[0].startsWith(QStringLiteral("有 12 个文件的新名称正被本次要改名的其他文件占用。")));
    QVERIFY(f.d.fakes.messages.shown.empty());

    QStringList after = before;
    if (answer == Answer::Yes) {
        after.clear();
        for (int n = 1; n <= 14; ++n)
            after << QStringLiteral("photo%1.jpg").arg(n);
    } else if (answer == Answer::No) {
        after.removeAll("photo11.jpg");
        after.removeAll("photo12.jpg");
        after << "photo13.jpg"
              << "photo14.jpg";
    }
    after.sort();
    QCOMPARE(f.files(), after);
    QCOMPARE(f.content(answer == Answer::Yes ? "photo2.jpg" : "IMG_new2.jpg"), QByteArray("IMG_new2.jpg"));
    QCOMPARE(f.content(answer == Answer::Cancel ? "photo12.jpg" : "photo14.jpg"), QByteArray("photo12.jpg"));
    // Nothing renamed leaves the selection for another try.
    QCOMPARE(f.d.selectedRows().size(), answer == Answer::Cancel ? before.size() : 0);

    QTest::keyClick(f.d.list(), Qt::Key_Z, Qt::ControlModifier);
    before.sort();
    QCOMPARE(f.files(), before);
    for (const QString &name : before)
        QCOMPARE(f.content(name), name.toUtf8());
}

// A click slowed to a few milliseconds a file shows the real progress box,
// which repaints while it runs; a press of its 停止 ends the batch after the
// file in hand, and undo takes back exactly what was done.
void TestRenameClick::aLongClickCanBeStopped()
{
    struct Slow : PosixCalls {
        int renameNoReplace(int dirFd, const char *from, const char *to) override
        {
            QThread::msleep(4);
            return PosixCalls::renameNoReplace(dirFd, from, to);
        }
    } calls;
    PosixFileRenamer renamer(calls);
    FakeServices fakes;
    QtProgressBox progress;
    RenameSession session(fakes.messages, progress, *fakes.lister, renamer, fakes.journal);
    QTemporaryDir dir;
    QStringList before;
    for (int i = 0; i < 400; ++i) {
        before << QStringLiteral("f%1").arg(i, 3, 10, QLatin1Char('0'));
        makeFile(dir.filePath(before.back()), before.back().toUtf8());
    }
    QVERIFY(session.takeFolder(QFile::encodeName(dir.path()).toStdString()));
    fakes.messages.shown.clear();
    session.selectAll();
    session.setNaming(NamingMode::InsertBefore, {"x_", {}, {}});

    QString shown;
    QTimer press;
    QObject::connect(&press, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QProgressDialog *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || !shown.isEmpty())
            return;
        shown = box->labelText();
        for (QPushButton *button : box->findChildren<QPushButton *>())
            if (button->text() == QStringLiteral("停止"))
                QTest::mouseClick(button, Qt::LeftButton);
    });
    press.start(20);
    const ClickResult result = session.renameSelected();
    QVERIFY2(shown.startsWith(QStringLiteral("正在重命名：已处理 ")), qPrintable(shown));
    QVERIFY(shown.endsWith(QStringLiteral(" / 400 个文件\n") + dir.path()));
    const auto renamed = std::count_if(result.outcomes.begin(), result.outcomes.end(),
                                       [](const RenameOutcome &outcome) { return outcome.moved(); });
    QVERIFY2(renamed > 0 && renamed < 400, qPrintable(QString::number(renamed)));
    QCOMPARE(filesIn(dir.path()).size(), 400);
    QCOMPARE(int(session.rows().names().size()), 400);
    QVERIFY(!QApplication::activeModalWidget());

    press.stop();
    QVERIFY(session.undoLast());
    before.sort();
    QCOMPARE(filesIn(dir.path()), before);
    QVERIFY(fakes.messages.shown.empty());
}

namespace {
// What each notification for screen readers said as it came into view: a
// screen reader on the bus speaks it then (Qt tells the bus only while one
// listens, so this reads it off the widget as Qt would).
struct Heard : QObject {
    QStringList said;
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() == QEvent::Show && object->isWidgetType())
            if (QAccessibleInterface *told = QAccessible::queryAccessibleInterface(object);
                told && told->role() == QAccessible::Notification)
                said << told->text(QAccessible::Name);
        return false;
    }
};
} // namespace

// F5 opens the preview beside the window: every selected file's new name and
// state, following each typed key, with a filter for the rows that stay; after
// 确定 it shows what the click did, and screen readers hear it, as they hear
// what an undo did, with no window opened and the focus where it was. Its
// cells read on the accessibility bus, and Escape closes it.
void TestRenameClick::previewFollowsEveryChange()
{
    Heard heard;
    qApp->installEventFilter(&heard);
    ListedFolder f({"a.jpg", "b.jpg", "c.jpg", "x_b.jpg"});
    f.d.selectNames({"a.jpg", "b.jpg", "c.jpg"});
    QTest::keyClick(f.d.window.windowHandle(), Qt::Key_F5);
    auto *preview = f.d.window.findChild<QWidget *>(QStringLiteral("预览新名称"));
    QVERIFY(preview && preview->isVisible());
    auto *table = preview->findChild<QTableView *>(QStringLiteral("rows"));
    auto *counts = preview->findChild<QLabel *>(QStringLiteral("counts"));
    const auto rows = [&] {
        QStringList out;
        for (int row = 0; row < table->model()->rowCount(); ++row)
            out << table->model()->index(row, 0).data().toString() + " "
                       + table->model()->index(row, 1).data().toString() + " "
                       + table->model()->index(row, 2).data().toString();
        std::sort(out.begin(), out.end());
        return out;
    };
    QCOMPARE(rows(), QStringList()); // no new text: the click would stop at its check

    f.d.window.activateWindow();
    f.d.field("新名称")->setFocus();
    QTest::keyClick(f.d.field("新名称"), Qt::Key_X);
    QTRY_COMPARE(rows(), (QStringList{"a.jpg xa.jpg 改名", "b.jpg xb.jpg 改名", "c.jpg xc.jpg 改名"}));
    QTest::keyClick(f.d.field("新名称"), Qt::Key_Underscore, Qt::ShiftModifier);
    QTRY_COMPARE(rows(), (QStringList{"a.jpg x_a.jpg 改名", "b.jpg b.jpg 跳过（已存在）", "c.jpg x_c.jpg 改名"}));
    QCOMPARE(counts->text(), QStringLiteral("将改名 2 个，跳过 1 个"));
    preview->findChild<QCheckBox *>(QStringLiteral("onlySkipped"))->setChecked(true);
    QCOMPARE(rows(), QStringList{"b.jpg b.jpg 跳过（已存在）"});
    QAccessibleInterface *cells = QAccessible::queryAccessibleInterface(table);
    QVERIFY(cells && cells->tableInterface());
    QCOMPARE(cells->tableInterface()->cellAt(0, 2)->text(QAccessible::Name), QStringLiteral("跳过（已存在）"));
    preview->findChild<QCheckBox *>(QStringLiteral("onlySkipped"))->setChecked(false);

    QTest::mouseClick(f.d.button("CommandButton1"), Qt::LeftButton);
    QTRY_COMPARE(rows(), (QStringList{"a.jpg x_a.jpg 已改名", "b.jpg b.jpg 已跳过（已存在）", "c.jpg x_c.jpg 已改名"}));
    QCOMPARE(counts->text(), QStringLiteral("已改名 2 个，跳过 1 个"));
    QCOMPARE(heard.said, QStringList{"已改名 2 个，跳过 1 个"});
    QTest::qWait(20); // the list read anew does not replace the outcome
    QCOMPARE(table->model()->rowCount(), 3);

    // Numbering steered from the preview, for the tips and the click alike.
    QTest::mouseClick(f.d.option("替换原文件名"), Qt::LeftButton);
    for (QAction *action : f.d.list()->actions())
        if (action->text() == QStringLiteral("按名称排序"))
            action->trigger();
    f.d.selectNames({"b.jpg", "x_a.jpg", "x_c.jpg"});
    preview->findChild<QSpinBox *>(QStringLiteral("start"))->setValue(8);
    auto *width = preview->findChild<QSpinBox *>(QStringLiteral("width"));
    width->setValue(0);
    QCOMPARE(width->text(), QStringLiteral("自动"));
    QTRY_COMPARE(rows(), (QStringList{"b.jpg x_08.jpg 改名", "x_a.jpg x_09.jpg 改名", "x_c.jpg x_10.jpg 改名"}));
    QTest::mouseClick(f.d.button("CommandButton1"), Qt::LeftButton);
    QCOMPARE(f.files(), (QStringList{"x_08.jpg", "x_09.jpg", "x_10.jpg", "x_b.jpg"}));
    f.d.list()->setFocus();
    const QWidgetList windows = QApplication::topLevelWidgets();
    QTest::keyClick(f.d.list(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.files(), (QStringList{"b.jpg", "x_a.jpg", "x_b.jpg", "x_c.jpg"}));
    QCOMPARE(heard.said.last(), QStringLiteral("已撤销 3 个，未撤销 0 个"));
    QCOMPARE(QApplication::focusWidget(), f.d.list());
    QCOMPARE(QApplication::topLevelWidgets(), windows);

    QTest::keyClick(table, Qt::Key_Escape);
    QTRY_VERIFY(!f.d.window.findChild<QWidget *>(QStringLiteral("预览新名称")));

    // 20,000 rows follow each key as well.
    QStringList many;
    for (int i = 0; i < 20000; ++i)
        many << QStringLiteral("n%1").arg(i);
    ListedFolder big(many);
    QTest::mouseClick(big.d.button("全选"), Qt::LeftButton);
    QTest::keyClick(big.d.window.windowHandle(), Qt::Key_F5);
    auto *bigTable = big.d.window.findChild<QWidget *>(QStringLiteral("预览新名称"))->findChild<QTableView *>();
    big.d.field("新名称")->setFocus();
    QString typed;
    for (const char key : {'p', '_'}) {
        QTest::keyClicks(big.d.field("新名称"), QString(QLatin1Char(key)));
        typed += QLatin1Char(key);
        QTRY_COMPARE(bigTable->model()->rowCount(), 20000);
        const QModelIndex last = bigTable->model()->index(19999, 1);
        QTRY_COMPARE(last.data().toString(), typed + bigTable->model()->index(19999, 0).data().toString());
    }
}

QTEST_MAIN(TestRenameClick)
#include "tst_renameclick.moc"

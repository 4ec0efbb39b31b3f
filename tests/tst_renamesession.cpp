// SPDX-License-Identifier: GPL-3.0-or-later

#include "FakeServices.h"
#include "FolderFiles.h"
#include "RenameJournal.h"
#include "RenameSession.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <fcntl.h>
#include <sys/stat.h>

Q_DECLARE_METATYPE(NamingMode)
Q_DECLARE_METATYPE(ClickResult::End)

namespace {

NameBytes bytesOf(const QString &path) { return QFile::encodeName(path).toStdString(); }

// A session on fake boxes over a temporary folder of files, each holding its
// own name; `listed` picks the folder as a person would.
struct Session {
    QTemporaryDir dir;
    FakeServices fakes;
    RenameSession session{fakes.messages, fakes.progress, *fakes.lister, *fakes.renamer, fakes.journal};

    explicit Session(const QStringList &names, bool listed = true)
    {
        for (const QString &name : names)
            makeFile(dir.filePath(name), name.toUtf8());
        if (listed)
            session.takeFolder(bytesOf(dir.path()));
        fakes.messages.shown.clear();
    }
    QStringList files() const { return filesIn(dir.path()); }
    void selectAll() { session.selectAll(); }
    ClickResult rename(NamingMode mode, const QString &newText, const QString &find = {}, const QString &with = {})
    {
        session.setNaming(mode, {toNativeName(newText), toNativeName(find), toNativeName(with)});
        return session.renameSelected();
    }
};

} // namespace

// The session a window shows, driven without one: what a click, an undo and
// a typed folder do, and which box tells it.
class TestRenameSession : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void checksComeFirst_data();
    void checksComeFirst();
    void eachMode_data();
    void eachMode();
    void undoRefuses_data();
    void undoRefuses();
    void renamesWhereTheListCameFrom();
    void stopsAfterTheFileInHand();
};

void TestRenameSession::checksComeFirst_data()
{
    QTest::addColumn<bool>("listed");
    QTest::addColumn<NamingMode>("mode");
    QTest::addColumn<QString>("newText");
    QTest::addColumn<ClickResult::End>("end");

    const auto noText = ClickResult::End::NoNewText;
    const auto noFolder = ClickResult::End::NoFolder;
    QTest::newRow("nothing at all") << false << NamingMode::InsertBefore << "" << noText;
    QTest::newRow("a text, no folder") << false << NamingMode::InsertBefore << "x" << noFolder;
    // A blank is a text, and 替换指定字符 needs none.
    QTest::newRow("a blank, no folder") << false << NamingMode::InsertBefore << " " << noFolder;
    QTest::newRow("替换指定字符, no folder") << false << NamingMode::ReplaceCharacters << "" << noFolder;
    QTest::newRow("插入到原名称之前, no text") << true << NamingMode::InsertBefore << "" << noText;
    QTest::newRow("插入到原名称之后, no text") << true << NamingMode::InsertAfter << "" << noText;
    QTest::newRow("替换原文件名, no text") << true << NamingMode::ReplaceWithNumber << "" << noText;
}

// A click that stops at a check says why in one box, renames nothing, keeps
// the selection and predicts nothing.
void TestRenameSession::checksComeFirst()
{
    QFETCH(bool, listed);
    QFETCH(NamingMode, mode);
    QFETCH(QString, newText);
    QFETCH(ClickResult::End, end);

    Session s({"a.txt"}, listed);
    s.selectAll();
    QCOMPARE(s.rename(mode, newText).end, end);
    QVERIFY(!s.session.currentPlan());
    QCOMPARE(s.fakes.messages.shown.size(), std::size_t(1));
    const FakeMessageBox::Shown &box = s.fakes.messages.shown[0];
    if (end == ClickResult::End::NoNewText) {
        QCOMPARE(box.text, QStringLiteral("请输入新名称。"));
        QCOMPARE(box.style, MsgStyle::OkCancelInformation);
        QCOMPARE(box.title, QStringLiteral("Marvolt"));
    } else {
        QCOMPARE(box.text, QStringLiteral("请选择存放需要重命名文件的文件夹再执行工具！"));
        QCOMPARE(box.style, MsgStyle::OkInformation);
        QCOMPARE(box.title, QStringLiteral("提示"));
    }
    QCOMPARE(s.files(), QStringList{"a.txt"});
    QCOMPARE(s.session.rows().selection().size(), std::size_t(listed ? 1 : 0));
}

void TestRenameSession::eachMode_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<NamingMode>("mode");
    QTest::addColumn<QStringList>("texts"); // new text, find, replacement
    QTest::addColumn<QStringList>("after");

    QTest::newRow("before") << QStringList{"photo.jpg", "README"} << NamingMode::InsertBefore
                            << QStringList{"new_", "", ""} << QStringList{"new_README", "new_photo.jpg"};
    QTest::newRow("after") << QStringList{"photo.jpg", "README", "a.tar.gz", ".profile"} << NamingMode::InsertAfter
                           << QStringList{"_s", "", ""}
                           << QStringList{".profile", "README_s", "a.tar_s.gz", "photo_s.jpg"};
    QTest::newRow("replace, new text unused")
        << QStringList{"a-b-c.txt", "text.txt", "Photo.JPG"} << NamingMode::ReplaceCharacters
        << QStringList{"", "-", "_"} << QStringList{"Photo.JPG", "a_b_c.txt", "text.txt"};
    QTest::newRow("replace, case and extension")
        << QStringList{"text.txt", "Photo.JPG"} << NamingMode::ReplaceCharacters << QStringList{"", "t", "T"}
        << QStringList{"PhoTo.JPG", "TexT.TxT"};
    QTest::newRow("replace empties name: kept")
        << QStringList{"abc"} << NamingMode::ReplaceCharacters << QStringList{"", "abc", ""} << QStringList{"abc"};
}

// Every listed row selected (".profile" is hidden and so not listed): the
// click renames each as its mode says, with no box, and undo takes the batch
// back, every name and content as it was.
void TestRenameSession::eachMode()
{
    QFETCH(QStringList, before);
    QFETCH(NamingMode, mode);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, after);

    Session s(before);
    s.selectAll();
    const ClickResult result = s.rename(mode, texts[0], texts[1], texts[2]);
    QCOMPARE(result.end, ClickResult::End::Ran);
    QCOMPARE(result.outcomes.size(), s.session.rows().names().size());
    QVERIFY(s.fakes.messages.shown.empty() && s.fakes.messages.asked.isEmpty());
    QCOMPARE(s.files(), after);
    QVERIFY(s.session.rows().selection().empty());

    before.sort();
    // A batch that renames nothing leaves nothing to undo.
    QCOMPARE(s.session.canUndo(), after != before);
    QVERIFY(s.session.undoLast());
    QCOMPARE(s.files(), before);
    for (const QString &name : before) {
        QFile file(s.dir.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), name.toUtf8());
    }
    QVERIFY(s.fakes.messages.shown.empty());
}

// The journal `text`, or where empty one pair in `folder` (the listed one
// where empty) with the listed folder's identity, its inode moved by `inode`;
// a negative `inode` has another copy of the program hold the journal.
void TestRenameSession::undoRefuses_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("folder");
    QTest::addColumn<int>("inode");
    QTest::addColumn<QString>("message");
    const QString damaged = QStringLiteral("无法撤销：重命名记录不完整或已损坏。");
    QTest::newRow("folder gone") << QByteArray() << QByteArray("/nonexistent") << 0
                                 << QStringLiteral("无法撤销：上次重命名的文件夹已不存在。");
    QTest::newRow("another folder at its path")
        << QByteArray() << QByteArray() << 1 << QStringLiteral("无法撤销：上次重命名的文件夹已被移动或替换。");
    QTest::newRow("cut short") << QByteArray("QUILLBOX-JOURNAL 2\nF 4 0 0\n/tmp\nP 1 1\na") << QByteArray() << 0
                               << damaged;
    QTest::newRow("damaged") << QByteArray("QUILLBOX-JOURNAL 2\nF 4 0 0\n/tmp\nX\n") << QByteArray() << 0 << damaged;
    QTest::newRow("newer") << QByteArray("QUILLBOX-JOURNAL 6\nwhatever\n") << QByteArray() << 0
                           << QStringLiteral("无法撤销：重命名记录由更新版本的 Quillbox 写入。");
    // Another copy of the program holds the journal: neither undo nor a click goes on.
    QTest::newRow("held by another copy")
        << QByteArray() << QByteArray() << -1 << QStringLiteral("另一个 Quillbox 正在重命名或撤销，请稍后再试。");
}

void TestRenameSession::undoRefuses()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, folder);
    QFETCH(int, inode);
    QFETCH(QString, message);
    Session s({"b"});
    const NameBytes listed = bytesOf(s.dir.path());
    FolderIdentity identity = s.fakes.renamer->openFolder(listed)->identity();
    if (inode > 0)
        identity.inode += std::uint64_t(inode);
    s.fakes.journal.heldElsewhere = inode < 0;
    s.fakes.journal.text = text.isEmpty()
                               ? journalPlan(folder.isEmpty() ? listed : folder.toStdString(), identity, {{"a", "b"}})
                                     + journalBlock("D 0\nE\n")
                               : text.toStdString();
    const std::optional<UndoReport> report = s.session.undoLast();
    QCOMPARE(report.has_value(), inode >= 0);
    QCOMPARE(s.fakes.messages.shown.size(), std::size_t(1));
    QCOMPARE(s.fakes.messages.shown[0].text, message);
    QCOMPARE(s.files(), QStringList{"b"});
    if (inode < 0) {
        s.selectAll();
        QCOMPARE(s.rename(NamingMode::InsertBefore, QStringLiteral("new_")).end, ClickResult::End::Busy);
        QCOMPARE(s.fakes.messages.shown.size(), std::size_t(2));
        QCOMPARE(s.fakes.messages.shown[1].text, message);
        QCOMPARE(s.files(), QStringList{"b"});
    }
}

// While the field shows the listed text, the click renames in the folder that
// was listed, even if that path now leads elsewhere; a typed path is renamed in
// as typed; and a listed name that is a folder there is left alone.
void TestRenameSession::renamesWhereTheListCameFrom()
{
    QTemporaryDir root;
    QDir top(root.path());
    QVERIFY(top.mkdir("listed") && top.mkdir("elsewhere") && top.mkdir("typed") && top.mkdir("empty"));
    for (const char *name : {"listed/a.txt", "elsewhere/a.txt", "typed/a.txt"})
        makeFile(root.filePath(name));

    Session s({});
    QVERIFY(s.session.takeFolder(bytesOf(root.filePath("listed"))));
    QVERIFY(top.rename("listed", "moved"));
    QVERIFY(QFile::link(root.filePath("elsewhere"), root.filePath("listed")));
    s.selectAll();
    s.rename(NamingMode::InsertBefore, QStringLiteral("new_"));
    QCOMPARE(filesIn(root.filePath("moved")), QStringList{"new_a.txt"});
    QCOMPARE(filesIn(root.filePath("elsewhere")), QStringList{"a.txt"});

    s.session.setFieldText(root.filePath("typed"));
    s.selectAll();
    s.session.renameSelected();
    QCOMPARE(filesIn(root.filePath("typed")), QStringList{"new_a.txt"});

    // A pick without files keeps the old rows while the field names the new folder.
    QVERIFY(top.mkdir("empty/new_a.txt"));
    QVERIFY(!s.session.takeFolder(bytesOf(root.filePath("empty"))));
    QCOMPARE(s.session.rows().names(), std::vector<NameBytes>{"new_a.txt"});
    s.selectAll();
    s.session.renameSelected();
    QVERIFY(QFileInfo(root.filePath("empty/new_a.txt")).isDir());
    QVERIFY(!QFileInfo::exists(root.filePath("empty/new_new_a.txt")));
}

// A renumbering whose rows rotate their names (by time: p2, p3, p1, then q)
// stopped after every step in turn: no step after the one in hand is taken,
// but a cycle begun is finished, so no file stays under a temporary name; the
// journal holds just what was done, and undo takes it all back.
void TestRenameSession::stopsAfterTheFileInHand()
{
    const QStringList byTime{"p2.jpg", "p3.jpg", "p1.jpg", "q.jpg"};
    for (std::size_t stopAt = 1; stopAt <= 5; ++stopAt) {
        Session s(byTime);
        for (int i = 0; i < byTime.size(); ++i) {
            const timespec times[2] = {{1000000 + i, 0}, {1000000 + i, 0}};
            QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(s.dir.filePath(byTime[i])), times, 0) == 0);
        }
        s.session.setOrder(RowOrder::Modified);
        s.selectAll();
        s.fakes.progress.stopAt = stopAt;
        const ClickResult result = s.rename(NamingMode::ReplaceWithNumber, QStringLiteral("p"));
        QCOMPARE(s.fakes.messages.asked.size(), 1);
        QCOMPARE(s.fakes.progress.begun.size(), std::size_t(1));
        QVERIFY(!s.fakes.progress.begun[0].undo);
        QCOMPARE(s.fakes.progress.ended, 1);
        int renamed = 0;
        for (std::size_t row = 0; row < result.outcomes.size(); ++row) {
            const QString name = byTime[int(row)], to = QStringLiteral("p%1.jpg").arg(row + 1);
            QFile file(s.dir.filePath(result.outcomes[row].moved() ? to : name));
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(name));
            QCOMPARE(file.readAll(), name.toUtf8());
            renamed += result.outcomes[row].moved();
        }
        QCOMPARE(s.files().size(), byTime.size());
        for (const RenameOutcome &outcome : result.outcomes)
            QVERIFY(outcome.moved() || outcome == (RenameOutcome{RenameStatus::Failed, notTried}));
        // q first, then the cycle, which a stop inside it finishes.
        QCOMPARE(renamed, stopAt == 1 ? 1 : 4);

        // The undo is stopped as well, and says so; undoing again takes back
        // the rest, with no word of the files already back.
        s.session.undoLast();
        QVERIFY(s.fakes.progress.begun.back().undo);
        if (stopAt > 1 && stopAt < 5) {
            QCOMPARE(s.fakes.messages.shown.size(), std::size_t(1));
            QVERIFY(s.fakes.messages.shown[0].text.contains(
                QStringLiteral("3 个文件已恢复原名，1 个文件仍是新名称。\n已停止，未撤销：1 个")));
        }
        s.fakes.messages.shown.clear();
        s.fakes.progress.stopAt = SIZE_MAX;
        s.session.undoLast();
        QVERIFY(s.fakes.messages.shown.empty());
        QStringList before = byTime;
        before.sort();
        QCOMPARE(s.files(), before);
    }
}

QTEST_GUILESS_MAIN(TestRenameSession)
#include "tst_renamesession.moc"

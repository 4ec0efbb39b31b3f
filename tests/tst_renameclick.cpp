#include "RenameWindowDriver.h"

#include <QTemporaryDir>
#include <fcntl.h>
#include <unistd.h>

namespace {

// A temporary folder listed into a shown rename window.
struct ListedFolder {
    QTemporaryDir dir;
    RenameWindowDriver d;

    explicit ListedFolder(const QStringList &names)
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
private slots:
    void checksComeFirst();
    void eachMode_data();
    void eachMode();
    void numbersCountSelectedRowsAndFailures();
    void collisionsLoseNothing();
    void unsafeNamesAreSkipped();
    void nonUtf8NamesKeepTheirBytes();
    void refreshAfterClick();
    void renamesWhereTheListCameFrom();
};

void TestRenameClick::checksComeFirst()
{
    {
        RenameWindowDriver d;
        QTest::mouseClick(d.button("CommandButton1"), Qt::LeftButton);
        QCOMPARE(d.fakes.messages.shown.size(), std::size_t(1));
        QCOMPARE(d.fakes.messages.shown[0].text, QStringLiteral("请输入新名称。"));
        QCOMPARE(d.fakes.messages.shown[0].style, MsgStyle::OkCancelInformation);
        QCOMPARE(d.fakes.messages.shown[0].title, QStringLiteral("Marvolt"));

        d.field("新名称")->setText(QStringLiteral("x"));
        QTest::mouseClick(d.button("CommandButton1"), Qt::LeftButton);
        QCOMPARE(d.fakes.messages.shown.back().text, QStringLiteral("请选择存放需要重命名文件的文件夹再执行工具！"));
        QCOMPARE(d.fakes.messages.shown.back().style, MsgStyle::OkInformation);
        QCOMPARE(d.fakes.messages.shown.back().title, QStringLiteral("提示"));
    }
    for (const char *mode : {"插入到原名称之前", "插入到原名称之后", "替换原文件名"}) {
        ListedFolder f({"a.txt"});
        f.d.selectRows({0});
        f.rename(mode, QString());
        QCOMPARE(f.d.fakes.messages.shown.size(), std::size_t(1));
        QCOMPARE(f.d.fakes.messages.shown[0].text, QStringLiteral("请输入新名称。"));
        QCOMPARE(f.files(), QStringList{"a.txt"});
        QCOMPARE(f.d.selectedRows(), QList<int>{0});
    }
    {
        // A blank is a text; without a listed folder only the folder message follows.
        RenameWindowDriver d;
        d.field("新名称")->setText(QStringLiteral(" "));
        QTest::mouseClick(d.button("CommandButton1"), Qt::LeftButton);
        QCOMPARE(d.fakes.messages.shown.size(), std::size_t(1));
        QCOMPARE(d.fakes.messages.shown[0].title, QStringLiteral("提示"));
    }
}

void TestRenameClick::eachMode_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("newText");
    QTest::addColumn<QString>("find");
    QTest::addColumn<QString>("with");
    QTest::addColumn<QStringList>("after");

    QTest::newRow("before") << QStringList{"photo.jpg", "README"} << "插入到原名称之前" << "new_" << "" << ""
                            << QStringList{"new_README", "new_photo.jpg"};
    QTest::newRow("after") << QStringList{"photo.jpg", "README", "a.tar.gz", ".profile"} << "插入到原名称之后" << "_s"
                           << "" << "" << QStringList{".profile", "README_s", "a.tar_s.gz", "photo_s.jpg"};
    QTest::newRow("replace, new text unused") << QStringList{"a-b-c.txt", "text.txt", "Photo.JPG"} << "替换指定字符"
                                              << "" << "-" << "_"
                                              << QStringList{"Photo.JPG", "a_b_c.txt", "text.txt"};
    QTest::newRow("replace, case and extension") << QStringList{"text.txt", "Photo.JPG"} << "替换指定字符" << ""
                                                 << "t" << "T" << QStringList{"PhoTo.JPG", "TexT.TxT"};
    QTest::newRow("replace empties name: kept") << QStringList{"abc"} << "替换指定字符" << "" << "abc" << ""
                                                << QStringList{"abc"};
}

void TestRenameClick::eachMode()
{
    QFETCH(QStringList, before);
    QFETCH(QString, option);
    QFETCH(QString, newText);
    QFETCH(QString, find);
    QFETCH(QString, with);
    QFETCH(QStringList, after);

    ListedFolder f(before);
    // ".profile" is hidden and so not listed; every listed row is selected.
    QTest::mouseClick(f.d.button("全选"), Qt::LeftButton);
    f.rename(option.toUtf8().constData(), newText, find, with);
    QVERIFY(f.d.fakes.messages.shown.empty());
    QCOMPARE(f.files(), after);
}

void TestRenameClick::numbersCountSelectedRowsAndFailures()
{
    ListedFolder f({"a.jpg", "x.txt", "b.png", "c", "gone.txt", "d.gif", "img5.txt"});
    // gone.txt vanishes after listing; img5.txt blocks d.gif's new name.
    QVERIFY(QFile::remove(f.dir.filePath("gone.txt")));
    makeFile(f.dir.filePath("img5.gif"), "blocker");
    QStringList picked{"a.jpg", "b.png", "c", "gone.txt", "d.gif"};
    // The numbers follow list order, which is the folder's enumeration order.
    QStringList inListOrder;
    for (const QString &row : f.d.rows())
        if (picked.contains(row))
            inListOrder << row;
    f.d.selectNames(picked);
    f.rename("替换原文件名", QStringLiteral("img"));

    QStringList expected{"x.txt", "img5.txt", "img5.gif"};
    for (int i = 0; i < inListOrder.size(); ++i) {
        const QString &old = inListOrder[i];
        const QString ext = old.contains('.') ? old.mid(old.lastIndexOf('.')) : QString();
        const QString target = QStringLiteral("img%1").arg(i + 1) + ext;
        if (old == "gone.txt" || target == "img5.gif")
            expected << (old == "gone.txt" ? QString() : old);
        else
            expected << target;
    }
    expected.removeAll(QString());
    expected.sort();
    QCOMPARE(f.files(), expected);
    QCOMPARE(f.content("img5.gif"), QByteArray("blocker"));
}

void TestRenameClick::collisionsLoseNothing()
{
    ListedFolder f({"a-b.txt", "ab-.txt", "ab.txt.bak", "keep.txt"});
    makeFile(f.dir.filePath("new_keep.txt"), "existing");
    QTest::mouseClick(f.d.button("全选"), Qt::LeftButton);
    f.rename("插入到原名称之前", QStringLiteral("new_"));
    QCOMPARE(f.content("new_keep.txt"), QByteArray("existing"));
    QCOMPARE(f.content("keep.txt"), QByteArray("keep.txt"));

    // Two rows that map to one name: the first wins, the second stays as it was.
    ListedFolder g({"a-b.txt", "ab-.txt"});
    const QString first = g.d.rows().at(0);
    const QString second = g.d.rows().at(1);
    QTest::mouseClick(g.d.button("全选"), Qt::LeftButton);
    g.rename("替换指定字符", QString(), QStringLiteral("-"), QString());
    QStringList expected{"ab.txt", second};
    expected.sort();
    QCOMPARE(g.files(), expected);
    QCOMPARE(g.content("ab.txt"), first.toUtf8());
    QCOMPARE(g.content(second), second.toUtf8());
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
    QCOMPARE(d.model()->rowCount(), 1);
    QVERIFY(!d.rows().at(0).isEmpty());
    QTest::mouseClick(d.button("全选"), Qt::LeftButton);
    QTest::mouseClick(d.option("插入到原名称之后"), Qt::LeftButton);
    d.field("新名称")->setText(QStringLiteral("_新"));
    QTest::mouseClick(d.button("CommandButton1"), Qt::LeftButton);
    const std::string expected = dir.path().toStdString() + "/\xd5\xd5\xc6\xac_\xe6\x96\xb0.jpg";
    QVERIFY(::access(expected.c_str(), F_OK) == 0);
    QCOMPARE(d.model()->rowCount(), 1);
    ::unlink(expected.c_str()); // QTemporaryDir cannot name it
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

// While the field shows the listed text, the click renames in the folder that
// was listed, even if that path now leads elsewhere; a typed path is renamed in
// as typed; and a listed name that is a folder there is left alone.
void TestRenameClick::renamesWhereTheListCameFrom()
{
    QTemporaryDir root;
    QDir top(root.path());
    QVERIFY(top.mkdir("listed") && top.mkdir("elsewhere") && top.mkdir("typed") && top.mkdir("empty"));
    makeFile(root.filePath("listed/a.txt"), "listed");
    makeFile(root.filePath("elsewhere/a.txt"), "elsewhere");
    makeFile(root.filePath("typed/a.txt"), "typed");

    RenameWindowDriver d;
    d.pickFolder(root.filePath("listed"));
    QVERIFY(top.rename("listed", "moved"));
    QVERIFY(QFile::link(root.filePath("elsewhere"), root.filePath("listed")));
    d.selectRows({0});
    d.field("新名称")->setText("new_");
    QTest::mouseClick(d.button("CommandButton1"), Qt::LeftButton);
    QCOMPARE(filesIn(root.filePath("moved")), QStringList{"new_a.txt"});
    QCOMPARE(filesIn(root.filePath("elsewhere")), QStringList{"a.txt"});

    d.field("路径")->setText(root.filePath("typed"));
    d.selectRows({0});
    QTest::mouseClick(d.button("CommandButton1"), Qt::LeftButton);
    QCOMPARE(filesIn(root.filePath("typed")), QStringList{"new_a.txt"});

    // A pick without files keeps the old list while the field names the new folder.
    QVERIFY(top.mkdir("empty/new_a.txt"));
    d.pickFolder(root.filePath("empty"));
    QCOMPARE(d.rows(), QStringList{"new_a.txt"});
    d.selectRows({0});
    QTest::mouseClick(d.button("CommandButton1"), Qt::LeftButton);
    QVERIFY(QFileInfo(root.filePath("empty/new_a.txt")).isDir());
    QVERIFY(!QFileInfo::exists(root.filePath("empty/new_new_a.txt")));
}

QTEST_MAIN(TestRenameClick)
#include "tst_renameclick.moc"

// SPDX-License-Identifier: GPL-3.0-or-later

#include "CaseFoldingCalls.h"
#include "PreviewTip.h"
#include "SystemServices.h"
#include "posix/PosixFileRenamer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(NamingMode)

// What one click would do to each selected row, told as its tip, on a real folder.
class TestBatchPlan : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tips_data();
    void tips();
    void namesADiskRefuses_data();
    void namesADiskRefuses();
};

void TestBatchPlan::tips_data()
{
    QTest::addColumn<NamingMode>("mode");
    QTest::addColumn<QStringList>("texts");  // new text, find, replacement
    QTest::addColumn<QStringList>("names");  // the list's rows
    QTest::addColumn<QStringList>("folder"); // entries on disk; a trailing "/" marks one that is no file
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<QStringList>("expected"); // each row's tip, empty where unselected

    const QStringList prefix{"n_", "", ""};
    QTest::newRow("numbers count selected rows only, skipped ones too")
        << NamingMode::ReplaceWithNumber << QStringList{"img", "", ""} << QStringList{"a.jpg", "x", "b.png", "c"}
        << QStringList{"a.jpg", "x", "c"} << QList<int>{0, 2, 3}
        << QStringList{"按确定后改名为：img1.jpg（第 1 个选中的文件）", "", "将跳过：b.png 已不存在",
                       "按确定后改名为：img3（第 3 个选中的文件）"};
    QTest::newRow("a chain: each name is freed by the row above")
        << NamingMode::ReplaceWithNumber << QStringList{"img", "", ""} << QStringList{"img2.jpg", "a.jpg"}
        << QStringList{"img2.jpg", "a.jpg"} << QList<int>{0, 1}
        << QStringList{"按确定后改名为：img1.jpg（第 1 个选中的文件）",
                       "按确定后改名为：img2.jpg（第 2 个选中的文件）"};
    QTest::newRow("two rows to one name")
        << NamingMode::ReplaceCharacters << QStringList{"", "1", ""} << QStringList{"a1b", "x", "ab1"}
        << QStringList{"a1b", "x", "ab1"} << QList<int>{0, 2}
        << QStringList{"按确定后改名为：ab（第 1 个选中的文件）", "", "将跳过：上面选中的 a1b 先改名为 ab"};
    QTest::newRow("a name freed above is free, one a skipped row keeps is not")
        << NamingMode::InsertBefore << prefix << QStringList{"n_a", "a", "b"}
        << QStringList{"n_a", "a", "b", "n_n_a", "n_b"} << QList<int>{0, 1, 2}
        << QStringList{"将跳过：n_n_a 已存在", "将跳过：上面选中的 n_a 不会改名，n_a 仍被占用", "将跳过：n_b 已存在"};
    QTest::newRow("a name a row above renames a file to is no longer this row's")
        << NamingMode::ReplaceWithNumber << QStringList{"img", "", ""} << QStringList{"a", "img1"} << QStringList{"a"}
        << QList<int>{0, 1} << QStringList{"按确定后改名为：img1（第 1 个选中的文件）", "将跳过：img1 已不存在"};
    QTest::newRow("freed above") << NamingMode::InsertBefore << prefix << QStringList{"n_a", "a"}
                                 << QStringList{"n_a", "a"} << QList<int>{0, 1}
                                 << QStringList{"按确定后改名为：n_n_a（第 1 个选中的文件）",
                                                "按确定后改名为：n_a（第 2 个选中的文件）"};
    QTest::newRow("unchanged, and a name an unchanged row above keeps")
        << NamingMode::ReplaceCharacters << QStringList{"", "a", "b"} << QStringList{"b.jpg", "a.jpg"}
        << QStringList{"b.jpg", "a.jpg"} << QList<int>{0, 1}
        << QStringList{"按确定后名称不变（第 1 个选中的文件）", "将跳过：上面选中的 b.jpg 名称不变，b.jpg 仍被占用"};
    QTest::newRow("names that leave the folder")
        << NamingMode::ReplaceCharacters << QStringList{"", "x", "/"} << QStringList{"x", "ax"}
        << QStringList{"x", "ax"} << QList<int>{0, 1}
        << QStringList{"将跳过：“/”不是可用的文件名", "将跳过：“a/”不是可用的文件名"};
    QTest::newRow("gone, or no file any more")
        << NamingMode::InsertBefore << prefix << QStringList{"a", "b"} << QStringList{"b/"} << QList<int>{0, 1}
        << QStringList{"将跳过：a 已不存在", "将跳过：b 已不是文件"};
    // Names the click's own rows give up: list order skips, freeing them first
    // (the question's default) renames, and the tip says which.
    QTest::newRow("renumbering a numbered folder")
        << NamingMode::ReplaceWithNumber << QStringList{"photo", "", ""}
        << QStringList{"IMG_new1.jpg", "photo1.jpg", "photo2.jpg", "photo3.jpg"}
        << QStringList{"IMG_new1.jpg", "photo1.jpg", "photo2.jpg", "photo3.jpg"} << QList<int>{0, 1, 2, 3}
        << QStringList{"先让出名称后改名为：photo1.jpg（第 1 个选中的文件）",
                       "先让出名称后改名为：photo2.jpg（第 2 个选中的文件）",
                       "先让出名称后改名为：photo3.jpg（第 3 个选中的文件）",
                       "按确定后改名为：photo4.jpg（第 4 个选中的文件）"};
    QTest::newRow("a swap") << NamingMode::ReplaceWithNumber << QStringList{"x", "", ""}
                            << QStringList{"x2.jpg", "x1.jpg"} << QStringList{"x2.jpg", "x1.jpg"} << QList<int>{0, 1}
                            << QStringList{"先让出名称后改名为：x1.jpg（第 1 个选中的文件）",
                                           "先让出名称后改名为：x2.jpg（第 2 个选中的文件）"};
    QTest::newRow("a rotation of three, and a row beside it")
        << NamingMode::ReplaceWithNumber << QStringList{"f", "", ""} << QStringList{"f2", "f3", "f1", "x", "f5"}
        << QStringList{"f2", "f3", "f1", "x", "f5"} << QList<int>{0, 1, 2, 3}
        << QStringList{"先让出名称后改名为：f1（第 1 个选中的文件）", "先让出名称后改名为：f2（第 2 个选中的文件）",
                       "先让出名称后改名为：f3（第 3 个选中的文件）", "按确定后改名为：f4（第 4 个选中的文件）", ""};
    QTest::newRow("a name held by a file not selected stays held down the chain")
        << NamingMode::ReplaceWithNumber << QStringList{"img", "", ""} << QStringList{"x.jpg", "img1.jpg", "img2.jpg"}
        << QStringList{"x.jpg", "img1.jpg", "img2.jpg"} << QList<int>{0, 1}
        << QStringList{"将跳过：img1.jpg 已存在", "将跳过：img2.jpg 已存在", ""};
    QTest::newRow("a name holding %1 stays as it is")
        << NamingMode::InsertBefore << QStringList{"%2_", "", ""} << QStringList{"%1.txt"} << QStringList{"%1.txt"}
        << QList<int>{0} << QStringList{"按确定后改名为：%2_%1.txt（第 1 个选中的文件）"};
}

void TestBatchPlan::tips()
{
    QFETCH(NamingMode, mode);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, names);
    QFETCH(QStringList, folder);
    QFETCH(QList<int>, selected);
    QFETCH(QStringList, expected);

    std::vector<NameBytes> rows;
    for (const QString &name : names)
        rows.push_back(name.toStdString());
    QTemporaryDir dir;
    for (QString entry : folder) {
        if (entry.endsWith('/'))
            QVERIFY(QDir(dir.path()).mkdir(entry.chopped(1)));
        else
            QVERIFY(QFile(dir.filePath(entry)).open(QIODevice::WriteOnly));
    }
    std::vector<RowRange> ranges;
    for (int row : selected)
        ranges.push_back({row, row});
    BatchPlan plan(mode, {texts[0].toStdString(), texts[1].toStdString(), texts[2].toStdString()}, rows, {},
                   mergeRanges(ranges));
    const std::unique_ptr<FileRenamer> renamer = makeSystemRenamer();
    plan.predict(*renamer, renamer->openFolder(QFile::encodeName(dir.path()).toStdString()).get());
    for (int row = 0; row < names.size(); ++row) {
        const std::optional<std::size_t> index = plan.indexOf(row);
        QCOMPARE(index ? previewTip(plan, *index) : QString(), expected[row]);
    }
}

void TestBatchPlan::namesADiskRefuses_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason"); // on a disk that takes Windows names; empty where it takes the name
    const QString character = "此磁盘不允许的字符", ending = "此磁盘不允许以空格或点结尾",
                  reserved = "此磁盘保留的名称";
    for (const char *c : {"\"", "*", ":", "<", ">", "?", "\\", "|", "\x01", "\t", "\x1f"})
        QTest::newRow(qPrintable(QStringLiteral("a%1b").arg(QString::fromLatin1(c))))
            << QStringLiteral("a%1b").arg(c) << character;
    QTest::newRow("a trailing dot") << "photo." << ending;
    QTest::newRow("a trailing space") << "photo " << ending;
    QTest::newRow("a device") << "NUL" << reserved;
    QTest::newRow("a device with an extension, in small letters") << "con.txt" << reserved;
    QTest::newRow("a device, spaces before its extension") << "Aux  .tar.gz" << reserved;
    QTest::newRow("a numbered port") << "LPT9.log" << reserved;
    QTest::newRow("port 0 is no device") << "COM0"
                                         << "";
    QTest::newRow("a longer word is no device") << "CONSOLE.txt"
                                                << "";
    QTest::newRow("255 UTF-16 units") << QString(255, QChar(0x5B57)) << "";
    QTest::newRow("256 UTF-16 units") << QString(256, QChar(0x5B57)) << "名称超出此磁盘允许的长度";
    QTest::newRow("a leading dot and inner spaces") << ".a b.c"
                                                    << "";
}

// The tip of a row whose new name is `name`, on a folder that takes Windows
// names and on one that takes any.
void TestBatchPlan::namesADiskRefuses()
{
    QFETCH(QString, name);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QVERIFY(QFile(dir.filePath("f")).open(QIODevice::WriteOnly));
    const std::vector<NameBytes> rows{"f"};
    BatchPlan plan(NamingMode::ReplaceCharacters, {"", "f", name.toStdString()}, rows, {}, {{0, 0}});
    CaseFoldingCalls windows;
    PosixCalls posix;
    for (PosixCalls *calls : {static_cast<PosixCalls *>(&windows), &posix}) {
        PosixFileRenamer renamer(*calls);
        plan.predict(renamer, renamer.openFolder(QFile::encodeName(dir.path()).toStdString()).get());
        const bool refused = calls == &windows && !reason.isEmpty();
        QCOMPARE(
            previewTip(plan, 0),
            refused
                ? QStringLiteral("将跳过：“%1”（%2）").arg(displayName(plan.requests()[0].to), reason)
                : QStringLiteral("按确定后改名为：%1（第 1 个选中的文件）").arg(displayName(plan.requests()[0].to)));
    }
}

QTEST_GUILESS_MAIN(TestBatchPlan)
#include "tst_batchplan.moc"

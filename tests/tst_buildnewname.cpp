// SPDX-License-Identifier: GPL-3.0-or-later

#include "BuildNewName.h"
#include "RenamePlan.h"

#include <QTest>

Q_DECLARE_METATYPE(NamingMode)

class TestBuildNewName : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rules_data();
    void rules();
    void numbering_data();
    void numbering();
};

void TestBuildNewName::rules_data()
{
    QTest::addColumn<NamingMode>("mode");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("newText");
    QTest::addColumn<QByteArray>("find");
    QTest::addColumn<QByteArray>("replacement");
    QTest::addColumn<int>("counter");
    QTest::addColumn<QByteArray>("expected");

    using M = NamingMode;
    QTest::newRow("before: whole name kept") << M::InsertBefore << QByteArray("photo.jpg") << QByteArray("new_")
                                             << QByteArray() << QByteArray() << 1 << QByteArray("new_photo.jpg");
    QTest::newRow("before: no dot") << M::InsertBefore << QByteArray("README") << QByteArray("new_") << QByteArray()
                                    << QByteArray() << 1 << QByteArray("new_README");
    QTest::newRow("after: before extension") << M::InsertAfter << QByteArray("photo.jpg") << QByteArray("_s")
                                             << QByteArray() << QByteArray() << 1 << QByteArray("photo_s.jpg");
    QTest::newRow("after: no dot") << M::InsertAfter << QByteArray("README") << QByteArray("_s") << QByteArray()
                                   << QByteArray() << 1 << QByteArray("README_s");
    QTest::newRow("after: several dots, last counts") << M::InsertAfter << QByteArray("a.tar.gz") << QByteArray("_s")
                                                      << QByteArray() << QByteArray() << 1 << QByteArray("a.tar_s.gz");
    QTest::newRow("after: leading dot is the extension")
        << M::InsertAfter << QByteArray(".profile") << QByteArray("_s") << QByteArray() << QByteArray() << 1
        << QByteArray("_s.profile");
    QTest::newRow("after: trailing dot") << M::InsertAfter << QByteArray("note.") << QByteArray("_s") << QByteArray()
                                         << QByteArray() << 1 << QByteArray("note_s.");
    QTest::newRow("number: keeps extension") << M::ReplaceWithNumber << QByteArray("a.jpg") << QByteArray("img")
                                             << QByteArray() << QByteArray() << 1 << QByteArray("img1.jpg");
    QTest::newRow("number: no dot, no extension") << M::ReplaceWithNumber << QByteArray("c") << QByteArray("img")
                                                  << QByteArray() << QByteArray() << 3 << QByteArray("img3");
    QTest::newRow("number: no padding") << M::ReplaceWithNumber << QByteArray("b.png") << QByteArray("img")
                                        << QByteArray() << QByteArray() << 10 << QByteArray("img10.png");
    QTest::newRow("number: past 16 bits") << M::ReplaceWithNumber << QByteArray("b.png") << QByteArray("img")
                                          << QByteArray() << QByteArray() << 100000 << QByteArray("img100000.png");
    QTest::newRow("replace: all occurrences")
        << M::ReplaceCharacters << QByteArray("a-b-c.txt") << QByteArray("ignored") << QByteArray("-")
        << QByteArray("_") << 1 << QByteArray("a_b_c.txt");
    QTest::newRow("replace: case-sensitive") << M::ReplaceCharacters << QByteArray("Photo.JPG") << QByteArray()
                                             << QByteArray("jpg") << QByteArray("png") << 1 << QByteArray("Photo.JPG");
    QTest::newRow("replace: extension searched too")
        << M::ReplaceCharacters << QByteArray("text.txt") << QByteArray() << QByteArray("t") << QByteArray("T") << 1
        << QByteArray("TexT.TxT");
    QTest::newRow("replace: no overlap") << M::ReplaceCharacters << QByteArray("xxx.y") << QByteArray()
                                         << QByteArray("xx") << QByteArray("z") << 1 << QByteArray("zx.y");
    QTest::newRow("replace: replacement contains find")
        << M::ReplaceCharacters << QByteArray("aa") << QByteArray() << QByteArray("a") << QByteArray("aa") << 1
        << QByteArray("aaaa");
    QTest::newRow("replace: empty find leaves name") << M::ReplaceCharacters << QByteArray("a.txt") << QByteArray()
                                                     << QByteArray() << QByteArray("x") << 1 << QByteArray("a.txt");
    QTest::newRow("replace: empty replacement deletes") << M::ReplaceCharacters << QByteArray("a b c") << QByteArray()
                                                        << QByteArray(" ") << QByteArray() << 1 << QByteArray("abc");
    QTest::newRow("replace: whole name emptied") << M::ReplaceCharacters << QByteArray("abc") << QByteArray()
                                                 << QByteArray("abc") << QByteArray() << 1 << QByteArray("");
    QTest::newRow("replace: multibyte text") << M::ReplaceCharacters << QByteArray("照片-1.jpg") << QByteArray()
                                             << QByteArray("照片") << QByteArray("图") << 1 << QByteArray("图-1.jpg");
    // A GBK name (照片.jpg) gets the texts in GB18030, matched by whole characters.
    const QByteArray gbk("\xd5\xd5\xc6\xac.jpg");
    QTest::newRow("gbk: before") << M::InsertBefore << gbk << QByteArray("新_") << QByteArray() << QByteArray() << 1
                                 << QByteArray("\xd0\xc2_\xd5\xd5\xc6\xac.jpg");
    QTest::newRow("gbk: after") << M::InsertAfter << gbk << QByteArray("_s") << QByteArray() << QByteArray() << 1
                                << QByteArray("\xd5\xd5\xc6\xac_s.jpg");
    QTest::newRow("gbk: number") << M::ReplaceWithNumber << gbk << QByteArray("图") << QByteArray() << QByteArray() << 2
                                 << QByteArray("\xcd\xbc"
                                               "2.jpg");
    QTest::newRow("gbk: replace a character") << M::ReplaceCharacters << gbk << QByteArray() << QByteArray("片")
                                              << QByteArray("集") << 1 << QByteArray("\xd5\xd5\xbc\xaf.jpg");
    // 掌 is D5 C6 in GBK: the trail byte of 照 and the lead byte of 片, never a match.
    QTest::newRow("gbk: bytes that straddle two characters")
        << M::ReplaceCharacters << gbk << QByteArray() << QByteArray("掌") << QByteArray("x") << 1 << gbk;
    // A character cut short at the end keeps its bytes; no mode writes into it or after it.
    const QByteArray cut("caf\xe9"), gbkCut("\xb2\xe2\xb2"), extensionCut("\xb2\xe2.t\xe9"), fourCut("a0\x81\x30");
    QTest::newRow("cut: lone lead byte, before")
        << M::InsertBefore << cut << QByteArray("x_") << QByteArray() << QByteArray() << 1 << QByteArray("x_caf\xe9");
    QTest::newRow("cut: after a GBK character, before") << M::InsertBefore << gbkCut << QByteArray("x_") << QByteArray()
                                                        << QByteArray() << 1 << QByteArray("x_\xb2\xe2\xb2");
    QTest::newRow("cut: 4-byte sequence, before")
        << M::InsertBefore << fourCut << QByteArray("新") << QByteArray() << QByteArray() << 1
        << QByteArray("\xd0\xc2"
                      "a0\x81\x30");
    QTest::newRow("cut: in the extension, after") << M::InsertAfter << extensionCut << QByteArray("_s") << QByteArray()
                                                  << QByteArray() << 1 << QByteArray("\xb2\xe2_s.t\xe9");
    QTest::newRow("cut: after it, not built")
        << M::InsertAfter << cut << QByteArray("_s") << QByteArray() << QByteArray() << 1 << QByteArray();
    QTest::newRow("cut: number replaces it")
        << M::ReplaceWithNumber << cut << QByteArray("img") << QByteArray() << QByteArray() << 3 << QByteArray("img3");
    QTest::newRow("cut: number keeps the extension")
        << M::ReplaceWithNumber << extensionCut << QByteArray("图") << QByteArray() << QByteArray() << 1
        << QByteArray("\xcd\xbc"
                      "1.t\xe9");
    QTest::newRow("cut: replace before it") << M::ReplaceCharacters << gbkCut << QByteArray() << QByteArray("测")
                                            << QByteArray("图") << 1 << QByteArray("\xcd\xbc\xb2");
    QTest::newRow("cut: replace into it, not built")
        << M::ReplaceCharacters << fourCut << QByteArray() << QByteArray("0") << QByteArray("1") << 1 << QByteArray();
    QTest::newRow("a lone trail byte: bytes kept") << M::InsertBefore << QByteArray("a\x80") << QByteArray("x_")
                                                   << QByteArray() << QByteArray() << 1 << QByteArray("x_a\x80");
    QTest::newRow("neither UTF-8 nor GB18030: bytes kept")
        << M::InsertAfter << QByteArray("\xff\x80.jpg") << QByteArray("_s") << QByteArray() << QByteArray() << 1
        << QByteArray("\xff\x80_s.jpg");
}

void TestBuildNewName::rules()
{
    QFETCH(NamingMode, mode);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, newText);
    QFETCH(QByteArray, find);
    QFETCH(QByteArray, replacement);
    QFETCH(int, counter);
    QFETCH(QByteArray, expected);
    const std::string result = newNameOf(mode, {newText.toStdString(), find.toStdString(), replacement.toStdString()},
                                         name.toStdString(), std::uint64_t(counter));
    QCOMPARE(QByteArray::fromStdString(result), expected);
}

void TestBuildNewName::numbering_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("width"); // 0: as many digits as the last number
    QTest::addColumn<QStringList>("firstAndLast");

    QTest::newRow("the defaults: 1, 2, 3 …") << 120 << 1 << 1 << 1 << QStringList{"p1.jpg", "p120.jpg"};
    QTest::newRow("from 0") << 3 << 0 << 1 << 1 << QStringList{"p0.jpg", "p2.jpg"};
    QTest::newRow("a step of 10") << 3 << 10 << 10 << 1 << QStringList{"p10.jpg", "p30.jpg"};
    QTest::newRow("at least 3 digits") << 3 << 1 << 1 << 3 << QStringList{"p001.jpg", "p003.jpg"};
    QTest::newRow("wider numbers than the width") << 2 << 99 << 1 << 2 << QStringList{"p99.jpg", "p100.jpg"};
    QTest::newRow("自动: the last number's digits") << 120 << 1 << 1 << 0 << QStringList{"p001.jpg", "p120.jpg"};
    QTest::newRow("自动 with a step") << 11 << 1 << 1000 << 0 << QStringList{"p00001.jpg", "p10001.jpg"};
}

// The running number of 替换原文件名 as the numbering line steers it.
void TestBuildNewName::numbering()
{
    QFETCH(int, count);
    QFETCH(int, start);
    QFETCH(int, step);
    QFETCH(int, width);
    QFETCH(QStringList, firstAndLast);
    std::vector<NameBytes> names;
    std::vector<int> rows;
    for (int i = 0; i < count; ++i) {
        names.push_back("f" + std::to_string(i) + ".jpg");
        rows.push_back(i);
    }
    const std::vector<RenameRequest> requests = planRenames(NamingMode::ReplaceWithNumber, {"p", {}, {}}, names, rows,
                                                            {std::uint64_t(start), std::uint64_t(step), width});
    QCOMPARE(QString::fromStdString(requests.front().to), firstAndLast[0]);
    QCOMPARE(QString::fromStdString(requests.back().to), firstAndLast[1]);
}

QTEST_GUILESS_MAIN(TestBuildNewName)
#include "tst_buildnewname.moc"

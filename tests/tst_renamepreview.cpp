// SPDX-License-Identifier: GPL-3.0-or-later

#include "RenamePreview.h"

#include <QTest>
#include <set>

Q_DECLARE_METATYPE(NamingMode)

class TestRenamePreview : public QObject {
    Q_OBJECT
private slots:
    void verdicts_data();
    void verdicts();
};

void TestRenamePreview::verdicts_data()
{
    QTest::addColumn<NamingMode>("mode");
    QTest::addColumn<QString>("newText");
    QTest::addColumn<QString>("find");
    QTest::addColumn<QString>("with");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<QStringList>("expected"); // per row: "verdict new-name number", or "-" when unselected

    const QStringList photos{"a.jpg", "x", "b.png", "c"};
    QTest::newRow("numbers count selected rows only")
        << NamingMode::ReplaceWithNumber << "img"
        << ""
        << "" << photos << QList<int>{0, 2, 3}
        << QStringList{"renamed img1.jpg 1", "-", "renamed img2.png 2", "renamed img3 3"};
    QTest::newRow("two rows to one name") << NamingMode::ReplaceCharacters << ""
                                          << "1"
                                          << "" << QStringList{"a1b", "x", "ab1"} << QList<int>{0, 2}
                                          << QStringList{"renamed ab 1", "-", "collides ab 2"};
    QTest::newRow("taken on disk, or freed above first")
        << NamingMode::InsertBefore << "n_"
        << ""
        << "" << QStringList{"n_a", "a", "b"} << QList<int>{0, 1, 2}
        << QStringList{"renamed n_n_a 1", "renamed n_a 2", "taken n_b 3"};
    QTest::newRow("after the base name") << NamingMode::InsertAfter << "_s"
                                         << ""
                                         << "" << QStringList{"a.tar.gz", "b"} << QList<int>{1}
                                         << QStringList{"-", "renamed b_s 1"};
    QTest::newRow("unchanged and not allowed")
        << NamingMode::ReplaceCharacters << ""
        << "abc"
        << "" << QStringList{"abc", "xyz"} << QList<int>{0, 1} << QStringList{"notallowed  1", "unchanged xyz 2"};
}

void TestRenamePreview::verdicts()
{
    QFETCH(NamingMode, mode);
    QFETCH(QString, newText);
    QFETCH(QString, find);
    QFETCH(QString, with);
    QFETCH(QStringList, names);
    QFETCH(QList<int>, selected);
    QFETCH(QStringList, expected);

    std::vector<NameBytes> bytes;
    for (const QString &name : names)
        bytes.push_back(name.toStdString());
    std::vector<RowRange> ranges;
    for (int row : selected)
        ranges.push_back({row, row});
    const std::set<NameBytes> onDisk{"n_b", "n_a", "a", "b"};
    RenamePreview preview(mode, {newText.toStdString(), find.toStdString(), with.toStdString()}, bytes,
                          mergeRanges(ranges), [&](const NameBytes &name) { return onDisk.count(name) > 0; });
    const char *verdicts[] = {"renamed", "unchanged", "taken", "collides", "notallowed"};
    for (int row = 0; row < names.size(); ++row) {
        const std::optional<Preview> got = preview.forRow(row);
        const QString text
            = got ? QStringLiteral("%1 %2 %3")
                        .arg(QLatin1String(verdicts[int(got->verdict)]), QString::fromStdString(got->newName))
                        .arg(got->number)
                  : QStringLiteral("-");
        QCOMPARE(text, expected[row]);
    }
}

QTEST_GUILESS_MAIN(TestRenamePreview)
#include "tst_renamepreview.moc"

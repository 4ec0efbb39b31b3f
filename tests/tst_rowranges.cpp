// SPDX-License-Identifier: GPL-3.0-or-later

#include "RowRanges.h"

#include <QTest>

using Ranges = std::vector<RowRange>;
Q_DECLARE_METATYPE(Ranges)

namespace {
QString show(const Ranges &ranges)
{
    QStringList parts;
    for (const RowRange &r : ranges)
        parts << QStringLiteral("%1-%2").arg(r.first).arg(r.last);
    return parts.join(',');
}
} // namespace

class TestRowRanges : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void complement_data();
    void complement();
    void invertTwiceRestores();
};

void TestRowRanges::complement_data()
{
    QTest::addColumn<Ranges>("selected");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("merged");
    QTest::addColumn<QString>("inverted");

    QTest::newRow("nothing selected") << Ranges{} << 4 << ""
                                      << "0-3";
    QTest::newRow("everything selected") << Ranges{{0, 3}} << 4 << "0-3"
                                         << "";
    QTest::newRow("0 and 2 of 4") << Ranges{{2, 2}, {0, 0}} << 4 << "0-0,2-2"
                                  << "1-1,3-3";
    QTest::newRow("touching runs join") << Ranges{{3, 5}, {0, 2}} << 8 << "0-5"
                                        << "6-7";
    QTest::newRow("overlapping runs join") << Ranges{{0, 4}, {2, 3}, {4, 6}} << 8 << "0-6"
                                           << "7-7";
    QTest::newRow("last row of 256") << Ranges{{0, 254}} << 256 << "0-254"
                                     << "255-255";
    QTest::newRow("empty list") << Ranges{} << 0 << ""
                                << "";
}

void TestRowRanges::complement()
{
    QFETCH(Ranges, selected);
    QFETCH(int, rows);
    QFETCH(QString, merged);
    QFETCH(QString, inverted);
    const Ranges joined = mergeRanges(selected);
    QCOMPARE(show(joined), merged);
    QCOMPARE(show(complementRanges(joined, rows)), inverted);
}

void TestRowRanges::invertTwiceRestores()
{
    Ranges alternating;
    for (int row = 0; row < 100000; row += 2)
        alternating.push_back({row, row});
    const Ranges once = complementRanges(alternating, 100000);
    QCOMPARE(once.size(), std::size_t(50000));
    QCOMPARE(once.front().first, 1);
    QCOMPARE(show(complementRanges(once, 100000)), show(alternating));
    QCOMPARE(rowsOf({{2, 4}, {7, 7}}), (std::vector<int>{2, 3, 4, 7}));
}

QTEST_GUILESS_MAIN(TestRowRanges)
#include "tst_rowranges.moc"

// SPDX-License-Identifier: GPL-3.0-or-later

#include "BatchCase.h"
#include "Mount.h"

#include <QTemporaryDir>
#include <QTest>
#include <random>

// On random small folders, every selected row's predicted outcome is what the
// click then does on a real file system, no file is lost, and undo brings the
// folder back. The cases are those the engine's fuzzer runs, from random bytes.
class TestBatchProperty : public QObject {
    Q_OBJECT
private slots:
    void predictionsHold_data();
    void predictionsHold();
};

void TestBatchProperty::predictionsHold_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("tmpfs") << "tmpfs";
    QTest::newRow("ext4") << "ext4";
}

void TestBatchProperty::predictionsHold()
{
    QFETCH(QString, kind);
    QTemporaryDir base;
    Mount mount(kind, base.path());
    if (!mount.mounted())
        QSKIP(qPrintable(mount.skipReason().isEmpty() ? QStringLiteral("cannot mount") : mount.skipReason()));
    constexpr unsigned seed = 20261208;
    constexpr int cases = 700;
    BatchCaseCount count;
    for (int n = 0; n < cases; ++n) {
        std::mt19937 random(seed + unsigned(n));
        std::string bytes(64, '\0');
        for (char &byte : bytes)
            byte = char(random());
        const std::string folder = QFile::encodeName(mount.point()).toStdString() + "/case" + std::to_string(n);
        const std::optional<std::string> wrong = runBatchCase(folder, bytes, count);
        QVERIFY2(!wrong, qPrintable(QStringLiteral("case %1 (seed %2 + %1): %3")
                                        .arg(QString::number(n), QString::number(seed),
                                             QString::fromStdString(wrong.value_or(std::string())))));
    }
    qInfo("%d of %d cases clicked, %zu rows compared", count.clicked, cases, count.rows);
}

QTEST_GUILESS_MAIN(TestBatchProperty)
#include "tst_batchproperty.moc"

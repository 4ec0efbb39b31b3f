// SPDX-License-Identifier: GPL-3.0-or-later

#include "BatchCase.h"
#include "CaseFoldingCalls.h"
#include "Mount.h"

#include <QTemporaryDir>
#include <QTest>
#include <random>

// On random small folders, every selected row's predicted outcome is what the
// click then does on a real file system, no file is lost, and undo brings the
// folder back. The cases are those the engine's fuzzer runs, from random bytes.
class TestBatchProperty : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void predictionsHold_data();
    void predictionsHold();
};

void TestBatchProperty::predictionsHold_data()
{
    QTest::addColumn<QString>("kind"); // a file system to mount, or none for a folder on the disk
    QTest::addColumn<bool>("ignoresCase");
    QTest::addColumn<int>("cases");
    QTest::newRow("disk") << QString() << false << 2000;
    QTest::newRow("disk, seen as a folder that ignores case") << QString() << true << 2000;
    QTest::newRow("tmpfs") << "tmpfs" << false << 700;
    QTest::newRow("ext4") << "ext4" << false << 700;
    QTest::newRow("exFAT through FUSE") << "exFAT through FUSE" << true << 150;
}

void TestBatchProperty::predictionsHold()
{
    QFETCH(QString, kind);
    QFETCH(bool, ignoresCase);
    QFETCH(int, cases);
    QTemporaryDir base;
    std::optional<Mount> mount;
    if (!kind.isEmpty()) {
        mount.emplace(kind, base.path());
        if (!mount->mounted())
            QSKIP(qPrintable(mount->skipReason().isEmpty() ? QStringLiteral("cannot mount") : mount->skipReason()));
    }
    PosixCalls own;
    CaseFoldingCalls folding;
    PosixCalls &calls = kind.isEmpty() && ignoresCase ? folding : own;
    constexpr unsigned seed = 20261208;
    BatchCaseCount count;
    for (int n = 0; n < cases; ++n) {
        std::mt19937 random(seed + unsigned(n));
        std::string bytes(128, '\0');
        for (char &byte : bytes)
            byte = char(random());
        const std::string folder
            = QFile::encodeName(mount ? mount->point() : base.path()).toStdString() + "/case" + std::to_string(n);
        const std::optional<std::string> wrong = runBatchCase(folder, bytes, count, calls, ignoresCase);
        QVERIFY2(!wrong, qPrintable(QStringLiteral("case %1 (seed %2 + %1): %3")
                                        .arg(QString::number(n), QString::number(seed),
                                             QString::fromStdString(wrong.value_or(std::string())))));
    }
    qInfo("%d of %d cases clicked, %zu rows compared, %d asked to free names first, %zu rows stopped before",
          count.clicked, cases, count.rows, count.asked, count.stopped);
}

QTEST_GUILESS_MAIN(TestBatchProperty)
#include "tst_batchproperty.moc"

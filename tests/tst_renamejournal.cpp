// SPDX-License-Identifier: GPL-3.0-or-later

#include "FakeServices.h"
#include "RenameBatch.h"
#include "RenameJournal.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

namespace {

QStringList entries(const QString &folder) { return QDir(folder).entryList(QDir::Files, QDir::Name); }

void fill(const QString &folder, const QStringList &names)
{
    for (const QString &old : entries(folder))
        QFile::remove(folder + "/" + old);
    for (const QString &name : names) {
        QFile file(folder + "/" + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(name.toUtf8());
    }
}

// The batch's own files, each under its new name again: "n_" and its content.
void renameAfter(const QString &folder)
{
    for (const QString &name : entries(folder)) {
        QFile file(folder + "/" + name);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString renamed = "n_" + QString::fromUtf8(file.readAll());
        QVERIFY(renamed == name || QFile::rename(folder + "/" + name, folder + "/" + renamed));
    }
}

} // namespace

class TestRenameJournal : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void carriesEveryByteButNul();
    void readsAsFarAsItWasWritten();
    void refusesWhatItCannotTrust_data();
    void refusesWhatItCannotTrust();
    void damageAnywhereIsRefusedOrUndoneWhole();
};

void TestRenameJournal::carriesEveryByteButNul()
{
    std::string every;
    for (int byte = 1; byte < 256; ++byte)
        if (byte != '/')
            every.push_back(char(byte));
    const std::vector<RenameRequest> pairs{
        {every, "x" + every, 18446744073709551615u}, {"P 1 1\n", "D 0\nE\nS 0\n"}, {"a", "b", 42}};
    const std::string text = journalPlan("/folder\n with\xff odd bytes", {7, 9}, pairs)
                             + journalBlock(journalMark(2) + journalMark(0) + std::string(journalClosing));
    const auto parsed = parseJournal(text);
    QVERIFY(std::holds_alternative<Journal>(parsed));
    const Journal &journal = std::get<Journal>(parsed);
    QCOMPARE(journal.folder, NameBytes("/folder\n with\xff odd bytes"));
    QVERIFY(journal.folderIdentity == (FolderIdentity{7, 9}));
    QCOMPARE(journal.pairs.size(), pairs.size());
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        QCOMPARE(journal.pairs[i].from, pairs[i].from);
        QCOMPARE(journal.pairs[i].to, pairs[i].to);
        QCOMPARE(journal.pairs[i].inode, pairs[i].inode);
    }
    QCOMPARE(journal.done, (std::vector<bool>{true, false, true}));
    QVERIFY(journal.closed);
}

// Marks count once their block is sealed; only the whole journal ends closed,
// and its end alone tells so.
void TestRenameJournal::readsAsFarAsItWasWritten()
{
    const std::string plan = journalPlan("/f", {}, {{"a", "b"}, {"c", "d"}});
    const std::string first = journalBlock(journalMark(0));
    const std::string text = plan + first + journalClosingBlocks(journalMark(1));
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        const auto parsed = parseJournal(std::string_view(text).substr(0, cut));
        if (cut < plan.size()) {
            QVERIFY2(std::holds_alternative<JournalProblem>(parsed), qPrintable(QString::number(cut)));
            continue;
        }
        QVERIFY2(std::holds_alternative<Journal>(parsed), qPrintable(QString::number(cut)));
        const Journal &journal = std::get<Journal>(parsed);
        QCOMPARE(bool(journal.done[0]), cut >= plan.size() + first.size());
        QCOMPARE(bool(journal.done[1]), cut >= plan.size() + first.size() + journalBlock(journalMark(1)).size());
        QCOMPARE(journal.closed, cut == text.size());
        QCOMPARE(journalMayBeInterrupted(std::string_view(text).substr(0, cut)), !journal.closed);
    }
}

void TestRenameJournal::refusesWhatItCannotTrust_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("problem");
    const auto plan = [](const NameBytes &folder, const std::vector<RenameRequest> &pairs) {
        return QByteArray::fromStdString(journalPlan(folder, {}, pairs));
    };
    const QByteArray two = plan("/f", {{"a", "b"}, {"c", "d"}});
    const auto unreadable = int(JournalProblem::Unreadable);
    QTest::newRow("not a journal") << QByteArray("hello\n") << unreadable;
    QTest::newRow("newer version") << QByteArray("QUILLBOX-JOURNAL 6\nF 1 0 0 0\n/\nB 0 x\n")
                                   << int(JournalProblem::NewerVersion);
    QTest::newRow("older version") << QByteArray("QUILLBOX-JOURNAL 1\nF 1\n/\nB 0\n") << unreadable;
    QTest::newRow("plan changed after it was sealed") << QByteArray(two).replace("\nab\n", "\nax\n") << unreadable;
    QTest::newRow("count differs") << QByteArray(two).replace("B 2 ", "B 1 ") << unreadable;
    QTest::newRow("a name that leaves the folder") << plan("/f", {{"a", "../b"}}) << unreadable;
    QTest::newRow("a name that is the folder") << plan("/f", {{".", "b"}}) << unreadable;
    QTest::newRow("a folder given relative") << plan("f", {{"a", "b"}}) << unreadable;
    QTest::newRow("mark out of range") << two + QByteArray::fromStdString(journalBlock(journalMark(2))) << unreadable;
    QTest::newRow("a sealed mark changed")
        << two + QByteArray::fromStdString(journalBlock(journalMark(0))).replace("D 0", "D 1") << unreadable;
    QTest::newRow("name longer than said") << QByteArray(two).replace("\nab\n", "\nabc\n") << unreadable;
    // Lengths whose sum wraps round to the bytes that follow.
    QTest::newRow("name lengths past any size")
        << QByteArray(two).replace("P 1 1 ", "P 18446744073709551615 3 ") << unreadable;
    QTest::newRow("step lengths past any size") << two + "I 0 1 18446744073709551615 3\nab\n" << unreadable;
    QTest::newRow("plan ends early") << two.left(two.indexOf("B 2")) << int(JournalProblem::CutShort);
}

void TestRenameJournal::refusesWhatItCannotTrust()
{
    QFETCH(QByteArray, text);
    QFETCH(int, problem);
    const auto parsed = parseJournal(text.toStdString());
    QVERIFY(std::holds_alternative<JournalProblem>(parsed));
    QCOMPARE(int(std::get<JournalProblem>(parsed)), problem);
}

// Whatever byte the journal of a real batch was cut at or changed at, undo
// either refuses and changes nothing, or puts every file back: never half, and
// never a name the batch did not have.
void TestRenameJournal::damageAnywhereIsRefusedOrUndoneWhole()
{
    QTemporaryDir dir;
    const QStringList before{"a.txt", "b.txt", "c.txt"};
    const QStringList after{"n_a.txt", "n_b.txt", "n_c.txt"};
    fill(dir.path(), before);
    FakeServices fakes;
    const NameBytes folder = QFile::encodeName(dir.path()).toStdString();
    // Given relative, as a typed folder field may be: the journal holds it whole.
    const QString current = QDir::currentPath();
    QDir::setCurrent(QFileInfo(dir.path()).path());
    // Each with its inode number, as the listing gives them, which ties the files to the batch.
    std::vector<RenameRequest> requests;
    for (const QString &name : before) {
        struct stat st {};
        QVERIFY(::stat(QFile::encodeName(dir.filePath(name)).constData(), &st) == 0);
        requests.push_back({name.toStdString(), "n_" + name.toStdString(), st.st_ino});
    }
    renameBatch(*fakes.renamer, *fakes.renamer->openFolder(folder),
                QFile::encodeName(QFileInfo(dir.path()).fileName()).toStdString(), {requests, {}}, fakes.journal,
                [] { return false; });
    QDir::setCurrent(current);
    QCOMPARE(entries(dir.path()), after);
    const std::string whole = *fakes.journal.text;
    QCOMPARE(std::get<Journal>(parseJournal(whole)).folder, folder);

    std::vector<std::pair<QString, std::string>> damaged;
    for (std::size_t at = 0; at <= whole.size(); ++at) {
        damaged.emplace_back(QStringLiteral("cut at %1").arg(at), whole.substr(0, at));
        if (at < whole.size()) {
            std::string flipped = whole;
            flipped[at] = char(flipped[at] ^ 0x01);
            damaged.emplace_back(QStringLiteral("byte %1 changed").arg(at), flipped);
        }
    }
    for (const auto &[where, text] : damaged) {
        renameAfter(dir.path());
        fakes.journal.text = text;
        const UndoReport report = undoLastBatch(*fakes.renamer, fakes.journal);
        QVERIFY2(entries(dir.path()) == (report.refused || report.nothingToUndo ? after : before), qPrintable(where));
        if (!report.refused) {
            QFile file(dir.filePath("b.txt"));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), QByteArray("b.txt"));
        }
        // Once undone, a second undo does nothing.
        renameAfter(dir.path());
        QVERIFY(report.refused || undoLastBatch(*fakes.renamer, fakes.journal).nothingToUndo);
    }
}

QTEST_GUILESS_MAIN(TestRenameJournal)
#include "tst_renamejournal.moc"

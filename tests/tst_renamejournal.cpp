// SPDX-License-Identifier: GPL-3.0-or-later

#include "FakeServices.h"
#include "RenameBatch.h"
#include "RenameJournal.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

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

} // namespace

class TestRenameJournal : public QObject {
    Q_OBJECT
private slots:
    void carriesEveryByteButNul();
    void readsAsFarAsItWasWritten();
    void refusesWhatItCannotTrust_data();
    void refusesWhatItCannotTrust();
    void cutAnywhereIsRefusedOrUndoneWhole();
};

void TestRenameJournal::carriesEveryByteButNul()
{
    std::string every;
    for (int byte = 1; byte < 256; ++byte)
        every.push_back(char(byte));
    const std::vector<RenameRequest> pairs{{every, "x" + every}, {"P 1 1\n", "D 0\nE\n"}, {"a", ""}};
    const std::string text = journalPlan("/folder\n with\xff odd bytes", pairs) + journalMark(2) + journalMark(0)
                             + std::string(journalClosing);
    const auto parsed = parseJournal(text);
    QVERIFY(std::holds_alternative<Journal>(parsed));
    const Journal &journal = std::get<Journal>(parsed);
    QCOMPARE(journal.folder, NameBytes("/folder\n with\xff odd bytes"));
    QCOMPARE(journal.pairs.size(), pairs.size());
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        QCOMPARE(journal.pairs[i].from, pairs[i].from);
        QCOMPARE(journal.pairs[i].to, pairs[i].to);
    }
    QCOMPARE(journal.done, (std::vector<bool>{true, false, true}));
    QVERIFY(journal.closed);
}

void TestRenameJournal::readsAsFarAsItWasWritten()
{
    const std::string plan = journalPlan("/f", {{"a", "b"}, {"c", "d"}});
    const std::string text = plan + journalMark(0) + journalMark(1) + std::string(journalClosing);
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        const auto parsed = parseJournal(std::string_view(text).substr(0, cut));
        if (cut < plan.size()) {
            QVERIFY2(std::holds_alternative<JournalProblem>(parsed), qPrintable(QString::number(cut)));
            continue;
        }
        QVERIFY2(std::holds_alternative<Journal>(parsed), qPrintable(QString::number(cut)));
        const Journal &journal = std::get<Journal>(parsed);
        // Only complete lines count.
        QCOMPARE(bool(journal.done[0]), cut >= plan.size() + 4);
        QCOMPARE(bool(journal.done[1]), cut >= plan.size() + 8);
        QCOMPARE(journal.closed, cut == text.size());
    }
}

void TestRenameJournal::refusesWhatItCannotTrust_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("problem");
    QTest::newRow("not a journal") << QByteArray("hello\n") << int(JournalProblem::Unreadable);
    QTest::newRow("newer version") << QByteArray("QUILLBOX-JOURNAL 2\nF 1\n/\nB 0\n")
                                   << int(JournalProblem::NewerVersion);
    QTest::newRow("count differs") << QByteArray("QUILLBOX-JOURNAL 1\nF 1\n/\nP 1 1\nab\nB 2\n")
                                   << int(JournalProblem::Unreadable);
    QTest::newRow("mark out of range") << QByteArray("QUILLBOX-JOURNAL 1\nF 1\n/\nP 1 1\nab\nB 1\nD 1\n")
                                       << int(JournalProblem::Unreadable);
    QTest::newRow("name longer than said")
        << QByteArray("QUILLBOX-JOURNAL 1\nF 1\n/\nP 1 1\nabc\nB 1\n") << int(JournalProblem::Unreadable);
    QTest::newRow("plan ends early") << QByteArray("QUILLBOX-JOURNAL 1\nF 1\n/\nP 1 1\nab\n")
                                     << int(JournalProblem::CutShort);
}

void TestRenameJournal::refusesWhatItCannotTrust()
{
    QFETCH(QByteArray, text);
    QFETCH(int, problem);
    const auto parsed = parseJournal(text.toStdString());
    QVERIFY(std::holds_alternative<JournalProblem>(parsed));
    QCOMPARE(int(std::get<JournalProblem>(parsed)), problem);
}

// Whatever byte the journal of a real batch was cut at, undo either refuses and
// changes nothing, or puts every file back: never half.
void TestRenameJournal::cutAnywhereIsRefusedOrUndoneWhole()
{
    QTemporaryDir dir;
    const QStringList before{"a.txt", "b.txt", "c.txt"};
    const QStringList after{"n_a.txt", "n_b.txt", "n_c.txt"};
    fill(dir.path(), before);
    FakeServices fakes;
    const NameBytes folder = QFile::encodeName(dir.path()).toStdString();
    renameBatch(*fakes.renamer, *fakes.renamer->openFolder(folder), folder,
                {{"a.txt", "n_a.txt"}, {"b.txt", "n_b.txt"}, {"c.txt", "n_c.txt"}}, fakes.journal);
    QCOMPARE(entries(dir.path()), after);
    const std::string whole = *fakes.journal.text;

    for (std::size_t cut = 0; cut <= whole.size(); ++cut) {
        fill(dir.path(), after);
        fakes.journal.text = whole.substr(0, cut);
        const UndoReport report = undoLastBatch(*fakes.renamer, fakes.journal);
        const QString where = QStringLiteral("cut at %1 of %2").arg(cut).arg(whole.size());
        QVERIFY2(entries(dir.path()) == (report.refused ? after : before), qPrintable(where));
        if (!report.refused) {
            QFile file(dir.filePath("b.txt"));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), QByteArray("n_b.txt"));
        }
        // Once undone, a second undo does nothing.
        fill(dir.path(), after);
        QVERIFY(report.refused || undoLastBatch(*fakes.renamer, fakes.journal).nothingToUndo);
    }
}

QTEST_GUILESS_MAIN(TestRenameJournal)
#include "tst_renamejournal.moc"

// SPDX-License-Identifier: GPL-3.0-or-later

#include "FileJournalStore.h"
#include "LockFileInstanceGuard.h"
#include "QtMessageBox.h"
#include "QtSettingsStore.h"
#include "SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <QProcess>
#include <sys/stat.h>
#include <unistd.h>

Q_DECLARE_METATYPE(MsgStyle)

class TestPlatformServices : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void settingsFile_data();
    void settingsFile();
    void settingsStoreKeepsExactTextBySection();
    void instanceGuard();
    void messageBoxLooks_data();
    void messageBoxLooks();
    void journalFileOnlyInASafePlace_data();
    void journalFileOnlyInASafePlace();
    void journalFileOnAFullDisk();
    void journalHeldByOneCopyAtATime();

private:
    QTemporaryDir config_;
};

void TestPlatformServices::initTestCase()
{
    QVERIFY(config_.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path()));
}

using Entries = std::map<std::string, std::string>;

void TestPlatformServices::settingsFile_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QByteArray>("value");
    QTest::newRow("as written") << QByteArray("[Settings]\nX= 200\n") << "Settings/X" << QByteArray(" 200");
    QTest::newRow("comma kept") << QByteArray("[Settings]\nX=1,5\n") << "Settings/X" << QByteArray("1,5");
    QTest::newRow("older quoted form") << QByteArray("[Settings]\nX=\" 200\"\n") << "Settings/X" << QByteArray(" 200");
    QTest::newRow("other section") << QByteArray("[Settings]\nX=1\n[Other]\nX=2\n") << "Other/X" << QByteArray("2");
    QTest::newRow("windows line ends") << QByteArray("[Settings]\r\nH=7\r\n") << "Settings/H" << QByteArray("7");
    QTest::newRow("equals inside value") << QByteArray("[S]\nK=a=b\n") << "S/K" << QByteArray("a=b");
    QTest::newRow("a value in quotes of its own") << QByteArray("[S]\nK=\"\"a\"\"\n") << "S/K" << QByteArray("\"a\"");
    QTest::newRow("a carriage return in quotes") << QByteArray("[S]\nK=\"300\r\"\n") << "S/K" << QByteArray("300\r");
    QTest::newRow("no key where it could not be written back")
        << QByteArray("[S]\nK=1\nx/;y=2\n[AA/;k]\\-H=3\r\r\n") << "S/K" << QByteArray("1");
}

void TestPlatformServices::settingsFile()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, key);
    QFETCH(QByteArray, value);
    const Entries entries = parseSettingsFile(file.toStdString());
    QCOMPARE(QByteArray::fromStdString(entries.at(key.toStdString())), value);
    // Written out and read again, every entry stays the same text.
    QVERIFY(parseSettingsFile(formatSettingsFile(entries)) == entries);
}

void TestPlatformServices::settingsStoreKeepsExactTextBySection()
{
    QtSettingsStore store;
    store.write("Quillbox", "Settings", "X", " 200");
    store.write("Quillbox", "Other", "X", "-7");
    QCOMPARE(store.read("Quillbox", "Settings", "X", "none"), QStringLiteral(" 200"));
    QCOMPARE(store.read("Quillbox", "Other", "X", "none"), QStringLiteral("-7"));
    QCOMPARE(store.read("Quillbox", "Settings", "Y", "none"), QStringLiteral("none"));

    // A value edited by hand comes back as the text it is.
    const QString file = config_.path() + QStringLiteral("/Quillbox/Quillbox.conf");
    QVERIFY(QFile::exists(file));
    QFile edit(file);
    QVERIFY(edit.open(QIODevice::WriteOnly | QIODevice::Truncate));
    edit.write("[Settings]\nX=1,5\nW=4 920\n");
    edit.close();
    QCOMPARE(store.read("Quillbox", "Settings", "X", "none"), QStringLiteral("1,5"));
    QCOMPARE(store.read("Quillbox", "Settings", "W", "none"), QStringLiteral("4 920"));
}

void TestPlatformServices::instanceGuard()
{
    QTemporaryDir runtime;
    auto first = std::make_unique<LockFileInstanceGuard>(runtime.path());
    LockFileInstanceGuard second(runtime.path());
    QVERIFY(!first->otherCopyRunning());
    QVERIFY(second.otherCopyRunning());
    // Once the first copy has ended, a new copy is the only one.
    first.reset();
    QVERIFY(!LockFileInstanceGuard(runtime.path()).otherCopyRunning());
}

void TestPlatformServices::messageBoxLooks_data()
{
    QTest::addColumn<MsgStyle>("style");
    QTest::addColumn<int>("icon");
    QTest::addColumn<int>("buttons");
    QTest::newRow("OK") << MsgStyle::Ok << int(QMessageBox::NoIcon) << int(QMessageBox::Ok);
    QTest::newRow("OK, exclamation") << MsgStyle::OkExclamation << int(QMessageBox::Warning) << int(QMessageBox::Ok);
    QTest::newRow("OK, information") << MsgStyle::OkInformation << int(QMessageBox::Information)
                                     << int(QMessageBox::Ok);
    QTest::newRow("OK and Cancel, information")
        << MsgStyle::OkCancelInformation << int(QMessageBox::Information) << int(QMessageBox::Ok | QMessageBox::Cancel);
    QTest::newRow("OK and Cancel, exclamation")
        << MsgStyle::OkCancelExclamation << int(QMessageBox::Warning) << int(QMessageBox::Ok | QMessageBox::Cancel);
}

void TestPlatformServices::messageBoxLooks()
{
    QFETCH(MsgStyle, style);
    QFETCH(int, icon);
    QFETCH(int, buttons);
    const std::unique_ptr<QMessageBox> box = QtMessageBox::build(QStringLiteral("正文"), style, QStringLiteral("提示"));
    QCOMPARE(int(box->icon()), icon);
    QCOMPARE(int(box->standardButtons()), buttons);
    QCOMPARE(box->text(), QStringLiteral("正文"));
    QCOMPARE(box->windowTitle(), QStringLiteral("提示"));
    QCOMPARE(box->windowModality(), Qt::ApplicationModal);
    QVERIFY(!box->parent());

    // The question of the order: 是 by Return, 取消 by Escape.
    const std::unique_ptr<QMessageBox> question = QtMessageBox::buildQuestion(QStringLiteral("正文"), "Quillbox");
    QCOMPARE(question->icon(), QMessageBox::Question);
    QCOMPARE(question->standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(static_cast<QAbstractButton *>(question->defaultButton()), question->button(QMessageBox::Yes));
    QCOMPARE(question->escapeButton(), question->button(QMessageBox::Cancel));
    QCOMPARE(question->windowModality(), Qt::ApplicationModal);
}

// The journal goes only where the user alone can reach it, never through a
// link, and never in place of what the user keeps under its name: where the
// place is unsafe, no journal is written and nothing else is touched.
void TestPlatformServices::journalFileOnlyInASafePlace_data()
{
    QTest::addColumn<QString>("place");
    QTest::addColumn<bool>("written");
    QTest::newRow("a new state folder") << "new" << true;
    QTest::newRow("a link planted at the journal's name") << "link" << false;
    QTest::newRow("a folder at the journal's name") << "folder" << false;
    QTest::newRow("a state folder others may write in") << "open" << false;
    QTest::newRow("a state folder that is a link") << "linked folder" << false;
    QTest::newRow("another user's state folder") << "foreign" << false;
    QTest::newRow("a file where the folder should be") << "file" << false;
    QTest::newRow("no home at all") << "" << false;
}

void TestPlatformServices::journalFileOnlyInASafePlace()
{
    QFETCH(QString, place);
    QFETCH(bool, written);
    QTemporaryDir base;
    const QString folder = base.filePath("state/quillbox");
    const QString victim = base.filePath("victim");
    QFile(victim).open(QIODevice::WriteOnly);
    QVERIFY(QDir().mkpath(base.filePath("state")));
    if (place == "link") {
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::link(victim, folder + "/last-batch.journal"));
    } else if (place == "folder") {
        QVERIFY(QDir().mkpath(folder + "/last-batch.journal/kept"));
    } else if (place == "open") {
        QVERIFY(QDir().mkpath(folder));
        ::chmod(QFile::encodeName(folder).constData(), 0777);
    } else if (place == "linked folder") {
        QVERIFY(QDir().mkpath(base.filePath("elsewhere")));
        QVERIFY(QFile::link(base.filePath("elsewhere"), folder));
    } else if (place == "foreign") {
        if (geteuid() != 0)
            QSKIP("giving a folder to another user needs root");
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(::chown(QFile::encodeName(folder).constData(), 65534, 65534) == 0);
    } else if (place == "file") {
        QFile(folder).open(QIODevice::WriteOnly);
    }
    FileJournalStore journal(place.isEmpty() ? QString() : folder + "/last-batch.journal");
    QCOMPARE(journal.start("plan\n"), written);
    QCOMPARE(journal.append("mark\n", true), written);
    QCOMPARE(journal.read(), written ? std::optional<std::string>("plan\nmark\n") : std::nullopt);
    QCOMPARE(journal.readEnd(7), written ? std::optional<std::string>("n\nmark\n") : std::nullopt);
    QCOMPARE(journal.readEnd(11), journal.read());
    QCOMPARE(journal.exists(), written);
    QCOMPARE(QFile(victim).size(), 0);
    QCOMPARE(QFileInfo::exists(folder + "/last-batch.journal/kept"), place == "folder");
    if (written) {
        QCOMPARE(QFileInfo(folder).permissions() & (QFile::WriteGroup | QFile::WriteOther), QFile::Permissions());
        // A batch that renamed nothing brings the journal before it back.
        QVERIFY(journal.start("next\n"));
        journal.restorePrevious();
        QCOMPARE(journal.read(), std::optional<std::string>("plan\nmark\n"));
        // Once undone, no journal older than the next batch comes back.
        QVERIFY(journal.start("next\n"));
        journal.clear();
        QVERIFY(journal.start("third\n"));
        journal.restorePrevious();
        QCOMPARE(journal.read(), std::nullopt);
    }
}

// A state folder with no room: the journal is refused, never left empty and
// taken for written, and the journal before it stays.
void TestPlatformServices::journalFileOnAFullDisk()
{
    QTemporaryDir base;
    const QString folder = base.filePath("quillbox");
    QVERIFY(QDir().mkpath(folder));
    if (geteuid() != 0 || QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=16k,mode=0700", "tmpfs", folder}) != 0)
        QSKIP("mounting a small tmpfs needs root");
    FileJournalStore journal(folder + "/last-batch.journal");
    const std::string earlier = "earlier\n";
    const bool startedEarlier = journal.start(earlier);
    const bool startedHuge = journal.start(std::string(1 << 20, 'x'));
    const std::optional<std::string> kept = journal.read();
    const bool appended = journal.append(std::string(1 << 20, 'y'), true);
    QProcess::execute("umount", {folder});
    QVERIFY(startedEarlier);
    QVERIFY(!startedHuge);
    QCOMPARE(kept, std::optional<std::string>(earlier));
    QVERIFY(!appended);
}

// Two copies of the program: while one holds the journal, the other waits, then gives up.
void TestPlatformServices::journalHeldByOneCopyAtATime()
{
    QTemporaryDir base;
    FileJournalStore first(base.filePath("quillbox/last-batch.journal"), 50);
    FileJournalStore second(base.filePath("quillbox/last-batch.journal"), 50);
    QVERIFY(first.lock());
    QVERIFY(!second.lock());
    first.unlock();
    QVERIFY(second.lock());
    second.unlock();
}

QTEST_MAIN(TestPlatformServices)
#include "tst_platformservices.moc"

// SPDX-License-Identifier: GPL-3.0-or-later

#include "CommandLine.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>

Q_DECLARE_METATYPE(CommandLine::Action)

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void reads_data();
    void reads();
    void theProgramAnswersWithoutADisplay();
};

void TestCommandLine::initTestCase()
{
    QCoreApplication::setApplicationName("Quillbox");
    QCoreApplication::setApplicationVersion(QUILLBOX_VERSION);
}

void TestCommandLine::reads_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<CommandLine::Action>("action");
    QTest::addColumn<QString>("folder");
    QTest::newRow("nothing") << QStringList{} << CommandLine::Run << "";
    QTest::newRow("a folder") << QStringList{"/srv/photos"} << CommandLine::Run << "/srv/photos";
    QTest::newRow("Qt's own options pass")
        << QStringList{"-style", "Fusion", "-platform=xcb", "-reverse", "/srv"} << CommandLine::Run << "/srv";
    QTest::newRow("after --, a dash starts a folder") << QStringList{"--", "-odd"} << CommandLine::Run << "-odd";
    QTest::newRow("help") << QStringList{"--help"} << CommandLine::Help << "";
    QTest::newRow("short help") << QStringList{"-h", "/srv"} << CommandLine::Help << "";
    QTest::newRow("version") << QStringList{"--version"} << CommandLine::Version << "";
    QTest::newRow("unknown option") << QStringList{"--frobnicate"} << CommandLine::Mistake << "";
    QTest::newRow("two folders") << QStringList{"/a", "/b"} << CommandLine::Mistake << "";
}

void TestCommandLine::reads()
{
    QFETCH(QStringList, arguments);
    QFETCH(CommandLine::Action, action);
    QFETCH(QString, folder);
    arguments.prepend("quillbox");
    std::vector<NameBytes> raw;
    for (const QString &argument : arguments)
        raw.push_back(argument.toStdString());
    const CommandLine line = readCommandLine(arguments, raw);
    QCOMPARE(line.action, action);
    QCOMPARE(QString::fromStdString(line.folder.value_or("")), folder);
    if (action == CommandLine::Version)
        QCOMPARE(line.text, QStringLiteral("Quillbox " QUILLBOX_VERSION "\n"));
    if (action != CommandLine::Run)
        QVERIFY(line.text.contains("FOLDER") || action == CommandLine::Version);

    // A folder name that is not UTF-8 arrives as its bytes.
    if (action == CommandLine::Run && !folder.isEmpty()) {
        raw.back() = "/srv/\xd5\xd5";
        QCOMPARE(readCommandLine(arguments, raw).folder.value_or(""), NameBytes("/srv/\xd5\xd5"));
    }
}

// The installed program, run where there is no display at all.
void TestCommandLine::theProgramAnswersWithoutADisplay()
{
    QProcessEnvironment bare;
    bare.insert("PATH", qEnvironmentVariable("PATH"));
    const auto run = [&](const QStringList &arguments, QByteArray *out, QByteArray *err) {
        QProcess program;
        program.setProcessEnvironment(bare);
        program.start(QUILLBOX_PROGRAM, arguments);
        program.waitForFinished(30000);
        *out = program.readAllStandardOutput();
        *err = program.readAllStandardError();
        return program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
    };
    QByteArray out, err;
    QCOMPARE(run({"--version"}, &out, &err), 0);
    QCOMPARE(out, QByteArray("Quillbox " QUILLBOX_VERSION "\n"));
    QCOMPARE(run({"--help"}, &out, &err), 0);
    QVERIFY(out.contains("[FOLDER]"));
    QCOMPARE(run({"--bogus"}, &out, &err), 2);
    QVERIFY(out.isEmpty());
    QVERIFY(err.contains("bogus") && err.contains("[FOLDER]"));
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"

// SPDX-License-Identifier: GPL-3.0-or-later

#include "CommandLine.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTest>

Q_DECLARE_METATYPE(CommandLine::Action)

class TestCommandLine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void reads_data();
    void reads();
    void theProgramAnswers_data();
    void theProgramAnswers();
};

void TestCommandLine::initTestCase()
{
    QCoreApplication::setApplicationName("Quillbox");
    QCoreApplication::setApplicationVersion(QUILLBOX_VERSION);
}

// `question` is what is answered before there is a display, with every
// argument given; `action` and `folder` what is read once Qt took its own.
void TestCommandLine::reads_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<CommandLine::Action>("question");
    QTest::addColumn<CommandLine::Action>("action");
    QTest::addColumn<QString>("folder");
    const QString here = QDir::currentPath();
    QTest::newRow("nothing") << QStringList{} << CommandLine::Run << CommandLine::Run << "";
    QTest::newRow("a folder") << QStringList{"/srv/photos"} << CommandLine::Run << CommandLine::Run << "/srv/photos";
    QTest::newRow("a relative folder, made absolute")
        << QStringList{"trip/./raw/../jpg/"} << CommandLine::Run << CommandLine::Run << here + "/trip/jpg";
    QTest::newRow("the current folder") << QStringList{"."} << CommandLine::Run << CommandLine::Run << here;
    QTest::newRow("Qt's own options wait for Qt")
        << QStringList{"-platform", "xcb", "-reverse", "-style=fusion", "/srv"} << CommandLine::Run
        << CommandLine::Mistake << "";
    QTest::newRow("-reverse is no -v") << QStringList{"-reverse", "--version"} << CommandLine::Version
                                       << CommandLine::Version << "";
    QTest::newRow("after --, a dash starts a folder")
        << QStringList{"--", "-odd"} << CommandLine::Run << CommandLine::Run << here + "/-odd";
    QTest::newRow("help") << QStringList{"--help"} << CommandLine::Help << CommandLine::Help << "";
    QTest::newRow("short help") << QStringList{"-h", "/srv"} << CommandLine::Help << CommandLine::Help << "";
    QTest::newRow("help with Qt's options")
        << QStringList{"-platform", "xcb", "--help-all"} << CommandLine::HelpAll << CommandLine::HelpAll << "";
    QTest::newRow("version") << QStringList{"--version"} << CommandLine::Version << CommandLine::Version << "";
    QTest::newRow("unknown option") << QStringList{"--frobnicate"} << CommandLine::Run << CommandLine::Mistake << "";
    QTest::newRow("two folders") << QStringList{"/a", "/b"} << CommandLine::Run << CommandLine::Mistake << "";
}

void TestCommandLine::reads()
{
    QFETCH(QStringList, arguments);
    QFETCH(CommandLine::Action, question);
    QFETCH(CommandLine::Action, action);
    QFETCH(QString, folder);
    arguments.prepend("quillbox");
    QCOMPARE(readQuestion(arguments).action, question);
    std::vector<NameBytes> raw;
    for (const QString &argument : arguments)
        raw.push_back(argument.toStdString());
    const CommandLine line = readCommandLine(arguments, raw);
    QCOMPARE(line.action, action);
    QCOMPARE(QString::fromStdString(line.folder.value_or("")), folder);
    if (action == CommandLine::Version)
        QCOMPARE(line.text, QStringLiteral("Quillbox " QUILLBOX_VERSION "\n"));
    if (action == CommandLine::Help || action == CommandLine::Mistake)
        QVERIFY(line.text.contains("[FOLDER]"));

    // A folder name that is not UTF-8 arrives as its bytes.
    if (action == CommandLine::Run && folder.startsWith("/srv")) {
        raw.back() = "/srv/\xd5\xd5";
        QCOMPARE(readCommandLine(arguments, raw).folder.value_or(""), NameBytes("/srv/\xd5\xd5"));
    }
}

// The installed program, run where there is no display at all, and once on
// Qt's offscreen display for what it reads only after Qt took its options.
void TestCommandLine::theProgramAnswers_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("platform");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");
    QTest::newRow("version") << QStringList{"--version"} << "" << 0 << QByteArray("Quillbox " QUILLBOX_VERSION "\n")
                             << QByteArray();
    QTest::newRow("help") << QStringList{"--help"} << "" << 0 << QByteArray("[FOLDER]") << QByteArray();
    QTest::newRow("help with Qt's options")
        << QStringList{"--help-all"} << "" << 0 << QByteArray("--platform <platformName") << QByteArray();
    QTest::newRow("a folder and no display")
        << QStringList{"/tmp"} << "" << 1 << QByteArray()
        << QByteArray("quillbox: no display to open the window on (is DISPLAY or WAYLAND_DISPLAY set?)\n");
    QTest::newRow("an unknown option") << QStringList{"-platform", "offscreen", "--bogus"} << "offscreen" << 2
                                       << QByteArray() << QByteArray("Unknown option 'bogus'.\nUsage:");
}

void TestCommandLine::theProgramAnswers()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, platform);
    QFETCH(int, status);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    QProcessEnvironment bare;
    bare.insert("PATH", qEnvironmentVariable("PATH"));
    if (!platform.isEmpty())
        bare.insert("QT_QPA_PLATFORM", platform);
    QProcess program;
    program.setProcessEnvironment(bare);
    program.start(QUILLBOX_PROGRAM, arguments);
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), status);
    const QByteArray printed = program.readAllStandardOutput();
    const QByteArray complained = program.readAllStandardError();
    QVERIFY2(out.isEmpty() ? printed.isEmpty() : printed.contains(out), printed.constData());
    QVERIFY2(err.isEmpty() ? complained.isEmpty() : complained.contains(err), complained.constData());
    if (status == 1) // one line, and nothing Qt said on the way
        QCOMPARE(complained, err);
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"

// SPDX-License-Identifier: GPL-3.0-or-later

#include "LockFileInstanceGuard.h"
#include "QtMessageBox.h"
#include "QtSettingsStore.h"
#include "SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(MsgStyle)

class TestPlatformServices : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void settingsFile_data();
    void settingsFile();
    void settingsStoreKeepsExactTextBySection();
    void instanceGuard();
    void messageBoxLooks_data();
    void messageBoxLooks();

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
}

QTEST_MAIN(TestPlatformServices)
#include "tst_platformservices.moc"

// SPDX-License-Identifier: GPL-3.0-or-later

#include "AfterFirstPaint.h"
#include "RenameWindowDriver.h"

#include "NativeNames.h"

#include "ProgramLook.h"
#include "QtFolderPicker.h"

#include <QAccessible>
#include <QApplication>
#include <QFileDialog>
#include <QMimeData>
#include <QTemporaryDir>
#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

class TestRenameWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { applyProgramLook(*qApp); }
    void layout();
    void initialState();
    void modeSwitchingKeepsTexts();
    void tabOrder();
    void accessibleNames();
    void keyboardOpensThePicker();
    void pickerLeavesTheWindowUsable();
    void aboutButtonKeepsOneWindow();
    void pickerCancelChangesNothing();
    void folderWithoutFilesKeepsOldList();
    void successfulListing();
    void folderFieldPath_data();
    void folderFieldPath();
    void folderFromTheCommandLine();
    void droppedFolders();
    void selectAllAndInvert();
    void largeListSelection();
};

void TestRenameWindow::layout()
{
    RenameWindowDriver d;
    QCOMPARE(d.window.objectName(), QStringLiteral("批量命名文件"));
    QCOMPARE(d.window.windowTitle(), QStringLiteral("Quillmark\u3000\u3000Marvolt精品集"));
    QCOMPARE(d.window.size(), QSize(376, 399));
    QCOMPARE(d.field("路径")->geometry(), QRect(104, 8, 192, 24));
    QCOMPARE(d.list()->geometry(), QRect(8, 52, 188, 250));
    QCOMPARE(d.control<QGroupBox>("命名方式")->geometry(), QRect(208, 120, 160, 184));
    QCOMPARE(d.button("CommandButton2")->geometry(), QRect(296, 312, 72, 32));
    QCOMPARE(d.control<QWidget>("ShockwaveFlash1")->geometry(), QRect(0, 352, 376, 48));
    QCOMPARE(d.option("替换指定字符")->size(), QSize(113, 24));
    QCOMPARE(d.field("路径")->toolTip(), QStringLiteral("双击选择文件夹或磁盘"));
    QCOMPARE(d.list()->palette().color(QPalette::Base), QColor(192, 255, 255));
    QCOMPARE(d.list()->selectionMode(), QAbstractItemView::ExtendedSelection);
    QCOMPARE(d.window.font().pointSizeF(), 9.0);
    QVERIFY(!d.button("CommandButton1")->isDefault() && !d.button("CommandButton1")->autoDefault());
    // Every child of a frame fits between its caption and its bottom edge.
    for (const char *frame : {"隐藏选项", "命名方式"}) {
        const QGroupBox *box = d.control<QGroupBox>(frame);
        for (const QWidget *child : box->findChildren<QWidget *>())
            QVERIFY2(child->y() > 8 && child->geometry().bottom() < box->height(), qPrintable(child->objectName()));
    }
}

void TestRenameWindow::initialState()
{
    RenameWindowDriver d;
    QVERIFY(d.option("插入到原名称之前")->isChecked());
    QVERIFY(!d.button("全选")->isEnabled());
    QVERIFY(!d.button("反选")->isEnabled());
    QVERIFY(!d.field("TextBox1")->isEnabled());
    QVERIFY(!d.field("TextBox2")->isEnabled());
    QVERIFY(d.field("新名称")->isEnabled());
    QVERIFY(d.button("CommandButton1")->isEnabled());
    QCOMPARE(d.field("路径")->text(), QStringLiteral("请双击选择目标文件夹或磁盘"));
    QCOMPARE(d.model()->rowCount(), 0);
    QCOMPARE(QApplication::focusWidget(), d.option("插入到原名称之前"));
}

void TestRenameWindow::modeSwitchingKeepsTexts()
{
    RenameWindowDriver d;
    QTest::mouseClick(d.option("替换指定字符"), Qt::LeftButton);
    QVERIFY(d.field("TextBox1")->isEnabled() && d.field("TextBox2")->isEnabled());
    QTest::keyClicks(d.field("TextBox1"), "-");
    QTest::keyClicks(d.field("TextBox2"), "_");
    QTest::keyClicks(d.field("新名称"), "new_");

    QTest::mouseClick(d.option("插入到原名称之后"), Qt::LeftButton);
    QVERIFY(!d.field("TextBox1")->isEnabled() && !d.field("TextBox2")->isEnabled());
    QTest::mouseClick(d.option("替换原文件名"), Qt::LeftButton);
    QTest::mouseClick(d.option("替换原文件名"), Qt::LeftButton);
    QVERIFY(d.option("替换原文件名")->isChecked());
    QVERIFY(!d.field("TextBox1")->isEnabled());

    QTest::mouseClick(d.option("替换指定字符"), Qt::LeftButton);
    QVERIFY(d.field("TextBox1")->isEnabled());
    QCOMPARE(d.field("TextBox1")->text(), QStringLiteral("-"));
    QCOMPARE(d.field("TextBox2")->text(), QStringLiteral("_"));
    QCOMPARE(d.field("新名称")->text(), QStringLiteral("new_"));
    QVERIFY(d.field("新名称")->isEnabled());
    QVERIFY(!d.button("全选")->isEnabled());
}

// Real Tab presses visit every control in the window's order, every option of
// the frame included, and skip what is disabled.
void TestRenameWindow::tabOrder()
{
    RenameWindowDriver d;
    const auto walk = [&] {
        QStringList visited;
        for (int press = 0; press < 14; ++press) {
            visited << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        return visited;
    };
    QCOMPARE(QApplication::focusWidget(), d.option("插入到原名称之前"));
    QCOMPARE(walk(), (QStringList{"插入到原名称之前", "插入到原名称之后", "替换原文件名", "替换指定字符", "路径",
                                  "ListBox1", "CommandButton1", "新名称", "ShockwaveFlash1", "CommandButton2",
                                  "插入到原名称之前", "插入到原名称之后", "替换原文件名", "替换指定字符"}));

    // With a folder listed and the replace mode chosen, nothing is skipped.
    QTemporaryDir dir;
    makeFile(dir.filePath("a.txt"));
    d.pickFolder(dir.path());
    QTest::keyClick(d.option("替换指定字符"), Qt::Key_Space);
    QVERIFY(d.option("替换指定字符")->isChecked());
    d.option("插入到原名称之前")->setFocus();
    QCOMPARE(walk(), (QStringList{"插入到原名称之前", "插入到原名称之后", "替换原文件名", "替换指定字符", "TextBox1",
                                  "TextBox2", "路径", "ListBox1", "全选", "反选", "CommandButton1", "新名称",
                                  "ShockwaveFlash1", "CommandButton2"}));
}

// Every control a person reaches by keyboard tells a screen reader its name.
void TestRenameWindow::accessibleNames()
{
    RenameWindowDriver d;
    const auto nameOf = [](QWidget *control) {
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(control);
        return face ? face->text(QAccessible::Name) : QString();
    };
    QCOMPARE(nameOf(d.field("路径")), QStringLiteral("请指定文件夹"));
    QCOMPARE(nameOf(d.list()), QStringLiteral("文件列表"));
    QCOMPARE(nameOf(d.field("TextBox1")), QStringLiteral("原字符"));
    QCOMPARE(nameOf(d.field("TextBox2")), QStringLiteral("新字符"));
    QCOMPARE(nameOf(d.field("新名称")), QStringLiteral("请指定新名称"));
    QCOMPARE(nameOf(d.control<QWidget>("ShockwaveFlash1")), QStringLiteral("横幅动画"));
    QCOMPARE(nameOf(d.button("全选")), QStringLiteral("全选"));
    QCOMPARE(nameOf(d.option("替换指定字符")), QStringLiteral("替换指定字符"));
}

// F4 and Alt+Down in the folder field, and Ctrl+O anywhere, pick a folder as a double-click does.
void TestRenameWindow::keyboardOpensThePicker()
{
    RenameWindowDriver d;
    QTemporaryDir dir;
    makeFile(dir.filePath("a.txt"));
    d.fakes.picker.answer = dir.path();
    QTest::keyClick(d.field("路径"), Qt::Key_F4);
    QCOMPARE(d.fakes.picker.titles, QStringList{"选择文件夹"});
    QCOMPARE(d.rows(), QStringList{"a.txt"});
    QCOMPARE(QApplication::focusWidget(), d.field("新名称"));
    QTest::keyClick(d.field("路径"), Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(d.fakes.picker.titles.size(), 2);
    QTest::keyClick(d.list(), Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(d.fakes.picker.titles.size(), 3);
    // Plain keys still type.
    QTest::keyClick(d.field("路径"), Qt::Key_Down);
    QCOMPARE(d.fakes.picker.titles.size(), 3);
}

// The real picker is not modal: while it is open the rename window takes
// clicks, and a second request brings the open picker forward.
void TestRenameWindow::pickerLeavesTheWindowUsable()
{
    RenameWindowDriver d;
    QtFolderPicker picker;
    const Services services{d.fakes.messages, picker,         *d.fakes.lister,   *d.fakes.renamer, d.fakes.settings,
                            d.fakes.links,    d.fakes.beeper, d.fakes.instances, d.fakes.journal,  d.fakes.progress};
    WindowRef about([] { return nullptr; });
    RenameWindow window(services, about);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const auto openDialogs = [] {
        QList<QFileDialog *> found;
        for (QWidget *top : QApplication::topLevelWidgets())
            if (auto *dialog = qobject_cast<QFileDialog *>(top); dialog && dialog->isVisible())
                found << dialog;
        return found;
    };
    int dialogs = -1;
    bool optionTookClick = false;
    bool modal = true;
    QTimer::singleShot(200, &window, [&] {
        modal = QApplication::activeModalWidget() != nullptr;
        auto *option = window.findChild<QRadioButton *>(QStringLiteral("替换指定字符"));
        QTest::mouseClick(option, Qt::LeftButton);
        optionTookClick = option->isChecked();
        QTimer::singleShot(200, &window, [&] {
            dialogs = int(openDialogs().size());
            for (QFileDialog *dialog : openDialogs())
                dialog->reject();
        });
        QTest::mouseDClick(window.findChild<QLineEdit *>(QStringLiteral("路径")), Qt::LeftButton);
    });
    QTest::mouseDClick(window.findChild<QLineEdit *>(QStringLiteral("路径")), Qt::LeftButton);
    QCOMPARE(dialogs, 1);
    QVERIFY(!modal);
    QVERIFY(optionTookClick);
    QCOMPARE(window.findChild<QLineEdit *>(QStringLiteral("路径"))->text(),
             QStringLiteral("请双击选择目标文件夹或磁盘"));
}

void TestRenameWindow::aboutButtonKeepsOneWindow()
{
    RenameWindowDriver d;
    QTest::mouseClick(d.button("CommandButton2"), Qt::LeftButton);
    QTest::mouseClick(d.button("CommandButton2"), Qt::LeftButton);
    QCOMPARE(d.aboutWindowsMade, 1);
    QPointer<QWidget> first = d.about.window();
    QVERIFY(first && first->isVisible());

    first->close();
    QTRY_VERIFY(!first);
    QVERIFY(!d.about.window());
    QTest::mouseClick(d.button("CommandButton2"), Qt::LeftButton);
    QCOMPARE(d.aboutWindowsMade, 2);
    // The rename window still answers while the About window is open.
    QTest::mouseClick(d.option("替换指定字符"), Qt::LeftButton);
    QVERIFY(d.field("TextBox1")->isEnabled());
    d.about.window()->close();
}

void TestRenameWindow::pickerCancelChangesNothing()
{
    RenameWindowDriver d;
    d.pickFolder(std::nullopt);
    QCOMPARE(d.fakes.picker.titles, QStringList{QStringLiteral("选择文件夹")});
    QCOMPARE(d.field("路径")->text(), QStringLiteral("请双击选择目标文件夹或磁盘"));
    QVERIFY(d.fakes.messages.shown.empty());
    QVERIFY(!d.button("全选")->isEnabled());
}

void TestRenameWindow::folderWithoutFilesKeepsOldList()
{
    QTemporaryDir withFiles, withoutFiles;
    makeFile(withFiles.filePath("a.txt"));
    makeFile(withoutFiles.filePath(".hidden"));
    QVERIFY(QDir(withoutFiles.path()).mkdir("sub"));

    RenameWindowDriver d;
    d.pickFolder(withoutFiles.path());
    QCOMPARE(d.fakes.messages.shown.size(), std::size_t(1));
    QCOMPARE(d.fakes.messages.shown[0].text, QStringLiteral("没发现文件哦！"));
    QCOMPARE(d.fakes.messages.shown[0].style, MsgStyle::Ok);
    QCOMPARE(d.fakes.messages.shown[0].title, QStringLiteral("Quillbox"));
    QCOMPARE(d.field("路径")->text(), withoutFiles.path());
    QVERIFY(!d.button("全选")->isEnabled() && !d.button("反选")->isEnabled());

    d.pickFolder(withFiles.path());
    d.selectRows({0});
    d.pickFolder(withoutFiles.path());
    QCOMPARE(d.field("路径")->text(), withoutFiles.path());
    QCOMPARE(d.rows(), QStringList{"a.txt"});
    QCOMPARE(d.selectedRows(), QList<int>{0});

    d.pickFolder(withFiles.filePath("gone"));
    QCOMPARE(d.fakes.messages.shown.back().text, QStringLiteral("没发现文件哦！"));
}

void TestRenameWindow::successfulListing()
{
    QTemporaryDir dir;
    makeFile(dir.filePath("README"));
    makeFile(dir.filePath("a.txt"));
    QVERIFY(QDir(dir.path()).mkdir("sub"));

    RenameWindowDriver d;
    d.pickFolder(dir.path() + "/");
    QCOMPARE(d.field("路径")->text(), dir.path());
    QStringList rows = d.rows();
    rows.sort();
    QCOMPARE(rows, (QStringList{"README", "a.txt"}));
    QVERIFY(d.selectedRows().isEmpty());
    QCOMPARE(d.fakes.messages.shown.size(), std::size_t(1));
    QCOMPARE(d.fakes.messages.shown[0].text, QStringLiteral("请选择需要重命名的文件。可以全选！\n"
                                                            "也可以按住Cltr键或者Shift键多项选择。\n"
                                                            "还可以反向选择！"));
    QCOMPARE(d.fakes.messages.shown[0].style, MsgStyle::OkCancelInformation);
    QCOMPARE(d.fakes.messages.shown[0].title, QStringLiteral("提示"));
    QVERIFY(d.button("全选")->isEnabled() && d.button("反选")->isEnabled());
    QCOMPARE(QApplication::focusWidget(), d.field("新名称"));

    // Picking again rebuilds the list, drops the selection and shows the hint again.
    d.selectRows({0, 1});
    d.pickFolder(dir.path());
    QVERIFY(d.selectedRows().isEmpty());
    QCOMPARE(d.fakes.messages.shown.size(), std::size_t(2));
}

void TestRenameWindow::folderFieldPath_data()
{
    QTest::addColumn<QByteArray>("picked");
    QTest::addColumn<QByteArray>("field");
    QTest::newRow("plain") << QByteArray("/home/user/photos") << QByteArray("/home/user/photos");
    QTest::newRow("one trailing separator") << QByteArray("/home/user/photos//") << QByteArray("/home/user/photos/");
    QTest::newRow("root stays") << QByteArray("/") << QByteArray("/");
    QTest::newRow("bytes kept") << QByteArray("/srv/\xd5\xd5/") << QByteArray("/srv/\xd5\xd5");
}

void TestRenameWindow::folderFieldPath()
{
    QFETCH(QByteArray, picked);
    QFETCH(QByteArray, field);
    QCOMPARE(QByteArray::fromStdString(::folderFieldPath(picked.toStdString())), field);
}

// A folder given on the command line is taken as a pick is, by its bytes, once
// the window has painted; a path that is not a folder gets one message and
// leaves the window as it starts.
void TestRenameWindow::folderFromTheCommandLine()
{
    QTemporaryDir dir;
    const std::string odd = QFile::encodeName(dir.path()).toStdString() + "/\xd5\xd5\xc6\xac";
    QVERIFY(::mkdir(odd.c_str(), 0755) == 0);
    ::close(::open((odd + "/a.txt").c_str(), O_CREAT | O_WRONLY, 0644));
    {
        RenameWindowDriver d;
        d.window.startWithFolder(odd + "/");
        QCOMPARE(d.rows(), QStringList{"a.txt"});
        QCOMPARE(d.fakes.messages.shown.size(), std::size_t(1));
        QCOMPARE(d.fakes.messages.shown[0].title, QStringLiteral("提示"));
        QVERIFY(d.button("全选")->isEnabled() && d.button("反选")->isEnabled());
        QCOMPARE(QApplication::focusWidget(), d.field("新名称"));
        // The field cannot show those bytes, yet the click renames in that folder.
        d.selectRows({0});
        d.rename("插入到原名称之前", QStringLiteral("new_"));
        struct stat st {};
        QVERIFY(::lstat((odd + "/new_a.txt").c_str(), &st) == 0);
        QCOMPARE(d.rows(), QStringList{"new_a.txt"});
    }
    {
        RenameWindowDriver d;
        makeFile(dir.filePath("plain.txt"));
        d.window.hide();
        runAfterFirstPaint(
            &d.window, [&] { d.window.startWithFolder(QFile::encodeName(dir.filePath("plain.txt")).toStdString()); });
        QTest::qWait(20);
        QVERIFY(d.fakes.messages.shown.empty());
        d.window.show();
        QTRY_COMPARE(d.fakes.messages.shown.size(), std::size_t(1));
        QCOMPARE(d.fakes.messages.shown[0].text,
                 QStringLiteral("“%1”不是文件夹，无法打开。").arg(dir.filePath("plain.txt")));
        QCOMPARE(d.field("路径")->text(), QStringLiteral("请双击选择目标文件夹或磁盘"));
        QVERIFY(!d.button("全选")->isEnabled());
    }
}

void TestRenameWindow::droppedFolders()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("photos"));
    makeFile(dir.filePath("photos/a.jpg"));
    RenameWindowDriver d;
    // A file manager offers copy, move and link, and with Shift proposes a move; the
    // window takes a copy, so the source never deletes what was dropped.
    const auto drop = [&](const QList<QUrl> &urls) -> std::optional<Qt::DropAction> {
        QMimeData data;
        data.setUrls(urls);
        const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
        QDragEnterEvent enter(QPoint(10, 10), offered, &data, Qt::LeftButton, Qt::ShiftModifier);
        QApplication::sendEvent(&d.window, &enter);
        if (!enter.isAccepted())
            return std::nullopt;
        QDropEvent dropped(QPointF(10, 10), offered, &data, Qt::LeftButton, Qt::ShiftModifier);
        QApplication::sendEvent(&d.window, &dropped);
        QTest::qWait(0);
        return enter.dropAction() == dropped.dropAction() ? dropped.dropAction() : Qt::IgnoreAction;
    };
    QVERIFY(!drop({QUrl("https://example.com/photos/")}));
    QCOMPARE(d.model()->rowCount(), 0);
    // What names no folder is refused as on the command line, never taken for its parent.
    d.fakes.messages.shown.clear();
    QCOMPARE(drop({QUrl::fromLocalFile(dir.filePath("photos/missing"))}).value_or(Qt::IgnoreAction), Qt::CopyAction);
    QTRY_COMPARE(d.fakes.messages.shown.size(), std::size_t(1));
    QCOMPARE(d.fakes.messages.shown[0].text,
             QStringLiteral("“%1”不是文件夹，无法打开。").arg(dir.filePath("photos/missing")));
    QCOMPARE(d.model()->rowCount(), 0);

    QCOMPARE(
        drop({QUrl::fromLocalFile(dir.filePath("photos")), QUrl::fromLocalFile(dir.path())}).value_or(Qt::IgnoreAction),
        Qt::CopyAction);
    QTRY_COMPARE(d.rows(), QStringList{"a.jpg"});
    QCOMPARE(d.field("路径")->text(), dir.filePath("photos"));

    // A file stands for the folder it is in.
    makeFile(dir.filePath("top.txt"));
    QCOMPARE(drop({QUrl::fromLocalFile(dir.filePath("top.txt"))}).value_or(Qt::IgnoreAction), Qt::CopyAction);
    QTRY_COMPARE(d.field("路径")->text(), dir.path());
    QVERIFY(d.rows().contains("top.txt"));

#ifdef Q_OS_UNIX
    // A folder named in GBK arrives as its own bytes, as a file manager sends them.
    const std::string gbk = QFile::encodeName(dir.filePath("photos")).toStdString() + "/\xb2\xe2\xca\xd4";
    QVERIFY(::mkdir(gbk.c_str(), 0700) == 0);
    ::close(::open((gbk + "/in-gbk.jpg").c_str(), O_CREAT | O_WRONLY, 0644));
    const QUrl url
        = QUrl::fromEncoded("file://" + QUrl::toPercentEncoding(dir.filePath("photos"), "/") + "/%B2%E2%CA%D4");
    QCOMPARE(drop({url}).value_or(Qt::IgnoreAction), Qt::CopyAction);
    QTRY_COMPARE(d.rows(), QStringList{"in-gbk.jpg"});
    QCOMPARE(d.field("路径")->text(), dir.filePath("photos") + QStringLiteral("/测试"));
    ::unlink((gbk + "/in-gbk.jpg").c_str());
    ::rmdir(gbk.c_str());
#endif
}

void TestRenameWindow::selectAllAndInvert()
{
    QTemporaryDir dir;
    for (int i = 0; i < 5; ++i)
        makeFile(dir.filePath(QStringLiteral("f%1").arg(i)));
    RenameWindowDriver d;
    d.pickFolder(dir.path());

    d.selectRows({1, 3});
    QTest::mouseClick(d.button("全选"), Qt::LeftButton);
    QCOMPARE(d.selectedRows(), (QList<int>{0, 1, 2, 3, 4}));

    d.selectRows({0, 2});
    QTest::mouseClick(d.button("反选"), Qt::LeftButton);
    QCOMPARE(d.selectedRows(), (QList<int>{1, 3, 4}));
    QTest::mouseClick(d.button("反选"), Qt::LeftButton);
    QCOMPARE(d.selectedRows(), (QList<int>{0, 2}));

    d.selectRows({});
    QTest::mouseClick(d.button("反选"), Qt::LeftButton);
    QCOMPARE(d.selectedRows(), (QList<int>{0, 1, 2, 3, 4}));
}

void TestRenameWindow::largeListSelection()
{
    QTemporaryDir dir;
    for (int i = 0; i < 300; ++i)
        makeFile(dir.filePath(QStringLiteral("f%1").arg(i)));
    RenameWindowDriver d;
    d.pickFolder(dir.path());
    QCOMPARE(d.model()->rowCount(), 300);

    QTest::mouseClick(d.button("全选"), Qt::LeftButton);
    QCOMPARE(d.selectedRows().size(), 300);
    QList<int> odd;
    for (int row = 1; row < 300; row += 2)
        odd << row;
    QList<int> even;
    for (int row = 0; row < 300; row += 2)
        even << row;
    d.selectRows(even);
    QTest::mouseClick(d.button("反选"), Qt::LeftButton);
    QCOMPARE(d.selectedRows(), odd);
    QVERIFY(d.selectedRows().contains(299));
}

QTEST_MAIN(TestRenameWindow)
#include "tst_renamewindow.moc"

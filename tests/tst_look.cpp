// SPDX-License-Identifier: GPL-3.0-or-later

#include "AboutWindow.h"
#include "BookCoverWindow.h"
#include "ProgramLook.h"
#include "QtMessageBox.h"
#include "RenameWindowDriver.h"

#include <QApplication>
#include <QMessageBox>
#include <QTemporaryDir>

namespace {

bool near(const QColor &a, const QColor &b, int tolerance = 8)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
           && std::abs(a.blue() - b.blue()) <= tolerance;
}

// The darkest pixel of a picture: the colour its text is drawn in.
QColor darkest(const QImage &image)
{
    QColor dark(255, 255, 255);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).lightness() < dark.lightness())
                dark = image.pixelColor(x, y);
    return dark;
}

void saveShot(const QImage &image, const char *name)
{
    if (qEnvironmentVariableIsSet("QUILLBOX_SHOTS"))
        image.save(qEnvironmentVariable("QUILLBOX_SHOTS") + QLatin1Char('/') + QLatin1String(name));
}

// A desktop theme of light text on dark grounds.
QPalette darkTheme()
{
    return QPalette(QColor(230, 230, 230), QColor(60, 60, 60), QColor(90, 90, 90), QColor(20, 20, 20),
                    QColor(40, 40, 40), QColor(230, 230, 230), Qt::white, QColor(30, 30, 30), QColor(45, 45, 45));
}

} // namespace

class TestLook : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void framesHoldTheirChildren();
    void coloursHoldUnderADarkTheme();
    void buttonsAreFlatAndRaised();
    void qtTextsAreChinese();
    void otherWindows();
};

void TestLook::initTestCase() { applyProgramLook(*qApp); }

// Measured on the rendered frame: its etched line at the top runs through the
// caption, and every child sits below that line and above the bottom one.
void TestLook::framesHoldTheirChildren()
{
    RenameWindowDriver d;
    for (const char *name : {"隐藏选项", "命名方式"}) {
        QGroupBox *frame = d.control<QGroupBox>(name);
        const QImage image = frame->grab().toImage();
        const int x = 2; // left of every child
        int top = -1, bottom = -1;
        for (int y = 0; y < image.height(); ++y) {
            if (image.pixelColor(x, y).lightness() < 160) {
                if (top < 0)
                    top = y;
                bottom = y;
            }
        }
        QVERIFY2(top >= 0, name);
        const QRect caption(QPoint(0, 0), QSize(frame->width(), frame->fontMetrics().height()));
        QVERIFY2(top > 0 && top < caption.bottom(), qPrintable(QStringLiteral("%1: line at %2").arg(name).arg(top)));
        for (const QWidget *child : frame->findChildren<QWidget *>()) {
            const QString where
                = QStringLiteral("%1 in %2 (line %3..%4)").arg(child->objectName(), name).arg(top).arg(bottom);
            QVERIFY2(child->y() > caption.bottom() - 2, qPrintable(where));
            QVERIFY2(child->geometry().bottom() < bottom - 2, qPrintable(where));
        }
    }
    saveShot(d.window.grab().toImage(), "rename-window.png");
}

void TestLook::coloursHoldUnderADarkTheme()
{
    const QPalette before = QApplication::palette();
    QApplication::setPalette(darkTheme());
    {
        QTemporaryDir dir;
        makeFile(dir.filePath("photo.jpg"));
        RenameWindowDriver d;
        d.pickFolder(dir.path());
        QTest::qWait(50); // the list lays out its rows from the event loop
        const auto textOf = [&](QWidget *control) { return darkest(control->grab().toImage()); };
        QVERIFY(near(textOf(d.control<QLabel>("Label1")), Qt::black, 40));
        QVERIFY(near(textOf(d.option("替换原文件名")), Qt::black, 40));
        QVERIFY(near(textOf(d.control<QGroupBox>("命名方式")), Qt::black, 40));
        const QImage list = d.list()->viewport()->grab().toImage();
        QVERIFY(near(list.pixelColor(list.width() - 3, list.height() - 3), QColor(192, 255, 255)));
        QVERIFY2(near(darkest(list), Qt::black, 40), qPrintable(darkest(list).name()));
        const QImage window = d.window.grab().toImage();
        QVERIFY(near(window.pixelColor(2, 2), QColor(192, 192, 255)));
        // A disabled text box keeps a text box's white face, with grey text.
        QLineEdit *disabled = d.field("TextBox1");
        QVERIFY(!disabled->isEnabled());
        disabled->setText("abc");
        const QImage box = disabled->grab().toImage();
        QVERIFY(near(box.pixelColor(box.width() - 6, box.height() / 2), Qt::white, 4));
        QVERIFY2(near(darkest(box.copy(2, 2, box.width() / 2, box.height() - 4)), QColor(128, 128, 128), 40),
                 qPrintable(darkest(box).name()));
    }
    QApplication::setPalette(before);
}

void TestLook::buttonsAreFlatAndRaised()
{
    RenameWindowDriver d;
    QPushButton *button = d.button("CommandButton2");
    const QImage face = button->grab().toImage();
    const int x = 5;
    // The same lavender from top to bottom: no gradient.
    for (int y = 4; y < face.height() - 4; ++y)
        QVERIFY2(near(face.pixelColor(x, y), QColor(192, 192, 255), 2), qPrintable(QString::number(y)));
    // Light above and left, dark below and right.
    QVERIFY(face.pixelColor(x, 0).lightness() > 230 || face.pixelColor(x, 1).lightness() > 230);
    QVERIFY(face.pixelColor(x, face.height() - 1).lightness() < 100);
    QVERIFY(face.pixelColor(face.width() - 1, face.height() / 2).lightness() < 100);
    // Text boxes are sunken: dark above, light below.
    const QImage field = d.field("新名称")->grab().toImage();
    QVERIFY(field.pixelColor(field.width() / 2, 0).lightness() < 180);
    QVERIFY(field.pixelColor(field.width() / 2, field.height() - 1).lightness() > 200);
}

void TestLook::qtTextsAreChinese()
{
    const std::unique_ptr<QMessageBox> box = QtMessageBox::build(
        QStringLiteral("请输入新名称。"), MsgStyle::OkCancelInformation, QStringLiteral("Marvolt"));
    QCOMPARE(box->button(QMessageBox::Ok)->text(), QStringLiteral("确定"));
    QCOMPARE(box->button(QMessageBox::Cancel)->text(), QStringLiteral("取消"));
    QCOMPARE(box->style()->name(), QStringLiteral("windows"));
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box.get()));
    saveShot(box->grab().toImage(), "message-box.png");

    const std::unique_ptr<QMessageBox> question
        = QtMessageBox::buildQuestion(QStringLiteral("有 12 个文件的新名称正被本次要改名的其他文件占用。\n\n"
                                                     "按“是”先让出这些名称，每个文件都改为它的新名称；"
                                                     "按“否”按列表顺序改名，跳过这些文件；按“取消”不改名。"),
                                      QStringLiteral("Quillbox"));
    QVERIFY(question->button(QMessageBox::Yes)->text().startsWith(QStringLiteral("是")));
    QVERIFY(question->button(QMessageBox::No)->text().startsWith(QStringLiteral("否")));
    QCOMPARE(question->button(QMessageBox::Cancel)->text(), QStringLiteral("取消"));
    question->show();
    QVERIFY(QTest::qWaitForWindowExposed(question.get()));
    saveShot(question->grab().toImage(), "order-question.png");
}

void TestLook::otherWindows()
{
    const QPalette before = QApplication::palette();
    QApplication::setPalette(darkTheme());
    {
        FakeServices fakes;
        WindowRef cover([] { return new BookCoverWindow; });
        AboutWindow about(fakes.services(), cover, AboutTiming{3600000, 50, {}});
        about.show();
        QVERIFY(QTest::qWaitForWindowExposed(&about));
        QVERIFY(near(darkest(about.findChild<QLabel *>("Label2")->grab().toImage()), Qt::black, 40));
        QTest::qWait(300);
        saveShot(about.grab().toImage(), "about-window.png");
        BookCoverWindow book;
        saveShot(book.grab().toImage(), "book-cover-window.png");
    }
    QApplication::setPalette(before);
}

QTEST_MAIN(TestLook)
#include "tst_look.moc"

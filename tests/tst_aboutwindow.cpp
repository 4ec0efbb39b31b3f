// SPDX-License-Identifier: GPL-3.0-or-later

#include "AboutWindow.h"
#include "BookCoverWindow.h"
#include "FakeServices.h"
#include "LockFileInstanceGuard.h"
#include "ScrollArea.h"
#include "WindowRef.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

namespace {

const AboutTiming fast{5, 1, {}};
constexpr int never = 3600000;

// The program's two window references, over fake services.
struct AboutFixture {
    FakeServices fakes;
    InstanceGuard *instances = &fakes.instances;
    AboutTiming timing = fast;
    int coversMade = 0;
    WindowRef bookCover{[this] {
        ++coversMade;
        return new BookCoverWindow;
    }};
    WindowRef about{[this]() -> QWidget * {
        const Services services{fakes.messages, fakes.picker, *fakes.lister, *fakes.renamer, fakes.settings,
                                fakes.links,    fakes.beeper, *instances,    fakes.journal,  fakes.progress};
        auto *window = new AboutWindow(services, bookCover, timing);
        if (window->isLoaded())
            return window;
        delete window;
        return nullptr;
    }};

    explicit AboutFixture(int countdownTick = fast.countdownTick) { timing.countdownTick = countdownTick; }
    ~AboutFixture()
    {
        delete about.window();
        delete bookCover.window();
    }
    void store(const char *key, const QString &value)
    {
        fakes.settings.values[FakeSettings::path("Quillbox", "Settings", key)] = value;
    }
    QString stored(const char *key) const
    {
        return fakes.settings.values.value(FakeSettings::path("Quillbox", "Settings", key));
    }
    // Presses About and waits until the window is placed.
    AboutWindow *open()
    {
        auto *window = static_cast<AboutWindow *>(about.showOrRaise());
        if (window && !QTest::qWaitForWindowActive(window))
            qWarning("About window did not become active");
        QTest::qWait(0);
        return window;
    }
    template <class T = QWidget> T *child(const char *name) const
    {
        return about.window()->findChild<T *>(QString::fromUtf8(name));
    }
};

// Makes `window` the active one and waits until it is.
void activate(QWindow *window)
{
    window->requestActivate();
    QTRY_COMPARE(QGuiApplication::focusWindow(), window);
}

} // namespace

class TestAboutWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void firstOpen();
    void storedGeometry();
    void badSettingsDoNotBreakTheWindow_data();
    void badSettingsDoNotBreakTheWindow();
    void titleButtonSavesGeometry();
    void keyboardCloses();
    void countdownClosesWithoutSaving();
    void closingTwiceEndsOnce();
    void onlyTheFirstCopyOpensIt();
    void mailLink();
    void boxOpenWhileTheWindowEnds();
    void emailLabelShowsWholly();
    void homePageAndHover();
    void onlyAnotherFormReplacesIt();
    void bookCover();
    void programLivesUntilLastWindowCloses();
};

void TestAboutWindow::firstOpen()
{
    AboutFixture f(never);
    AboutWindow *window = f.open();
    QVERIFY(window);
    QCOMPARE(window->objectName(), QStringLiteral("frmAbout2"));
    QCOMPARE(window->size(), QSize(328, 205));
    QTRY_COMPARE(window->pos(), QPoint(13, 27));
    QVERIFY(window->windowFlags() & Qt::FramelessWindowHint);
    // Bevelled top corners, square bottom corners.
    QVERIFY(!window->mask().contains(QPoint(0, 0)));
    QVERIFY(!window->mask().contains(QPoint(327, 0)));
    QVERIFY(window->mask().contains(QPoint(164, 1)));
    QVERIFY(window->mask().contains(QPoint(0, 204)));
    QCOMPARE(f.child<QWidget>("picScroll")->geometry(), QRect(8, 32, 161, 73));
    QCOMPARE(f.child<QWidget>("Check1")->geometry(), QRect(208, 112, 97, 25));
    QCOMPARE(f.child<QWidget>("imgTitleButton")->geometry(), QRect(296, 5, 17, 17));
    QCOMPARE(f.child<QWidget>("ShockwaveFlash1")->contextMenuPolicy(), Qt::PreventContextMenu);
    QCOMPARE(f.child<QLabel>("lblTitle")->text(), QStringLiteral("Marvolt 精品集"));
    // Drawn front to back: the check box over the scroll area, the title button over the title strip.
    const QObjectList order = window->children();
    QVERIFY(order.indexOf(f.child("Check1")) > order.indexOf(f.child("picScroll")));
    QVERIFY(order.indexOf(f.child("imgTitleButton")) > order.indexOf(f.child("imgTitle")));

    // The text starts just below the scroll area and moves up.
    auto *area = f.child<ScrollArea>("picScroll");
    QVERIFY(area->textTop() <= area->contentsRect().height());
    QTRY_VERIFY(area->textTop() < area->contentsRect().height() - 2);

    // Pressing About again brings the same window forward.
    QCOMPARE(f.about.showOrRaise(), window);
}

void TestAboutWindow::storedGeometry()
{
    AboutFixture f(never);
    f.store("X", " 7000");
    f.store("Y", " 5000");
    f.store("W", " 6000");
    f.store("H", " 4000");
    AboutWindow *window = f.open();
    QCOMPARE(window->size(), QSize(400, 267));
    QTRY_COMPARE(window->pos(), QPoint(13, 27));
    QVERIFY(window->mask().contains(QPoint(399, 266)));
    QVERIFY(!window->mask().contains(QPoint(399, 0)));
}

void TestAboutWindow::badSettingsDoNotBreakTheWindow_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QRect>("loaded");
    const int centredX = (QGuiApplication::primaryScreen()->size().width() - 328) / 2;
    const int centredY = (QGuiApplication::primaryScreen()->size().height() - 205) / 2;
    QTest::newRow("X without a number") << "X"
                                        << "abc" << QRect(0, centredY, 328, 205);
    QTest::newRow("X with a comma") << "X"
                                    << "1500,5" << QRect(100, centredY, 328, 205);
    QTest::newRow("W out of range") << "W"
                                    << " 99999" << QRect(centredX, centredY, 328, 205);
    QTest::newRow("W zero") << "W"
                            << " 0" << QRect(centredX, centredY, 328, 205);
    QTest::newRow("H negative") << "H"
                                << "-3000" << QRect(centredX, centredY, 328, 205);
    // The title button ends at 313 by 22 pixels.
    QTest::newRow("H hiding the title button") << "H"
                                               << " 10" << QRect(centredX, centredY, 328, 205);
    QTest::newRow("W a pixel short of the title button") << "W"
                                                         << " 4680" << QRect(centredX, centredY, 328, 205);
    QTest::newRow("W just wide enough") << "W"
                                        << " 4695" << QRect(centredX, centredY, 313, 205);
}

void TestAboutWindow::badSettingsDoNotBreakTheWindow()
{
    QFETCH(QString, key);
    QFETCH(QString, text);
    QFETCH(QRect, loaded);
    AboutFixture f;
    f.store(key.toLatin1().constData(), text);
    {
        const std::unique_ptr<AboutWindow> window(new AboutWindow(f.fakes.services(), f.bookCover, f.timing));
        QCOMPARE(window->geometry(), loaded);
        QVERIFY(window->mask().contains(QPoint(164, 100)));
    }
    // The countdown still runs.
    QPointer<AboutWindow> shown = f.open();
    QVERIFY(shown);
    QTRY_VERIFY(!shown);
}

void TestAboutWindow::titleButtonSavesGeometry()
{
    AboutFixture f(never);
    QPointer<AboutWindow> window = f.open();
    QTRY_COMPARE(window->pos(), QPoint(13, 27));
    window->move(200, 133);
    QTest::mouseClick(f.child("imgTitleButton"), Qt::LeftButton);
    QCOMPARE(f.stored("X"), QStringLiteral(" 3000"));
    QCOMPARE(f.stored("Y"), QStringLiteral(" 1995"));
    QCOMPARE(f.stored("W"), QStringLiteral(" 4920"));
    QCOMPARE(f.stored("H"), QStringLiteral(" 3075"));
    QTRY_VERIFY(!window);
    QVERIFY(!f.about.window());
    QCOMPARE(f.fakes.beeper.beeps, 0);
}

void TestAboutWindow::keyboardCloses()
{
    {
        AboutFixture f(never);
        QPointer<AboutWindow> window = f.open();
        QTest::keyClick(window, Qt::Key_Escape);
        QCOMPARE(f.stored("X"), QStringLiteral(" 195"));
        QTRY_VERIFY(!window);
    }
    {
        AboutFixture f(never);
        QPointer<AboutWindow> window = f.open();
        QWidget *button = f.child("imgTitleButton");
        QCOMPARE(button->accessibleName(), QStringLiteral("关闭"));
        for (int presses = 0; presses < 10 && QApplication::focusWidget() != button; ++presses)
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : window.data(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), button);
        QTest::keyClick(button, Qt::Key_Space);
        QCOMPARE(f.stored("W"), QStringLiteral(" 4920"));
        QTRY_VERIFY(!window);
    }
}

void TestAboutWindow::countdownClosesWithoutSaving()
{
    AboutFixture f;
    QPointer<AboutWindow> window = f.open();
    QTRY_VERIFY(!window);
    QCOMPARE(f.fakes.beeper.beeps, 1);
    QCOMPARE(f.fakes.settings.writes, 0);
    // The next press makes a fresh window.
    QVERIFY(f.open());
}

void TestAboutWindow::closingTwiceEndsOnce()
{
    AboutFixture f(never);
    f.timing.collapseStep = 20;
    QPointer<AboutWindow> window = f.open();
    window->PhaseOutForm([&] {
        f.fakes.beeper.beep();
        window->close();
    });
    QTest::mouseClick(f.child("imgTitleButton"), Qt::LeftButton);
    QTest::keyClick(window, Qt::Key_Escape);
    QTRY_VERIFY(!window);
    QCOMPARE(f.fakes.beeper.beeps, 1);
    QVERIFY(!f.about.window());
}

void TestAboutWindow::onlyTheFirstCopyOpensIt()
{
    QTemporaryDir runtime;
    LockFileInstanceGuard firstCopy(runtime.path());
    LockFileInstanceGuard secondCopy(runtime.path());

    AboutFixture second(never);
    second.instances = &secondCopy;
    QVERIFY(!second.about.showOrRaise());
    QVERIFY(!second.about.window());

    AboutFixture first(never);
    first.instances = &firstCopy;
    QVERIFY(first.open());
}

void TestAboutWindow::mailLink()
{
    AboutFixture f(never);
    QPointer<AboutWindow> window = f.open();
    // A press taken back outside the label opens nothing.
    QWidget *label = f.child("labEmail");
    QTest::mousePress(label, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(label->width() + 20, 5));
    QTest::qWait(20);
    QCOMPARE(f.fakes.links.opened.size(), 0);
    QTest::mouseClick(label, Qt::LeftButton);
    QTRY_COMPARE(f.fakes.links.opened.size(), 1);
    QVERIFY(f.fakes.links.opened[0].startsWith(QStringLiteral("mailto:")));
    QVERIFY(f.fakes.messages.shown.empty());

    f.fakes.links.succeeds = false;
    QTest::mouseClick(f.child("labEmail"), Qt::LeftButton);
    QTRY_COMPARE(f.fakes.messages.shown.size(), std::size_t(1));
    QCOMPARE(f.fakes.messages.shown[0].text, QStringLiteral("没有安装Outlook Express程序，请用其它方与与作者联系。"));
    QCOMPARE(f.fakes.messages.shown[0].style, MsgStyle::OkExclamation);
    QCOMPARE(f.fakes.messages.shown[0].title, QStringLiteral("Marvolt"));
    QVERIFY(window && window->isVisible());
}

// The box of a failed mail link stays open past the countdown: the window ends
// under it, once, and closing the box afterwards is harmless.
void TestAboutWindow::boxOpenWhileTheWindowEnds()
{
    AboutFixture f;
    f.fakes.links.succeeds = false;
    QPointer<AboutWindow> window = f.open();
    bool endedWhileOpen = false;
    f.fakes.messages.stayOpenUntil = [&] {
        endedWhileOpen = !window;
        return endedWhileOpen;
    };
    QTest::mouseClick(f.child("labEmail"), Qt::LeftButton);
    QTRY_VERIFY(f.fakes.messages.shown.size() == 1 && !f.fakes.messages.open);
    QVERIFY(endedWhileOpen);
    QCOMPARE(f.fakes.beeper.beeps, 1);
    QVERIFY(!f.about.window());

    // The same with the title button pressed while the countdown's collapse runs.
    f.timing.collapseStep = 30;
    window = f.open();
    f.fakes.messages.shown.clear();
    QTest::mouseClick(f.child("labEmail"), Qt::LeftButton);
    QTest::qWait(5 * 12);
    if (window)
        QTest::mouseClick(f.child("imgTitleButton"), Qt::LeftButton);
    QTRY_VERIFY(f.fakes.messages.shown.size() == 1 && !f.fakes.messages.open);
    QVERIFY(!window);
    QVERIFY(f.open());
}

void TestAboutWindow::emailLabelShowsWholly()
{
    AboutFixture f(never);
    f.open();
    auto *email = f.child<QLabel>("labEmail");
    const int textWidth = email->fontMetrics().horizontalAdvance(email->text());
    QVERIFY2(textWidth <= email->width(), qPrintable(QString::number(textWidth)));

    QTest::mouseMove(email, QPoint(10, 5));
    QTRY_VERIFY(email->font().underline());
    const QImage image = email->grab().toImage();
    const auto bluePixels = [](const QImage &picture, int *widestRow) {
        int all = 0;
        for (int y = 0; y < picture.height(); ++y) {
            int row = 0;
            for (int x = 0; x < picture.width(); ++x) {
                const QColor c = picture.pixelColor(x, y);
                row += c.blue() > 200 && c.red() < 80 && c.green() < 80;
            }
            all += row;
            *widestRow = std::max(*widestRow, row);
        }
        return all;
    };
    int underline = 0;
    const int shown = bluePixels(image, &underline);
    QVERIFY2(underline >= textWidth - 2, qPrintable(QStringLiteral("%1 of %2").arg(underline).arg(textWidth)));

    // The same text drawn with room to spare: the label shows all of its ink.
    QImage free(email->width() + 40, 80, QImage::Format_RGB32);
    free.fill(QColor(192, 192, 255));
    {
        QPainter painter(&free);
        painter.setFont(email->font());
        painter.setPen(QColor(0, 0, 255));
        painter.drawText(QPoint(10, 50), email->text());
    }
    int freeUnderline = 0;
    const int whole = bluePixels(free, &freeUnderline);
    QVERIFY2(shown >= whole * 97 / 100, qPrintable(QStringLiteral("%1 of %2 pixels").arg(shown).arg(whole)));
}

void TestAboutWindow::homePageAndHover()
{
    AboutFixture f(never);
    AboutWindow *window = f.open();
    auto *email = f.child<QLabel>("labEmail");
    QCOMPARE(email->palette().color(QPalette::WindowText), QColor(0, 128, 128));

    QTest::mouseMove(email, QPoint(20, 8));
    QTRY_VERIFY(email->font().underline());
    QCOMPARE(email->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QTest::mouseMove(f.child("Label1"), QPoint(5, 5));
    QTest::qWait(20);
    QVERIFY(email->font().underline());
    QTest::mouseMove(window, QPoint(100, 115));
    QTRY_VERIFY(!email->font().underline());
    QCOMPARE(email->palette().color(QPalette::WindowText), QColor(0, 0, 0));

    QTest::mouseClick(f.child("Label1"), Qt::LeftButton);
    QVERIFY(f.fakes.links.opened.isEmpty());
    QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(100, 115));
    QCOMPARE(f.fakes.links.opened.size(), 1);
    QVERIFY(f.fakes.links.opened[0].startsWith(QStringLiteral("http")));
}

// Coming back from another window of the program places the window and starts
// the text again; coming back from outside the program or from a dialog does not.
void TestAboutWindow::onlyAnotherFormReplacesIt()
{
    AboutFixture f(never);
    AboutWindow *window = f.open();
    QTRY_COMPARE(window->pos(), QPoint(13, 27));
    auto *area = f.child<ScrollArea>("picScroll");
    const int areaHeight = area->contentsRect().height();
    QTRY_VERIFY(area->textTop() < areaHeight - 5);

    window->move(100, 90);
    QWindow outside; // not a window of the program's forms
    outside.show();
    activate(&outside);
    activate(window->windowHandle());
    QTest::qWait(20);
    QCOMPARE(window->pos(), QPoint(100, 90));
    QVERIFY(area->textTop() < areaHeight - 5);

    QDialog dialog;
    dialog.show();
    activate(dialog.windowHandle());
    activate(window->windowHandle());
    QTest::qWait(20);
    QCOMPARE(window->pos(), QPoint(100, 90));

    QWidget renameWindow;
    renameWindow.show();
    activate(renameWindow.windowHandle());
    activate(window->windowHandle());
    QTRY_COMPARE(window->pos(), QPoint(13, 27));
    QVERIFY(area->textTop() >= areaHeight - 2);
}

void TestAboutWindow::bookCover()
{
    AboutFixture f(never);
    QPointer<AboutWindow> window = f.open();
    QTest::mouseClick(f.child("Check1"), Qt::LeftButton);
    QTest::mouseClick(f.child("Check1"), Qt::LeftButton);
    QCOMPARE(f.coversMade, 1);
    QWidget *cover = f.bookCover.window();
    QVERIFY(cover && cover->isVisible());
    QCOMPARE(cover->objectName(), QStringLiteral("书"));
    QCOMPARE(cover->windowTitle(), QStringLiteral("Marvolt作品"));
    QCOMPARE(cover->size(), QSize(500, 375));
    QVERIFY(cover->testAttribute(Qt::WA_QuitOnClose));
    // The picture, not the frame around it, sits in the middle of the screen.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(std::abs((cover->geometry().left() - screen.left()) - (screen.right() - cover->geometry().right())) <= 1);
    QVERIFY(std::abs((cover->geometry().top() - screen.top()) - (screen.bottom() - cover->geometry().bottom())) <= 1);

    // The cover outlives the About window, and shows again after being closed.
    window->close();
    QTRY_VERIFY(!window);
    QVERIFY(cover->isVisible());
    cover->close();
    QPointer<AboutWindow> again = f.open();
    QTest::mouseClick(f.child("Check1"), Qt::LeftButton);
    QCOMPARE(f.coversMade, 1);
    QVERIFY(cover->isVisible());
}

void TestAboutWindow::programLivesUntilLastWindowCloses()
{
    AboutFixture f(never);
    QWidget renameWindow;
    renameWindow.show();
    QPointer<AboutWindow> window = f.open();
    QVERIFY(window->testAttribute(Qt::WA_QuitOnClose));

    QElapsedTimer clock;
    clock.start();
    qint64 lastClosedAt = 0;
    QTimer::singleShot(0, &renameWindow, &QWidget::close);
    QTimer::singleShot(200, window, [&] {
        lastClosedAt = clock.elapsed();
        window->close();
    });
    QTimer::singleShot(5000, qApp, &QCoreApplication::quit); // in case the program never ends
    QApplication::exec();
    QVERIFY(lastClosedAt >= 200);
    QVERIFY2(clock.elapsed() < 4000, "the program did not end with its last window");
}

QTEST_MAIN(TestAboutWindow)
#include "tst_aboutwindow.moc"

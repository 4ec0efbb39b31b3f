#include "AboutWindow.h"
#include "BookCoverWindow.h"
#include "FakeServices.h"
#include "MailLink.h"
#include "ScrollArea.h"
#include "WindowRef.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
#include <memory>

namespace {

const AboutTiming fast{5, 41, 1};

// The program's two window references, over fake services.
struct AboutFixture {
    FakeServices fakes;
    AboutTiming timing = fast;
    int coversMade = 0;
    WindowRef bookCover{[this] {
        ++coversMade;
        return new BookCoverWindow;
    }};
    WindowRef about{[this]() -> QWidget * {
        auto *window = new AboutWindow(fakes.services(), bookCover, timing);
        if (window->isLoaded())
            return window;
        delete window;
        return nullptr;
    }};

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
    AboutWindow *open()
    {
        auto *window = static_cast<AboutWindow *>(about.showOrRaise());
        if (window && !QTest::qWaitForWindowActive(window))
            qWarning("About window did not become active");
        return window;
    }
    template <class T = QWidget> T *child(const char *name) const
    {
        return about.window()->findChild<T *>(QString::fromUtf8(name));
    }
};

} // namespace

class TestAboutWindow : public QObject {
    Q_OBJECT
private slots:
    void firstOpen();
    void storedGeometry();
    void badSettingsDoNotBreakTheWindow();
    void titleButtonSavesGeometry();
    void countdownClosesWithoutSaving();
    void closingTwiceEndsOnce();
    void otherCopyNeverShows();
    void mailLink();
    void homePageAndHover();
    void bookCover();
    void scrolling();
    void closesByItselfInRealTime();
    void programLivesUntilLastWindowCloses();
};

void TestAboutWindow::firstOpen()
{
    AboutFixture f;
    f.timing.countdownTick = 60000;
    AboutWindow *window = f.open();
    QVERIFY(window);
    QCOMPARE(window->objectName(), QStringLiteral("frmAbout2"));
    QCOMPARE(window->size(), QSize(328, 205));
    QCOMPARE(window->pos(), QPoint(13, 27));
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

    // Pressing About again brings the same window forward.
    QCOMPARE(f.about.showOrRaise(), window);
}

void TestAboutWindow::storedGeometry()
{
    AboutFixture f;
    f.timing.countdownTick = 60000;
    f.store("X", " 7000");
    f.store("Y", " 5000");
    f.store("W", " 6000");
    f.store("H", " 4000");
    AboutWindow *window = f.open();
    QCOMPARE(window->size(), QSize(400, 267));
    QCOMPARE(window->pos(), QPoint(13, 27));
    QVERIFY(window->mask().contains(QPoint(399, 266)));
    QVERIFY(!window->mask().contains(QPoint(399, 0)));
}

void TestAboutWindow::badSettingsDoNotBreakTheWindow()
{
    AboutFixture f;
    f.store("X", "abc");
    f.store("W", " 99999");
    {
        const std::unique_ptr<AboutWindow> loaded(new AboutWindow(f.fakes.services(), f.bookCover, f.timing));
        QCOMPARE(loaded->x(), 0);
        QCOMPARE(loaded->width(), 328);
        QVERIFY(!loaded->mask().isEmpty());
    }

    // The countdown still runs.
    QPointer<AboutWindow> shown = f.open();
    QTRY_VERIFY(!shown);
}

void TestAboutWindow::titleButtonSavesGeometry()
{
    AboutFixture f;
    f.timing.countdownTick = 60000;
    QPointer<AboutWindow> window = f.open();
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

void TestAboutWindow::countdownClosesWithoutSaving()
{
    AboutFixture f;
    QPointer<AboutWindow> window = f.open();
    QElapsedTimer clock;
    clock.start();
    QTRY_VERIFY(!window);
    QVERIFY(clock.elapsed() >= 10 * fast.countdownTick);
    QCOMPARE(f.fakes.beeper.beeps, 1);
    QCOMPARE(f.fakes.settings.writes, 0);
    // The next press makes a fresh window.
    QVERIFY(f.open());
}

void TestAboutWindow::closingTwiceEndsOnce()
{
    AboutFixture f;
    f.timing.collapseStep = 20;
    f.timing.countdownTick = 60000;
    QPointer<AboutWindow> window = f.open();
    window->PhaseOutForm([&] { f.fakes.beeper.beep(); window->close(); });
    QTest::mouseClick(f.child("imgTitleButton"), Qt::LeftButton);
    QTRY_VERIFY(!window);
    QCOMPARE(f.fakes.beeper.beeps, 1);
    QVERIFY(!f.about.window());
}

void TestAboutWindow::otherCopyNeverShows()
{
    AboutFixture f;
    f.fakes.instances.other = true;
    QVERIFY(!f.about.showOrRaise());
    QVERIFY(!f.about.window());
}

void TestAboutWindow::mailLink()
{
    AboutFixture f;
    f.timing.countdownTick = 60000;
    QPointer<AboutWindow> window = f.open();
    QTest::mouseClick(f.child("labEmail"), Qt::LeftButton);
    QCOMPARE(f.fakes.links.opened.size(), 1);
    QVERIFY(f.fakes.links.opened[0].startsWith(QStringLiteral("mailto:")));
    QVERIFY(f.fakes.messages.shown.empty());

    f.fakes.links.succeeds = false;
    QTest::mouseClick(f.child("labEmail"), Qt::LeftButton);
    QCOMPARE(f.fakes.messages.shown.size(), std::size_t(1));
    QCOMPARE(f.fakes.messages.shown[0].text, QStringLiteral("没有安装Outlook Express程序，请用其它方与与作者联系。"));
    QCOMPARE(f.fakes.messages.shown[0].style, 48);
    QCOMPARE(f.fakes.messages.shown[0].title, QStringLiteral("Marvolt"));
    QVERIFY(window && window->isVisible());
}

void TestAboutWindow::homePageAndHover()
{
    AboutFixture f;
    f.timing.countdownTick = 60000;
    AboutWindow *window = f.open();
    auto *email = f.child<QLabel>("labEmail");
    QCOMPARE(email->palette().color(QPalette::WindowText), QColor(0, 128, 128));

    QTest::mouseMove(email, QPoint(10, 5));
    QTRY_VERIFY(email->font().underline());
    QCOMPARE(email->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QTest::mouseMove(f.child("Label1"), QPoint(5, 5));
    QTest::qWait(20);
    QVERIFY(email->font().underline());
    QTest::mouseMove(window, QPoint(100, 115));
    QTRY_VERIFY(!email->font().underline());
    QCOMPARE(email->palette().color(QPalette::WindowText), QApplication::palette().color(QPalette::ButtonText));

    QTest::mouseClick(f.child("Label1"), Qt::LeftButton);
    QVERIFY(f.fakes.links.opened.isEmpty());
    QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(100, 115));
    QCOMPARE(f.fakes.links.opened.size(), 1);
    QVERIFY(f.fakes.links.opened[0].startsWith(QStringLiteral("http")));
}

void TestAboutWindow::bookCover()
{
    AboutFixture f;
    f.timing.countdownTick = 60000;
    QPointer<AboutWindow> window = f.open();
    QTest::mouseClick(f.child("Check1"), Qt::LeftButton);
    QTest::mouseClick(f.child("Check1"), Qt::LeftButton);
    QCOMPARE(f.coversMade, 1);
    QWidget *cover = f.bookCover.window();
    QVERIFY(cover && cover->isVisible());
    QCOMPARE(cover->objectName(), QStringLiteral("书"));
    QCOMPARE(cover->windowTitle(), QStringLiteral("Marvolt作品"));
    QCOMPARE(cover->size(), QSize(500, 375));

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

void TestAboutWindow::scrolling()
{
    AboutFixture f;
    f.timing.countdownTick = 60000;
    f.timing.scrollFrame = 41;
    AboutWindow *window = f.open();
    auto *area = f.child<ScrollArea>("picScroll");
    const int areaHeight = area->contentsRect().height();
    QCOMPARE(areaHeight, 69);
    QVERIFY(area->textTop() <= areaHeight);
    QTRY_VERIFY(area->textTop() < areaHeight - 3);

    // Frames lie more than 40 ms apart: about a second moves the text at most 25 pixels.
    const int before = area->textTop();
    QTest::qWait(1000);
    QVERIFY(before - area->textTop() <= 25);
    QVERIFY(before - area->textTop() >= 5);

    // A new activation starts the text below the area again.
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    QVERIFY(area->textTop() >= areaHeight - 2);
}

void TestAboutWindow::closesByItselfInRealTime()
{
    AboutFixture f;
    f.timing = AboutTiming{};
    QElapsedTimer clock;
    clock.start();
    QPointer<AboutWindow> window = f.open();
    QTRY_VERIFY_WITH_TIMEOUT(!window, 15000);
    const qint64 elapsed = clock.elapsed();
    QVERIFY2(elapsed >= 11000 && elapsed < 14000, qPrintable(QString::number(elapsed)));
    QCOMPARE(f.fakes.beeper.beeps, 1);
}

void TestAboutWindow::programLivesUntilLastWindowCloses()
{
    AboutFixture f;
    f.timing.countdownTick = 60000;
    QWidget renameWindow;
    renameWindow.show();
    QPointer<AboutWindow> window = f.open();

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

// SPDX-License-Identifier: GPL-3.0-or-later

#include "AboutAnimations.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// Timers far off, a clock the test moves: every tick is the test's own.
struct Driven {
    std::uint32_t now = 1000;
    AboutAnimations animations{AboutTiming{3600000, 3600000, [this] { return now; }}};
};

} // namespace

class TestAboutAnimations : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void countdownEndsOnTheEleventhTick();
    void scrollFramesMoreThan40msApart_data();
    void scrollFramesMoreThan40msApart();
    void scrollRestartsBelowTheArea();
    void collapseJoinsALaterRequest();
    void stopSilencesEverything();
};

void TestAboutAnimations::countdownEndsOnTheEleventhTick()
{
    Driven d;
    QSignalSpy ended(&d.animations, &AboutAnimations::countdownEnded);
    d.animations.startCountdown();
    for (int tick = 1; tick <= 10; ++tick) {
        d.animations.countdownTick();
        QVERIFY2(ended.isEmpty(), qPrintable(QStringLiteral("ended on tick %1").arg(tick)));
    }
    d.animations.countdownTick();
    QCOMPARE(ended.size(), 1);
}

void TestAboutAnimations::scrollFramesMoreThan40msApart_data()
{
    QTest::addColumn<quint32>("start");
    QTest::newRow("ordinary clock") << quint32(1000);
    QTest::newRow("clock wraps between frames") << quint32(0xFFFFFFF0u);
}

void TestAboutAnimations::scrollFramesMoreThan40msApart()
{
    QFETCH(quint32, start);
    Driven d;
    d.now = start;
    QSignalSpy frames(&d.animations, &AboutAnimations::scrolled);
    d.animations.startScroll(69, 36);
    // The first frame comes at once, with the text just below the area.
    QCOMPARE(frames.size(), 1);
    QCOMPARE(frames.at(0).at(0).toInt(), 69);

    d.now += 40;
    d.animations.scrollTick();
    QCOMPARE(frames.size(), 1);
    d.now += 1;
    d.animations.scrollTick();
    QCOMPARE(frames.size(), 2);
    QCOMPARE(frames.at(1).at(0).toInt(), 68);
    d.animations.scrollTick();
    QCOMPARE(frames.size(), 2);
}

void TestAboutAnimations::scrollRestartsBelowTheArea()
{
    Driven d;
    QSignalSpy frames(&d.animations, &AboutAnimations::scrolled);
    d.animations.startScroll(69, 36);
    for (int frame = 1; frame < 106; ++frame) {
        d.now += 41;
        d.animations.scrollTick();
    }
    QCOMPARE(frames.size(), 106);
    QCOMPARE(frames.last().at(0).toInt(), -36);
    d.now += 41;
    d.animations.scrollTick();
    QCOMPARE(frames.last().at(0).toInt(), 69);

    // A new start draws at once from below, whatever the last frame's time.
    d.animations.startScroll(69, 36);
    QCOMPARE(frames.last().at(0).toInt(), 69);
    QCOMPARE(frames.size(), 108);
}

void TestAboutAnimations::collapseJoinsALaterRequest()
{
    Driven d;
    QSignalSpy shown(&d.animations, &AboutAnimations::collapseShows);
    int first = 0, second = 0;
    d.animations.collapse(328, 205, [&] { ++first; });
    for (int step = 1; step < 10; ++step)
        d.animations.collapseTick();
    d.animations.collapse(328, 205, [&] { ++second; });
    while (first == 0 && shown.size() < 100)
        d.animations.collapseTick();
    QCOMPARE(shown.size(), 26);
    QCOMPARE(shown.first().at(0).toRect(), QRect(0, 0, 328, 205));
    QCOMPARE(shown.last().at(0).toRect(), QRect(QPoint(78, 100), QPoint(249, 104)));
    QCOMPARE(first, 1);
    QCOMPARE(second, 1);
}

void TestAboutAnimations::stopSilencesEverything()
{
    AboutAnimations animations(AboutTiming{5, 1, {}});
    QSignalSpy ended(&animations, &AboutAnimations::countdownEnded);
    QSignalSpy frames(&animations, &AboutAnimations::scrolled);
    bool collapsed = false;
    animations.startCountdown();
    animations.startScroll(69, 36);
    animations.collapse(328, 205, [&] { collapsed = true; });
    animations.stop();
    const int framesAtStop = int(frames.size());
    QTest::qWait(150);
    QVERIFY(ended.isEmpty());
    QCOMPARE(frames.size(), framesAtStop);
    QVERIFY(!collapsed);
}

QTEST_GUILESS_MAIN(TestAboutAnimations)
#include "tst_aboutanimations.moc"

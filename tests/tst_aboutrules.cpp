// SPDX-License-Identifier: GPL-3.0-or-later

#include "AboutGeometry.h"
#include "Countdown.h"
#include "MailLink.h"
#include "SettingText.h"
#include "ShowAllFit.h"

#include <QTest>

class TestAboutRules : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void settingParse_data();
    void settingParse();
    void settingFormat();
    void outline();
    void collapse();
    void scrollCycle();
    void countdownText();
    void countdownTicks();
    void frameDue_data();
    void frameDue();
    void mailLink();
    void bannerFit();
};

void TestAboutRules::settingParse_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("expected"); // -99999 for "out of range"

    QTest::newRow("as written") << QByteArray(" 200") << 200;
    QTest::newRow("negative") << QByteArray("-45") << -45;
    QTest::newRow("blanks inside") << QByteArray(" 4 9\t2\n0") << 4920;
    QTest::newRow("stops at letter") << QByteArray("12abc") << 12;
    QTest::newRow("no leading number") << QByteArray("abc") << 0;
    QTest::newRow("empty") << QByteArray("") << 0;
    QTest::newRow("half to even, down") << QByteArray("2.5") << 2;
    QTest::newRow("half to even, up") << QByteArray("3.5") << 4;
    QTest::newRow("fraction") << QByteArray("7.6") << 8;
    QTest::newRow("exponent") << QByteArray("1e3") << 1000;
    QTest::newRow("exponent without digits stops") << QByteArray("5e") << 5;
    QTest::newRow("second dot stops") << QByteArray("1.5.5") << 2;
    QTest::newRow("upper limit") << QByteArray("32767") << 32767;
    QTest::newRow("lower limit") << QByteArray("-32768") << -32768;
    QTest::newRow("past upper limit") << QByteArray("32768") << -99999;
    QTest::newRow("far past lower limit") << QByteArray("-1e9") << -99999;
}

void TestAboutRules::settingParse()
{
    QFETCH(QByteArray, text);
    QFETCH(int, expected);
    const std::optional<std::int16_t> value = settingToInt16(text.toStdString());
    if (expected == -99999)
        QVERIFY(!value);
    else
        QCOMPARE(int(value.value_or(-1)), expected);
}

void TestAboutRules::settingFormat()
{
    QCOMPARE(QByteArray::fromStdString(formatSettingNumber(200)), QByteArray(" 200"));
    QCOMPARE(QByteArray::fromStdString(formatSettingNumber(0)), QByteArray(" 0"));
    QCOMPARE(QByteArray::fromStdString(formatSettingNumber(-15)), QByteArray("-15"));
    QCOMPARE(QByteArray::fromStdString(formatSettingNumber(5047.5)), QByteArray(" 5047.5"));
    QCOMPARE(int(*settingToInt16(formatSettingNumber(4920))), 4920);
}

void TestAboutRules::outline()
{
    const std::vector<PointPx> design{{0, 205}, {0, 4}, {3, 0}, {325, 0}, {328, 4}, {328, 205}, {0, 205}};
    QVERIFY(ShapeFormOutline(4920, 3075) == design);
    const std::vector<PointPx> large{{0, 267}, {0, 4}, {3, 0}, {397, 0}, {400, 4}, {400, 267}, {0, 267}};
    QVERIFY(ShapeFormOutline(6000, 4000) == large);
}

void TestAboutRules::collapse()
{
    const std::vector<RectPx> steps = PhaseOutSteps(328, 205);
    QCOMPARE(steps.size(), std::size_t(26));
    QVERIFY((steps.front() == RectPx{0, 0, 328, 205}));
    QVERIFY((steps[1] == RectPx{10, 4, 318, 201}));
    QVERIFY((steps.back() == RectPx{78, 100, 250, 105}));
    QCOMPARE(PhaseOutSteps(400, 267).size(), std::size_t(267 / 8 + 1));
}

void TestAboutRules::scrollCycle()
{
    const int areaHeight = 69, textHeight = 36;
    int top = areaHeight;
    int frames = 1;
    while ((top = nextScrollTop(top, areaHeight, textHeight)) != areaHeight) {
        QVERIFY(top >= -textHeight);
        ++frames;
    }
    QCOMPARE(frames, 106);
    QCOMPARE(nextScrollTop(-35, areaHeight, textHeight), -36);
    QCOMPARE(nextScrollTop(-36, areaHeight, textHeight), areaHeight);
}

void TestAboutRules::countdownText()
{
    QCOMPARE(QByteArray::fromStdString(formatTimeLeft(10)), QByteArray("00:00:10"));
    QCOMPARE(QByteArray::fromStdString(formatTimeLeft(0)), QByteArray("00:00:00"));
    QCOMPARE(QByteArray::fromStdString(formatTimeLeft(3725)), QByteArray("01:02:05"));
}

void TestAboutRules::countdownTicks()
{
    Countdown countdown;
    int ticks = 0;
    while (!countdown.tick() && ticks < 100)
        ++ticks;
    QCOMPARE(ticks + 1, 11);
    Countdown hour{3600};
    QVERIFY(!hour.tick());
    QCOMPARE(QByteArray::fromStdString(formatTimeLeft(hour.timeLeft)), QByteArray("00:59:59"));
}

void TestAboutRules::frameDue_data()
{
    QTest::addColumn<quint32>("last");
    QTest::addColumn<quint32>("now");
    QTest::addColumn<bool>("due");
    QTest::newRow("40 ms is too soon") << quint32(1000) << quint32(1040) << false;
    QTest::newRow("41 ms is due") << quint32(1000) << quint32(1041) << true;
    QTest::newRow("across the wrap") << quint32(0xFFFFFFF0u) << quint32(25) << true;
    QTest::newRow("just before the wrap") << quint32(0xFFFFFFF0u) << quint32(0xFFFFFFFFu) << false;
}

void TestAboutRules::frameDue()
{
    QFETCH(quint32, last);
    QFETCH(quint32, now);
    QFETCH(bool, due);
    QCOMPARE(scrollFrameDue(now, last), due);
}

void TestAboutRules::mailLink()
{
    QCOMPARE(buildMailLink(QStringLiteral("a@b.c")),
             QStringLiteral("mailto:a@b.c?subject= Quillmark&body= >  关于 《Quillmark》，我有如下三点建议:"
                            "%0A1:%0A2:%0A3:%0A%0A"));
}

void TestAboutRules::bannerFit()
{
    const FitRect strip = showAllFit(468, 60, 376, 48); // the rename window's strip: height limits
    QCOMPARE(strip.height, 48);
    QCOMPARE(strip.width, 374);
    QCOMPARE(strip.x, 1);
    const FitRect tall = showAllFit(468, 60, 468, 120); // width limits, bands above and below
    QCOMPARE(tall.width, 468);
    QCOMPARE(tall.y, 30);
}

QTEST_GUILESS_MAIN(TestAboutRules)
#include "tst_aboutrules.moc"

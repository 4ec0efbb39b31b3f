// SPDX-License-Identifier: GPL-3.0-or-later

#include "AboutWindow.h"
#include "FakeServices.h"
#include "WindowRef.h"

#include <QElapsedTimer>
#include <QTest>

// The one check on the real clock: left alone, the About window closes itself
// about eleven seconds after it opened.
class TestAboutRealTime : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void closesByItself()
    {
        FakeServices fakes;
        WindowRef bookCover([] { return new QWidget; });
        QElapsedTimer clock;
        clock.start();
        QPointer<AboutWindow> window = new AboutWindow(fakes.services(), bookCover);
        window->show();
        QTRY_VERIFY_WITH_TIMEOUT(!window, 15000);
        const qint64 elapsed = clock.elapsed();
        QVERIFY2(elapsed >= 11000 && elapsed < 14000, qPrintable(QString::number(elapsed)));
        QCOMPARE(fakes.beeper.beeps, 1);
    }
};

QTEST_MAIN(TestAboutRealTime)
#include "tst_aboutrealtime.moc"

// SPDX-License-Identifier: GPL-3.0-or-later

#include "BookCoverWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

// Under a window manager that frames windows: the book-cover picture, not its
// frame, sits in the middle of the screen.
class TestPlacement : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void bookCoverCentredUnderAFrame()
    {
        BookCoverWindow cover;
        cover.show();
        QVERIFY(QTest::qWaitForWindowExposed(&cover));
        // The window manager needs a moment to put its frame around the window.
        QTRY_VERIFY_WITH_TIMEOUT(cover.frameGeometry().top() < cover.geometry().top(), 10000);
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        const QRect picture = cover.geometry();
        QVERIFY2(std::abs((picture.left() - screen.left()) - (screen.right() - picture.right())) <= 1,
                 qPrintable(QStringLiteral("picture %1,%2 on %3x%4")
                                .arg(picture.x())
                                .arg(picture.y())
                                .arg(screen.width())
                                .arg(screen.height())));
        QVERIFY2(std::abs((picture.top() - screen.top()) - (screen.bottom() - picture.bottom())) <= 1,
                 qPrintable(QStringLiteral("picture %1,%2 on %3x%4")
                                .arg(picture.x())
                                .arg(picture.y())
                                .arg(screen.width())
                                .arg(screen.height())));
    }
};

QTEST_MAIN(TestPlacement)
#include "tst_placement.moc"

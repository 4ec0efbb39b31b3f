// SPDX-License-Identifier: GPL-3.0-or-later

#include "BookCoverWindow.h"

#include "UiLook.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QStyle>

BookCoverWindow::BookCoverWindow(QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , cover_(QStringLiteral(":/assets/book-cover.png"))
{
    setObjectName(QStringLiteral("书"));
    setWindowTitle(QStringLiteral("Marvolt作品"));
    setWindowIcon(appIcon());
    // A tool window would not keep the program alive on its own.
    setAttribute(Qt::WA_QuitOnClose, true);
    setFixedSize(500, 375);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        // The client area is centred, whatever frame the window manager adds.
        setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen->availableGeometry()));
}

void BookCoverWindow::paintEvent(QPaintEvent *) { QPainter(this).drawPixmap(rect(), cover_); }

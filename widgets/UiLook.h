// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QPalette>

// SimSun where it is installed, else a CJK font of the same size.
QFont uiFont(double pointSize);

// The lavender background the program's windows share.
inline QColor windowBackground() { return QColor(192, 192, 255); }

// The colours the windows were drawn in, whatever the desktop's theme: black
// text on the lavender window and buttons, black on white in text boxes, white
// on navy for a selection, grey for what is disabled.
QPalette classicPalette();

// The program's icon at 48, 32 and 16 pixels.
QIcon appIcon();

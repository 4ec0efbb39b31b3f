#pragma once

#include <QColor>
#include <QFont>
#include <QIcon>

// SimSun where it is installed, else a CJK font of the same size.
QFont uiFont(double pointSize);

// The lavender background the program's windows share.
inline QColor windowBackground() { return QColor(192, 192, 255); }

// The program's icon at 48, 32 and 16 pixels.
QIcon appIcon();

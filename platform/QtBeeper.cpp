// SPDX-License-Identifier: GPL-3.0-or-later

#include "QtBeeper.h"

#include <QApplication>

void QtBeeper::beep() { QApplication::beep(); }

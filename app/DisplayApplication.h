// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QApplication>
#include <memory>

// Makes the application object on the display. Where Qt reaches no display it
// would abort with a core dump; this says so in one line on stderr and exits 1.
// What Qt says on the way is held back, and passed on once a display answered.
std::unique_ptr<QApplication> applicationOnADisplay(int &argc, char **argv);

// Prints the help with Qt's own options, which only a window system's
// application object knows, and exits 0. Needs no display.
[[noreturn]] void printHelpWithQtOptions(char *program);

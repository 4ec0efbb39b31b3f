// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

class QApplication;

// Gives the whole program, message boxes and the folder picker included, the
// classic 3-D style its windows were drawn for, and Qt's own texts (OK,
// Cancel, the picker's labels) in Chinese whatever the user's locale. Without
// Qt's Chinese catalogue the program starts with Qt's English.
void applyProgramLook(QApplication &app);

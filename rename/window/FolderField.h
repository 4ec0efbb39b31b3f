// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLineEdit>

// The folder field: a one-line text box that asks for the folder picker on a
// double-click, and from the keyboard on F4 or Alt+Down as a drop-down would.
class FolderField : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

Q_SIGNALS:
    void pickRequested();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

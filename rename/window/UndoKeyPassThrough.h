// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QObject>

// Watches text fields: a field with nothing of its own to undo leaves the Undo
// key to the window's shortcut instead of taking it.
class UndoKeyPassThrough : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

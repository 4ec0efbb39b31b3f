// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>

// Tells screen readers one short text as a notification on the accessibility
// bus: an empty child that shows itself under that name, so that no window
// opens and the focus stays where it is.
class Announcer : public QWidget {
    Q_OBJECT
public:
    explicit Announcer(QWidget *parent);
    void announce(const QString &text);
};

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

// A program-wide reference to a window that exists at most once. The window is
// made on demand; when it is destroyed the reference empties itself, so the
// next request makes a fresh one.
class WindowRef {
public:
    // Makes the window, or returns nullptr when the window declines to open.
    using Factory = std::function<QWidget *()>;

    explicit WindowRef(Factory make)
        : make_(std::move(make))
    {
    }

    // Makes the window when none exists, then shows it modeless and brings it to the front.
    QWidget *showOrRaise();
    QWidget *window() const { return window_; }

private:
    Factory make_;
    QPointer<QWidget> window_;
};

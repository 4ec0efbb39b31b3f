// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "AboutGeometry.h"
#include "AboutTiming.h"
#include "Countdown.h"

#include <QObject>
#include <QRect>
#include <QTimer>
#include <functional>
#include <vector>

// The About window's three animations: the scrolling text, the auto-close
// countdown and the collapse. The window starts them and follows their
// signals; tests run them on short intervals, or call the ticks themselves.
class AboutAnimations : public QObject {
    Q_OBJECT
public:
    explicit AboutAnimations(AboutTiming timing, QObject *parent = nullptr);

    // Starts the text anew with its top at the area's height, drawn at once;
    // then one pixel up per frame, frames more than 40 ms apart.
    void startScroll(int areaHeight, int textHeight);
    // Draws the next frame when one is due.
    void scrollTick();

    void startCountdown();
    void countdownTick();

    // Plays the collapse of a window of this size, then runs `then`. A request
    // made while the collapse runs joins it.
    void collapse(int widthPx, int heightPx, std::function<void()> then);
    void collapseTick();

    // Ends all three; nothing fires afterwards.
    void stop();

Q_SIGNALS:
    void scrolled(int top);
    void countdownEnded();
    void collapseShows(const QRect &visible);

private:
    void scheduleScroll();

    AboutTiming timing_;

    QTimer scrollTimer_;
    bool scrolling_ = false;
    bool firstFrame_ = true;
    std::uint32_t lastFrame_ = 0;
    int areaHeight_ = 0;
    int textHeight_ = 0;
    int top_ = 0;

    QTimer Timer1;
    Countdown countdown_;

    QTimer collapseTimer_;
    std::vector<RectPx> collapseSteps_;
    std::size_t collapseIndex_ = 0;
    std::vector<std::function<void()>> afterCollapse_;
};

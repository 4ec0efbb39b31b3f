// SPDX-License-Identifier: GPL-3.0-or-later

#include "AboutAnimations.h"

#include <QElapsedTimer>

namespace {

std::uint32_t steadyMilliseconds()
{
    static QElapsedTimer sinceStart = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
    return std::uint32_t(sinceStart.elapsed());
}

constexpr int frameGap = 41; // the shortest gap the frame rule allows

} // namespace

AboutAnimations::AboutAnimations(AboutTiming timing, QObject *parent)
    : QObject(parent)
    , timing_(std::move(timing))
{
    if (!timing_.clock)
        timing_.clock = steadyMilliseconds;
    scrollTimer_.setSingleShot(true);
    scrollTimer_.setTimerType(Qt::PreciseTimer);
    connect(&scrollTimer_, &QTimer::timeout, this, &AboutAnimations::scrollTick);
    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setTimerType(Qt::PreciseTimer);
    Timer1.setSingleShot(true);
    connect(&Timer1, &QTimer::timeout, this, &AboutAnimations::countdownTick);
    collapseTimer_.setTimerType(Qt::PreciseTimer);
    connect(&collapseTimer_, &QTimer::timeout, this, &AboutAnimations::collapseTick);
}

void AboutAnimations::startScroll(int areaHeight, int textHeight)
{
    areaHeight_ = areaHeight;
    textHeight_ = textHeight;
    top_ = areaHeight;
    scrolling_ = true;
    firstFrame_ = true;
    scrollTick();
}

void AboutAnimations::scrollTick()
{
    if (!scrolling_)
        return;
    const std::uint32_t now = timing_.clock();
    if (firstFrame_ || scrollFrameDue(now, lastFrame_)) {
        if (!firstFrame_)
            top_ = nextScrollTop(top_, areaHeight_, textHeight_);
        firstFrame_ = false;
        lastFrame_ = timing_.clock();
        Q_EMIT scrolled(top_);
    }
    scheduleScroll();
}

void AboutAnimations::scheduleScroll()
{
    const std::uint32_t since = timing_.clock() - lastFrame_;
    scrollTimer_.start(since >= std::uint32_t(frameGap) ? 0 : frameGap - int(since));
}

void AboutAnimations::startCountdown()
{
    countdown_ = Countdown{};
    Timer1.start(timing_.countdownTick);
}

void AboutAnimations::countdownTick()
{
    // The timer stays off while a tick runs, so a tick never starts inside another.
    Timer1.stop();
    if (countdown_.tick())
        Q_EMIT countdownEnded();
    else
        Timer1.start(timing_.countdownTick);
}

void AboutAnimations::collapse(int widthPx, int heightPx, std::function<void()> then)
{
    afterCollapse_.push_back(std::move(then));
    if (collapseTimer_.isActive())
        return;
    collapseSteps_ = PhaseOutSteps(widthPx, heightPx);
    collapseIndex_ = 0;
    collapseTick();
    collapseTimer_.start(timing_.collapseStep);
}

void AboutAnimations::collapseTick()
{
    if (collapseIndex_ < collapseSteps_.size()) {
        const RectPx &step = collapseSteps_[collapseIndex_++];
        Q_EMIT collapseShows(QRect(QPoint(step.left, step.top), QPoint(step.right - 1, step.bottom - 1)));
        return;
    }
    collapseTimer_.stop();
    const std::vector<std::function<void()>> continuations = std::move(afterCollapse_);
    afterCollapse_.clear();
    for (const std::function<void()> &next : continuations)
        next();
}

void AboutAnimations::stop()
{
    scrolling_ = false;
    scrollTimer_.stop();
    Timer1.stop();
    collapseTimer_.stop();
    afterCollapse_.clear();
}

// SPDX-License-Identifier: GPL-3.0-or-later

#include "WindowRef.h"

QWidget *WindowRef::showOrRaise()
{
    if (!window_)
        window_ = make_();
    if (window_) {
        window_->show();
        window_->raise();
        window_->activateWindow();
    }
    return window_;
}

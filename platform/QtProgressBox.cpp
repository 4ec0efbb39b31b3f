// SPDX-License-Identifier: GPL-3.0-or-later

#include "QtProgressBox.h"

#include "ProgramTexts.h"

#include <QProgressDialog>
#include <climits>

namespace {

// Often enough to look alive, seldom enough to cost the batch nothing.
constexpr qint64 repaintEveryMs = 50;

} // namespace

QtProgressBox::QtProgressBox() = default;
QtProgressBox::~QtProgressBox() = default;

void QtProgressBox::begin(std::size_t total, const QString &folder, bool undo)
{
    folder_ = folder;
    undo_ = undo;
    dialog_ = std::make_unique<QProgressDialog>();
    dialog_->setWindowTitle(Texts::programTitle());
    dialog_->setCancelButtonText(Texts::stopButton());
    dialog_->setLabelText(Texts::progress(0, total, folder, undo));
    // The rename window takes no other input until the work ends.
    dialog_->setWindowModality(Qt::ApplicationModal);
    dialog_->setAutoReset(false);
    dialog_->setAutoClose(false);
    dialog_->setMinimumDuration(500);
    dialog_->setRange(0, int(std::min<std::size_t>(total, INT_MAX)));
    dialog_->setValue(0);
    sinceShown_.start();
}

// A modal dialog runs the events in setValue, which repaints it and takes the press of 停止.
bool QtProgressBox::advance(std::size_t done)
{
    if (!dialog_)
        return true;
    if (sinceShown_.elapsed() >= repaintEveryMs) {
        sinceShown_.restart();
        if (dialog_->isVisible())
            dialog_->setLabelText(Texts::progress(done, std::size_t(dialog_->maximum()), folder_, undo_));
        dialog_->setValue(int(std::min<std::size_t>(done, std::size_t(dialog_->maximum()))));
    }
    return !dialog_->wasCanceled();
}

void QtProgressBox::end() { dialog_.reset(); }

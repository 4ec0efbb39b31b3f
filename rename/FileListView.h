// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QListView>
#include <functional>

// The file list: shows on each row the tip the window gives for it, and none
// where the window gives an empty one.
class FileListView : public QListView {
    Q_OBJECT
public:
    using TipFor = std::function<QString(int row)>;
    using QListView::QListView;
    void setTipFor(TipFor tipFor) { tipFor_ = std::move(tipFor); }

protected:
    bool viewportEvent(QEvent *event) override;

private:
    TipFor tipFor_;
};

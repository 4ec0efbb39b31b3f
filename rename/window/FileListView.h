// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QListView>

// The file list: a row's tip shows under the mouse, and at the row when the
// keyboard makes it the current one. Shift+F10 opens the context menu at the
// current row, as the Menu key does through the platform.
class FileListView : public QListView {
    Q_OBJECT
public:
    using QListView::QListView;

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

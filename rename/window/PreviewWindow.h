// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "PreviewModel.h"

#include <QTimer>
#include <QWidget>

class QCheckBox;
class QHBoxLayout;
class QLabel;
class QTableView;
class RenameSession;

// Every selected file's new name before 确定, kept up to date with the
// session's selection, mode, texts, order and folder; after a click, what it
// did. Beside the rename window, never modal.
class PreviewWindow : public QWidget {
    Q_OBJECT
public:
    PreviewWindow(RenameSession &session, QWidget *beside);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QHBoxLayout *numberingLine();
    void refresh();

    RenameSession &session_;
    PreviewModel model_;
    QLabel *counts_ = nullptr;
    QCheckBox *onlySkipped_ = nullptr;
    QTableView *rows_ = nullptr;
    // Many changes in one go (a typed character, a new listing) make one refresh.
    QTimer pending_;
};

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "FolderPicker.h"

#include <QFileDialog>
#include <QPointer>

// Qt's folder dialog, owned by no window and not modal: the program's windows
// stay usable while it is open. Asked again while it is open, it comes to the
// front and the first request gets the answer.
class QtFolderPicker : public FolderPicker {
public:
    std::optional<QString> pick(const QString &title) override;

private:
    QPointer<QFileDialog> open_;
};

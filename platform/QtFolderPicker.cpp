// SPDX-License-Identifier: GPL-3.0-or-later

#include "QtFolderPicker.h"

#include <QDir>
#include <QEventLoop>

std::optional<QString> QtFolderPicker::pick(const QString &title)
{
    if (open_) {
        open_->raise();
        open_->activateWindow();
        return std::nullopt;
    }
    QFileDialog dialog(nullptr, title, QDir::rootPath());
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setWindowModality(Qt::NonModal);
    open_ = &dialog;
    QEventLoop loop;
    QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
    dialog.show();
    loop.exec();
    open_ = nullptr;
    if (dialog.result() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

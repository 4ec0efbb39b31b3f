#include "QtFolderPicker.h"

#include <QDir>
#include <QFileDialog>

std::optional<QString> QtFolderPicker::pick(const QString &title)
{
    const QString path = QFileDialog::getExistingDirectory(nullptr, title, QDir::rootPath());
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

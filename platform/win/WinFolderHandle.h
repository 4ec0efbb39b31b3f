// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "../FolderHandle.h"

#include <QString>

// On Windows a folder is addressed by its path.
class WinFolderHandle : public FolderHandle {
public:
    explicit WinFolderHandle(QString path)
        : path_(std::move(path))
    {
    }
    // The full path of a name inside the folder.
    QString pathOf(const QString &name) const
    {
        return path_.endsWith(QLatin1Char('\\')) ? path_ + name : path_ + QLatin1Char('\\') + name;
    }

private:
    QString path_;
};

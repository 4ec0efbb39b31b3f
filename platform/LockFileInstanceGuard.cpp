// SPDX-License-Identifier: GPL-3.0-or-later

#include "LockFileInstanceGuard.h"

#include <QDir>
#include <QStandardPaths>

LockFileInstanceGuard::LockFileInstanceGuard(const QString &folder)
{
    QString dir = folder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) : folder;
    if (dir.isEmpty())
        dir = QDir::tempPath();
    lock_ = std::make_unique<QLockFile>(dir + QStringLiteral("/quillbox.lock"));
    owned_ = lock_->tryLock(0);
}

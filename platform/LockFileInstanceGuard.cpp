#include "LockFileInstanceGuard.h"

#include <QDir>
#include <QStandardPaths>

LockFileInstanceGuard::LockFileInstanceGuard()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    lock_ = std::make_unique<QLockFile>(dir + QStringLiteral("/quillbox.lock"));
    owned_ = lock_->tryLock(0);
}

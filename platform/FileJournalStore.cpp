// SPDX-License-Identifier: GPL-3.0-or-later

#include "FileJournalStore.h"

#include <QDir>
#include <QFileInfo>

FileJournalStore::FileJournalStore(QString path, int lockWait)
    : path_(std::move(path))
    , lockWait_(lockWait)
{
}

QString FileJournalStore::defaultPath()
{
#ifdef _WIN32
    // The user's local application data, which no roaming profile carries away.
    const QString state = qEnvironmentVariable("LOCALAPPDATA");
    if (state.isEmpty() || QDir::isRelativePath(state))
        return {};
#else
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state)) {
        // Without a home of its own, no folder is the user's: no journal rather than one in "/".
        const QString home = qEnvironmentVariable("HOME");
        if (home.isEmpty() || QDir::isRelativePath(home))
            return {};
        state = home + QStringLiteral("/.local/state");
    }
#endif
    return state + QStringLiteral("/quillbox/last-batch.journal");
}

bool FileJournalStore::lock(bool wait)
{
    // Without a safe state folder no journal is written, and there is nothing to hold.
    if (!stateFolderReady())
        return true;
    if (!lock_)
        lock_ = std::make_unique<QLockFile>(path_ + QStringLiteral(".lock"));
    if (lock_->tryLock(0))
        return true;
    // Another copy holds a lock file it has made. Where none could be made (a
    // full disk, a folder in its place), no journal can be either: the batch
    // goes on to ask whether to rename without one.
    const QFileInfo held(lock_->fileName());
    if (!held.isFile() || held.isSymLink()) {
        unusable_ = true;
        return true;
    }
    return wait && lock_->tryLock(lockWait_);
}

FileJournalStore::~FileJournalStore() { release(); }

void FileJournalStore::unlock()
{
    release();
    unusable_ = false;
    if (lock_)
        lock_->unlock();
}

// SPDX-License-Identifier: GPL-3.0-or-later

#include "FileJournalStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

bool syncToDisk(QFile &file)
{
    if (!file.flush())
        return false;
#ifdef _WIN32
    return _commit(file.handle()) == 0;
#else
    return fsync(file.handle()) == 0;
#endif
}

} // namespace

FileJournalStore::FileJournalStore(QString path)
    : path_(std::move(path))
{
}

QString FileJournalStore::defaultPath()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/quillbox/last-batch.journal");
}

bool FileJournalStore::start(const std::string &text)
{
    if (!QDir().mkpath(QFileInfo(path_).path()))
        return false;
    // Written aside and moved into place: a crash leaves the old journal or the new one whole.
    QSaveFile file(path_);
    return file.open(QIODevice::WriteOnly) && file.write(text.data(), qint64(text.size())) == qint64(text.size())
           && file.commit();
}

bool FileJournalStore::append(const std::string &text, bool sync)
{
    QFile file(path_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    if (file.write(text.data(), qint64(text.size())) != qint64(text.size()))
        return false;
    return sync ? syncToDisk(file) : file.flush();
}

std::optional<std::string> FileJournalStore::read()
{
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll().toStdString();
}

bool FileJournalStore::exists() { return QFile::exists(path_); }

void FileJournalStore::clear() { QFile::remove(path_); }

// SPDX-License-Identifier: GPL-3.0-or-later

#include "../FileJournalStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <io.h>
#include <limits>

namespace {

bool syncToDisk(QFile &file) { return file.flush() && _commit(file.handle()) == 0; }

QString previousPath(const QString &path) { return path + QStringLiteral(".previous"); }

// Whether `path` is free or a plain file: the journal never moves aside a
// folder or a link that the user made there.
bool freeOrFile(const QString &path)
{
    const QFileInfo entry(path);
    return !entry.isSymLink() && (!entry.exists() || entry.isFile());
}

} // namespace

bool FileJournalStore::start(const std::string &text)
{
    const QString previous = previousPath(path_);
    if (unusable_ || path_.isEmpty() || !QDir().mkpath(QFileInfo(path_).path()) || !freeOrFile(path_)
        || !freeOrFile(previous))
        return false;
    QFile::remove(previous);
    const bool aside = QFile::rename(path_, previous);
    // Written aside and moved into place: a crash leaves the old journal or the new one whole.
    QSaveFile file(path_);
    const bool written = file.open(QIODevice::WriteOnly)
                         && file.write(text.data(), qint64(text.size())) == qint64(text.size()) && file.commit();
    if (!written && aside)
        QFile::rename(previous, path_);
    return written;
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

std::optional<std::string> FileJournalStore::read() { return readEnd(std::numeric_limits<std::size_t>::max()); }

std::optional<std::string> FileJournalStore::readEnd(std::size_t bytes)
{
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    if (std::size_t(file.size()) > bytes && !file.seek(file.size() - qint64(bytes)))
        return std::nullopt;
    return file.readAll().toStdString();
}

bool FileJournalStore::exists() { return QFile::exists(path_); }

void FileJournalStore::clear()
{
    if (freeOrFile(path_))
        QFile::remove(path_);
}

void FileJournalStore::restorePrevious()
{
    if (!freeOrFile(path_) || !freeOrFile(previousPath(path_)))
        return;
    QFile::remove(path_);
    QFile::rename(previousPath(path_), path_);
}

bool FileJournalStore::stateFolderReady() const { return !path_.isEmpty() && QDir().mkpath(QFileInfo(path_).path()); }

// Every append opens the journal anew here.
void FileJournalStore::release() {}

// SPDX-License-Identifier: GPL-3.0-or-later

#include "../FileJournalStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// A descriptor closed when it goes out of scope.
struct Fd {
    int fd = -1;
    explicit Fd(int value)
        : fd(value)
    {
    }
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
    Fd(Fd &&other) noexcept
        : fd(std::exchange(other.fd, -1))
    {
    }
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    explicit operator bool() const { return fd >= 0; }
    // Closes now, and tells whether what was written got through.
    bool close() { return ::close(std::exchange(fd, -1)) == 0; }
};

// The journal's folder, made 0700 if missing, and used only while it is a real
// folder of the user's own that nobody else may write in: another user's
// folder, or a link to one, could send the journal anywhere.
Fd openStateFolder(const QString &journalPath)
{
    if (journalPath.isEmpty())
        return Fd(-1);
    const QString folderPath = QFileInfo(journalPath).path();
    const QByteArray folder = QFile::encodeName(folderPath);
    if (!QDir().mkpath(QFileInfo(folderPath).path()))
        return Fd(-1);
    if (::mkdir(folder.constData(), 0700) != 0 && errno != EEXIST)
        return Fd(-1);
    Fd dir(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat st {};
    if (!dir || fstat(dir.fd, &st) != 0 || st.st_uid != geteuid() || (st.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return Fd(-1);
    return dir;
}

QByteArray nameOf(const QString &path) { return QFile::encodeName(QFileInfo(path).fileName()); }
QByteArray previousName(const QString &path) { return nameOf(path) + ".previous"; }

// Whether `name` is free or a plain file: the journal never moves aside a
// folder or a link that the user made there.
bool freeOrFile(int dirFd, const QByteArray &name)
{
    struct stat st {};
    return fstatat(dirFd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0 ? errno == ENOENT : S_ISREG(st.st_mode);
}

bool writeAll(int fd, const std::string &text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t wrote = ::write(fd, text.data() + done, text.size() - done);
        if (wrote < 0 && errno == EINTR)
            continue;
        if (wrote <= 0)
            return false;
        done += std::size_t(wrote);
    }
    return true;
}

} // namespace

// Written to a new file beside it and moved over it: a crash leaves the old
// journal or the new one whole, and nothing is ever written through a link.
bool FileJournalStore::start(const std::string &text)
{
    release();
    Fd dir = openStateFolder(path_);
    const QByteArray name = nameOf(path_);
    if (unusable_ || !dir || !freeOrFile(dir.fd, name) || !freeOrFile(dir.fd, previousName(path_)))
        return false;
    const QByteArray temporary = name + ".new-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
    Fd file(
        openat(dir.fd, temporary.constData(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    const bool written = file && writeAll(file.fd, text) && fsync(file.fd) == 0;
    // The journal before it stays aside, for a batch that turns out to rename nothing.
    bool aside = false;
    if (written) {
        aside = renameat(dir.fd, name.constData(), dir.fd, previousName(path_).constData()) == 0;
        if (!aside) // there was none: nor may an older one come back
            unlinkat(dir.fd, previousName(path_).constData(), 0);
    }
    if (!written || renameat(dir.fd, temporary.constData(), dir.fd, name.constData()) != 0) {
        if (aside)
            renameat(dir.fd, previousName(path_).constData(), dir.fd, name.constData());
        unlinkat(dir.fd, temporary.constData(), 0);
        return false;
    }
    if (fsync(dir.fd) != 0)
        return false;
    appending_ = std::exchange(file.fd, -1);
    return true;
}

void FileJournalStore::release()
{
    if (appending_ >= 0)
        ::close(std::exchange(appending_, -1));
}

bool FileJournalStore::append(const std::string &text, bool sync)
{
    if (appending_ >= 0)
        return writeAll(appending_, text) && (!sync || fsync(appending_) == 0);
    Fd dir = openStateFolder(path_);
    if (!dir)
        return false;
    Fd file(openat(dir.fd, nameOf(path_).constData(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC));
    return file && writeAll(file.fd, text) && (!sync || fsync(file.fd) == 0) && file.close();
}

std::optional<std::string> FileJournalStore::read() { return readEnd(std::numeric_limits<std::size_t>::max()); }

std::optional<std::string> FileJournalStore::readEnd(std::size_t bytes)
{
    Fd dir = openStateFolder(path_);
    if (!dir)
        return std::nullopt;
    Fd file(openat(dir.fd, nameOf(path_).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    struct stat st {};
    if (!file || fstat(file.fd, &st) != 0)
        return std::nullopt;
    const std::size_t size = std::size_t(st.st_size);
    if (size > bytes && lseek(file.fd, off_t(size - bytes), SEEK_SET) < 0)
        return std::nullopt;
    std::string text;
    text.reserve(std::min(size, bytes));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(file.fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            return text;
        text.append(buffer, std::size_t(got));
    }
}

bool FileJournalStore::exists()
{
    struct stat st {};
    return !path_.isEmpty() && ::lstat(QFile::encodeName(path_).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

void FileJournalStore::clear()
{
    release();
    Fd dir = openStateFolder(path_);
    if (dir && freeOrFile(dir.fd, nameOf(path_)))
        unlinkat(dir.fd, nameOf(path_).constData(), 0);
}

void FileJournalStore::restorePrevious()
{
    release();
    Fd dir = openStateFolder(path_);
    if (!dir)
        return;
    const QByteArray name = nameOf(path_);
    if (!freeOrFile(dir.fd, name) || !freeOrFile(dir.fd, previousName(path_)))
        return;
    if (renameat(dir.fd, previousName(path_).constData(), dir.fd, name.constData()) != 0)
        unlinkat(dir.fd, name.constData(), 0);
}

bool FileJournalStore::stateFolderReady() const { return bool(openStateFolder(path_)); }

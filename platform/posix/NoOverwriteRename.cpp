#include "NoOverwriteRename.h"

#include <QString>
#include <cerrno>
#include <string>
#include <unistd.h>

namespace {

enum class Move { Done, Taken, Failed };

Move moveNoReplace(PosixCalls &sys, int dirFd, const NameBytes &from, const NameBytes &to)
{
    int err = sys.renameNoReplace(dirFd, from.c_str(), to.c_str());
    if (err == 0)
        return Move::Done;
    if (err == EEXIST)
        return Move::Taken;
    if (err != EINVAL && err != ENOSYS && err != EOPNOTSUPP)
        return Move::Failed;

    // The file system lacks the flag; a hard link never replaces an entry either.
    err = sys.link(dirFd, from.c_str(), to.c_str());
    if (err == EEXIST)
        return Move::Taken;
    if (err != 0)
        return Move::Failed;
    if (sys.unlink(dirFd, from.c_str()) != 0) {
        sys.unlink(dirFd, to.c_str());
        return Move::Failed;
    }
    return Move::Done;
}

bool differOnlyInCase(const NameBytes &a, const NameBytes &b)
{
    const QString left = QString::fromUtf8(a.data(), static_cast<qsizetype>(a.size()));
    const QString right = QString::fromUtf8(b.data(), static_cast<qsizetype>(b.size()));
    return left.compare(right, Qt::CaseInsensitive) == 0;
}

// Whether the taken name `to` is `from` itself, as on a file system that ignores case.
bool namesOneFile(PosixCalls &sys, int dirFd, const NameBytes &from, const NameBytes &to)
{
    struct stat a {};
    struct stat b {};
    if (sys.stat(dirFd, from.c_str(), a) != 0 || sys.stat(dirFd, to.c_str(), b) != 0)
        return false;
    return (a.st_dev == b.st_dev && a.st_ino == b.st_ino) || differOnlyInCase(from, to);
}

bool renameThroughTemporary(PosixCalls &sys, int dirFd, const NameBytes &from, const NameBytes &to)
{
    const std::string stem = "~quillbox-" + std::to_string(getpid()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        const NameBytes temporary = stem + std::to_string(attempt) + ".tmp";
        const Move first = moveNoReplace(sys, dirFd, from, temporary);
        if (first == Move::Taken)
            continue;
        if (first == Move::Failed)
            return false;
        if (moveNoReplace(sys, dirFd, temporary, to) == Move::Done)
            return true;
        moveNoReplace(sys, dirFd, temporary, from);
        return false;
    }
    return false;
}

} // namespace

bool renameNoOverwrite(PosixCalls &sys, int dirFd, const NameBytes &from, const NameBytes &to)
{
    if (from == to)
        return true;
    switch (moveNoReplace(sys, dirFd, from, to)) {
    case Move::Done:
        return true;
    case Move::Taken:
        return namesOneFile(sys, dirFd, from, to) && renameThroughTemporary(sys, dirFd, from, to);
    case Move::Failed:
        break;
    }
    return false;
}

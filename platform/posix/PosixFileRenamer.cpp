#include "PosixFileRenamer.h"

#include "NoOverwriteRename.h"

#include <fcntl.h>
#include <unistd.h>

std::size_t PosixFileRenamer::renameInFolder(const NameBytes &folder,
                                             const std::vector<RenameRequest> &requests)
{
    const int dirFd = open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0)
        return 0;
    std::size_t done = 0;
    for (const RenameRequest &request : requests) {
        if (isPlainFileName(request.from) && isPlainFileName(request.to)
            && renameNoOverwrite(calls_, dirFd, request.from, request.to))
            ++done;
    }
    close(dirFd);
    return done;
}

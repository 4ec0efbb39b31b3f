#include "PosixFolderLister.h"

#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>

namespace {

struct DirCloser {
    void operator()(DIR *dir) const { closedir(dir); }
};

// A regular file, or a symbolic link that leads to one. The entry type from
// readdir spares a stat call for the common case.
bool isListableFile(int dirFd, const dirent &entry)
{
    if (entry.d_type == DT_REG)
        return true;
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN)
        return false;
    struct stat st {};
    return fstatat(dirFd, entry.d_name, &st, 0) == 0 && S_ISREG(st.st_mode);
}

} // namespace

std::optional<std::vector<NameBytes>> PosixFolderLister::listFiles(const NameBytes &folder)
{
    std::unique_ptr<DIR, DirCloser> dir(opendir(folder.c_str()));
    if (!dir)
        return std::nullopt;
    const int dirFd = dirfd(dir.get());

    std::vector<NameBytes> names;
    while (const dirent *entry = readdir(dir.get())) {
        if (entry->d_name[0] == '.')
            continue;
        if (isListableFile(dirFd, *entry))
            names.emplace_back(entry->d_name);
    }
    return names;
}

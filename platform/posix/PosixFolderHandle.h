// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "../FolderHandle.h"
#include "../NativeNames.h"

#include <memory>
#include <vector>

// One entry as a listing saw it: whether a rename takes it, a plain file or a
// link to one.
struct FolderEntry {
    NameBytes name;
    bool file;
};

// A folder open as an O_PATH descriptor; every name is resolved relative to it.
class PosixFolderHandle : public FolderHandle {
public:
    explicit PosixFolderHandle(int fd)
        : fd_(fd)
    {
    }
    ~PosixFolderHandle() override;
    PosixFolderHandle(const PosixFolderHandle &) = delete;
    PosixFolderHandle &operator=(const PosixFolderHandle &) = delete;

    // Nothing when the path is not a folder that can be opened.
    static std::shared_ptr<PosixFolderHandle> open(const NameBytes &path);
    int fd() const { return fd_; }
    FolderIdentity identity() const override;
    // Only on local file systems that keep nanoseconds.
    std::optional<FolderStamp> stamp() const override;

    // What a listing saw: the stamp taken before it read the folder, and every entry.
    void rememberListing(const FolderStamp &before, std::vector<FolderEntry> entries);
    // Those entries, while the stamp proves the folder unchanged since; else nothing.
    const std::vector<FolderEntry> *entriesIfUnchanged() const;

private:
    int fd_;
    std::optional<FolderStamp> listedStamp_;
    std::vector<FolderEntry> listedEntries_;
};

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "../FolderHandle.h"
#include "../NativeNames.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Every entry as a listing saw it, with whether a rename takes it (a plain
// file or a link to one); the names packed in one buffer, so that a folder of
// 100,000 files costs no allocation a name.
class FolderEntries {
public:
    void add(std::string_view name, bool file)
    {
        names_.append(name);
        ends_.push_back(names_.size());
        files_.push_back(file);
    }
    template <class Take> void forEach(Take take) const
    {
        std::size_t begin = 0;
        for (std::size_t i = 0; i < ends_.size(); begin = ends_[i++])
            take(std::string_view(names_).substr(begin, ends_[i] - begin), bool(files_[i]));
    }

private:
    std::string names_;
    std::vector<std::size_t> ends_;
    std::vector<bool> files_;
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
    void rememberListing(const FolderStamp &before, FolderEntries entries);
    // Those entries, while the stamp proves the folder unchanged since; else nothing.
    const FolderEntries *entriesIfUnchanged() const;

private:
    int fd_;
    std::optional<FolderStamp> listedStamp_;
    FolderEntries listedEntries_;
};

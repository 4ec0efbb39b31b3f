// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "JournalStore.h"

#include <QLockFile>
#include <QString>
#include <memory>

// The journal as one file in the user's state folder ($XDG_STATE_HOME, else
// ~/.local/state; on Windows %LOCALAPPDATA%), replaced whole at the start of each batch. On POSIX the
// folder must be the user's own and closed to others, and no file in it is
// reached through a symbolic link; where it is not so, no journal is written.
// Nor is one where something else than a file of ours has the journal's name.
class FileJournalStore : public JournalStore {
public:
    // The journal at `path`; by default quillbox/last-batch.journal in the
    // state folder. Another copy holding it is waited for `lockWait` ms, by
    // default long enough for its batch of 100,000 files.
    explicit FileJournalStore(QString path = defaultPath(), int lockWait = 10000);
    ~FileJournalStore() override;
    FileJournalStore(const FileJournalStore &) = delete;
    FileJournalStore &operator=(const FileJournalStore &) = delete;
    static QString defaultPath();

    bool start(const std::string &text) override;
    bool append(const std::string &text, bool sync) override;
    std::optional<std::string> read() override;
    std::optional<std::string> readEnd(std::size_t bytes) override;
    bool exists() override;
    void clear() override;
    void restorePrevious() override;
    bool lock(bool wait = true) override;
    void unlock() override;

private:
    // The state folder exists and is safe to hold the journal.
    bool stateFolderReady() const;
    // Closes the journal that start() left open for the batch's appends.
    void release();

    QString path_;
    int lockWait_;
    std::unique_ptr<QLockFile> lock_;
    // The journal start() wrote, kept open until the batch ends, so that the
    // records of a batch on a FUSE mount, one a file, cost a write each; -1 where none.
    int appending_ = -1;
    // The lock could not be made, so neither can the journal, until unlock.
    bool unusable_ = false;
};

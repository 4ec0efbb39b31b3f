// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "JournalStore.h"

#include <QString>

// The journal as one file in the user's state folder ($XDG_STATE_HOME, else
// ~/.local/state), replaced whole at the start of each batch. On POSIX the
// folder must be the user's own and closed to others, and no file in it is
// reached through a symbolic link; where it is not so, no journal is written.
class FileJournalStore : public JournalStore {
public:
    // The journal at `path`; by default quillbox/last-batch.journal in the state folder.
    explicit FileJournalStore(QString path = defaultPath());
    static QString defaultPath();

    bool start(const std::string &text) override;
    bool append(const std::string &text, bool sync) override;
    std::optional<std::string> read() override;
    bool exists() override;
    void clear() override;
    void restorePrevious() override;

private:
    QString path_;
};

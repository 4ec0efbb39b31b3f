// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "JournalStore.h"

#include <QString>

// The journal as one file in the user's state folder ($XDG_STATE_HOME, else
// ~/.local/state), replaced whole at the start of each batch.
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

private:
    QString path_;
};

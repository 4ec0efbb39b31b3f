// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string>

// Where the journal of the last rename batch is kept: written before the first
// rename, appended to as the renames proceed, read back to undo them.
class JournalStore {
public:
    virtual ~JournalStore() = default;
    // Replaces the journal with `text`, keeping the one before it aside; true
    // once it is on disk. On false the journal before it is as it was. A batch
    // calls it on a thread of its own while it reads the folder, and calls
    // nothing else of the store until it has returned.
    virtual bool start(const std::string &text) = 0;
    // Adds to the journal; with `sync`, returns once it is on disk.
    virtual bool append(const std::string &text, bool sync) = 0;
    // The journal as stored; nothing when there is none.
    virtual std::optional<std::string> read() = 0;
    // The journal's last `bytes` bytes, or all of it when it is shorter.
    virtual std::optional<std::string> readEnd(std::size_t bytes)
    {
        std::optional<std::string> text = read();
        if (text && text->size() > bytes)
            text->erase(0, text->size() - bytes);
        return text;
    }
    // Whether there is a journal, without reading it.
    virtual bool exists() = 0;
    // Forgets the journal.
    virtual void clear() = 0;
    // Forgets the journal and brings back the one kept aside by start, for a
    // batch that renamed nothing.
    virtual void restorePrevious() = 0;
    // Holds the journal for one batch or one undo, so that another copy of the
    // program never interleaves with it; false when another copy holds it
    // past a short wait, or at once without `wait`. Without a place for a
    // journal there is nothing to hold.
    virtual bool lock(bool wait = true) = 0;
    virtual void unlock() = 0;
};

// The journal held while it lives; made only once lock() said yes.
class JournalHold {
public:
    explicit JournalHold(JournalStore &journal)
        : journal_(&journal)
    {
    }
    ~JournalHold() { journal_->unlock(); }
    JournalHold(const JournalHold &) = delete;
    JournalHold &operator=(const JournalHold &) = delete;

private:
    JournalStore *journal_;
};

// SPDX-License-Identifier: GPL-3.0-or-later

// The undo journal as anyone may leave it: read, then undone against a folder
// that exists only in memory, so nothing on disk can be touched.
#include "RenameBatch.h"
#include "RenameJournal.h"

#include <cstdlib>
#include <string>

namespace {

constexpr FolderIdentity memoryFolder{1, 1};

struct MemoryHandle : FolderHandle {
    FolderIdentity identity() const override { return memoryFolder; }
};

// Knows one folder, "/fuzz", whose every name exists; records what undo asks of it.
struct MemoryRenamer : FileRenamer {
    std::vector<RenameRequest> asked;
    std::shared_ptr<FolderHandle> openFolder(const NameBytes &path) override
    {
        return path == "/fuzz" ? std::make_shared<MemoryHandle>() : nullptr;
    }
    struct Moves : FolderMoves {
        std::vector<RenameRequest> &asked;
        explicit Moves(std::vector<RenameRequest> &to)
            : asked(to)
        {
        }
        RenameOutcome move(std::size_t, const RenameRequest &request, MoveOrder) override
        {
            asked.push_back(request);
            return {RenameStatus::Renamed, 0};
        }
    };
    std::unique_ptr<FolderMoves> movesIn(const FolderHandle &, const Intend &) override
    {
        return std::make_unique<Moves>(asked);
    }
    std::optional<bool> findsOtherSpelling(const FolderHandle &, const NameBytes &, const NameBytes &) override
    {
        return false;
    }
    // Holds the names "a", "aa" ... up to 64 letters, of even length.
    bool readFolder(const FolderHandle &, const TakeEntry &take) override
    {
        for (std::size_t length = 2; length <= 64; length += 2)
            take(NameBytes(length, 'a'), true);
        return true;
    }
};

struct TextJournal : JournalStore {
    std::optional<std::string> text;
    bool start(const std::string &) override { return false; }
    bool append(const std::string &, bool) override { return false; }
    std::optional<std::string> read() override { return text; }
    bool exists() override { return text.has_value(); }
    void clear() override { text.reset(); }
    void restorePrevious() override {}
    bool lock(bool) override { return true; }
    void unlock() override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    const auto parsed = parseJournal(text);
    MemoryRenamer renamer;
    TextJournal journal;
    journal.text = text;
    const UndoReport report = undoLastBatch(renamer, journal);
    // Undo acts only on a journal it read whole, and only by taking its own pairs back.
    if (!renamer.asked.empty()) {
        const auto *batch = std::get_if<Journal>(&parsed);
        if (!batch || report.refused || batch->folder != "/fuzz")
            std::abort();
        for (const RenameRequest &back : renamer.asked) {
            bool planned = false;
            for (const RenameRequest &pair : batch->pairs)
                planned = planned || (pair.to == back.from && pair.from == back.to);
            if (!planned || !isPlainFileName(back.from) || !isPlainFileName(back.to))
                std::abort();
        }
    }
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later

#include "BatchCase.h"

#include "RenameSession.h"
#include "posix/PosixFileRenamer.h"
#include "posix/PosixFolderLister.h"

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char *const pool[] = {"a",    "b",    "a.txt", "b.txt",    "n_a",      "n_n_a", "img1", "img2",  "img3",
                            "Img2", "IMG3", "A",     "img1.txt", "img2.txt", "a1",    "ab",   "x.y.z", "%1"};
const char *const newTexts[] = {"n_", "img", "a", "x", ".", "", "IMG"};
const char *const findTexts[] = {"a", "1", "img", "x", ".", "A", "2"};
const char *const replacements[] = {"", "b", "2", "n_", "/", "A", "1", ":", " "};

// The bytes a little at a time; zeros once they run out.
struct Bytes {
    std::string_view text;
    std::size_t at = 0;
    unsigned next() { return at < text.size() ? static_cast<unsigned char>(text[at++]) : 0; }
    bool chance(unsigned percent) { return next() % 100 < percent; }
    template <class T, std::size_t n> const char *pick(T (&from)[n]) { return from[next() % n]; }
};

// The listing, its rows put in the order the case asks for.
struct OrderedLister : FolderLister {
    PosixFolderLister real;
    std::vector<NameBytes> rows;
    std::optional<FolderListing> listFiles(const NameBytes &folder) override
    {
        std::optional<FolderListing> listing = real.listFiles(folder);
        if (!listing)
            return listing;
        std::map<NameBytes, std::uint64_t> inodes;
        for (std::size_t i = 0; i < listing->inodes.size(); ++i)
            inodes[listing->names[i]] = listing->inodes[i];
        listing->names = rows;
        listing->inodes.clear();
        for (const NameBytes &row : inodes.empty() ? std::vector<NameBytes>() : rows)
            listing->inodes.push_back(inodes.count(row) ? inodes[row] : 0);
        return listing;
    }
    std::vector<std::int64_t> modificationTimes(const FolderHandle &folder,
                                                const std::vector<NameBytes> &names) override
    {
        return real.modificationTimes(folder, names);
    }
};

// Says yes to every box, and answers the question of the order as the case asks.
struct Silent : MessageBox {
    Answer reply = Answer::Yes;
    bool show(const QString &, MsgStyle, const QString &) override { return true; }
    Answer ask(const QString &, const QString &) override { return reply; }
};

// Presses 停止 once `stopAt` steps are done, as the case asks.
struct StopsAt : ProgressBox {
    std::size_t stopAt = SIZE_MAX;
    void begin(std::size_t, const QString &, bool) override {}
    bool advance(std::size_t done) override { return done < stopAt; }
    void end() override {}
};

struct MemoryJournal : JournalStore {
    std::optional<std::string> text, previous;
    bool start(const std::string &plan) override
    {
        previous = std::exchange(text, plan);
        return true;
    }
    bool append(const std::string &more, bool) override { return text && (*text += more, true); }
    std::optional<std::string> read() override { return text; }
    bool exists() override { return text.has_value(); }
    void clear() override { text.reset(); }
    void restorePrevious() override { text = std::exchange(previous, std::nullopt); }
    bool lock(bool) override { return true; }
    void unlock() override {}
};

// Each file holds its first name, so a file is known by its content; an entry
// that is no file reads as "/".
using Folder = std::map<std::string, std::string>;

Folder read(const std::string &folder)
{
    Folder out;
    DIR *dir = opendir(folder.c_str());
    while (const dirent *entry = dir ? readdir(dir) : nullptr) {
        const std::string name = entry->d_name, path = folder + "/" + name;
        if (name == "." || name == "..")
            continue;
        struct stat st {};
        std::string content = "/";
        if (lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
            content.assign(std::size_t(st.st_size), '\0');
            const int fd = open(path.c_str(), O_RDONLY);
            content.resize(std::size_t(std::max<ssize_t>(0, ::read(fd, content.data(), content.size()))));
            close(fd);
        }
        out[name] = content;
    }
    if (dir)
        closedir(dir);
    return out;
}

std::vector<std::string> contents(const Folder &folder)
{
    std::vector<std::string> out;
    for (const auto &entry : folder)
        out.push_back(entry.second);
    std::sort(out.begin(), out.end());
    return out;
}

} // namespace

void removeBatchCase(const std::string &folder)
{
    for (const auto &entry : read(folder)) {
        const std::string path = folder + "/" + entry.first;
        if (unlink(path.c_str()) != 0)
            rmdir(path.c_str());
    }
    rmdir(folder.c_str());
}

std::optional<std::string> runBatchCase(const std::string &folder, std::string_view text, BatchCaseCount &count,
                                        PosixCalls &calls, bool ignoresCase)
{
    Bytes bytes{text};
    if (mkdir(folder.c_str(), 0700) != 0)
        return "cannot make " + folder;
    OrderedLister lister;
    std::vector<std::string> made; // folded, where the folder ignores case
    for (const char *name : pool) {
        const std::string path = folder + "/" + name;
        if (ignoresCase && std::find(made.begin(), made.end(), foldedName(name)) != made.end())
            continue;
        made.push_back(foldedName(name));
        if (bytes.chance(45)) {
            const int fd = open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY, 0600);
            const bool written = fd >= 0 && write(fd, name, std::char_traits<char>::length(name)) >= 0;
            close(fd);
            if (!written)
                return "cannot write " + path;
            lister.rows.push_back(name);
        } else if (bytes.chance(10)) {
            mkdir(path.c_str(), 0700); // no file: never listed, never replaced
        } else if (bytes.chance(10)) {
            lister.rows.push_back(name); // a row whose file had gone before the listing
        }
    }
    for (std::size_t i = lister.rows.size(); i > 1; --i)
        std::swap(lister.rows[i - 1], lister.rows[bytes.next() % i]);

    PosixFileRenamer renamer(calls);
    Silent messages;
    StopsAt progress;
    MemoryJournal journal;
    RenameSession session(messages, progress, lister, renamer, journal);
    if (!session.takeFolder(folder))
        return std::nullopt;
    for (const NameBytes &row : lister.rows) {
        const std::string path = folder + "/" + row;
        struct stat st {};
        const bool file = lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
        if (file && bytes.chance(8))
            unlink(path.c_str());
        else if (file && bytes.chance(8) && (unlink(path.c_str()) != 0 || mkdir(path.c_str(), 0700) != 0))
            return "cannot turn " + path + " into a folder";
    }
    std::vector<RowRange> selected;
    for (int row = 0; row < int(lister.rows.size()); ++row)
        if (bytes.chance(70))
            selected.push_back({row, row});
    session.setSelection(mergeRanges(selected));
    const auto mode = NamingMode(bytes.next() % 4);
    session.setNaming(mode, {bytes.pick(newTexts), bytes.pick(findTexts), bytes.pick(replacements)});
    if (bytes.chance(30)) // numbers that may collide with the pool's own
        session.setNumbering({bytes.next() % 3, 1 + bytes.next() % 3, int(bytes.next() % 3)});
    messages.reply = bytes.chance(50) ? Answer::Yes : Answer::No;
    if (bytes.chance(20))
        progress.stopAt = 1 + bytes.next() % lister.rows.size();

    const Folder before = read(folder);
    const std::shared_ptr<const BatchPlan> plan = session.currentPlan();
    if (!plan) { // the click stops at its check
        if (!session.renameSelected().outcomes.empty() || read(folder) != before)
            return std::string("a click stopped at its check renamed");
        return std::nullopt;
    }
    const std::vector<RenameRequest> requests = plan->requests();
    // Started from the rows and the folder read once, as while only new names
    // change, the prediction is the one made anew.
    if (const std::shared_ptr<FolderHandle> &handle = session.rows().folder()) {
        FolderSimulation::Seed seed(session.rows().names(), renamer.nameRulesIn(*handle));
        seed.read(renamer, *handle);
        BatchPlan seeded = *plan;
        seeded.predict(renamer, handle.get(), &seed);
        const auto same = [](const RowPlan &a, const RowPlan &b) {
            return a.fate == b.fate && a.holder == b.holder && a.heldBy == b.heldBy && a.caseOnly == b.caseOnly;
        };
        for (const BatchOrder order : {BatchOrder::AsListed, BatchOrder::FreeingNamesFirst})
            if (!std::equal(plan->predictions(order).begin(), plan->predictions(order).end(),
                            seeded.predictions(order).begin(), seeded.predictions(order).end(), same)
                || seeded.waiting() != plan->waiting())
                return std::string("a prediction from the folder read once differs from one made anew");
    }
    const std::vector<RowPlan> predicted
        = plan->predictions(messages.reply == Answer::Yes ? BatchOrder::FreeingNamesFirst : BatchOrder::AsListed);
    count.asked += plan->waiting() > 0;
    for (std::size_t i = 0; i < requests.size(); ++i)
        if (plan->predictions(BatchOrder::AsListed)[i].fate == RowFate::Renamed
            && plan->predictions(BatchOrder::FreeingNamesFirst)[i].fate != RowFate::Renamed)
            return requests[i].from + " -> " + requests[i].to + ": renamed in list order, not when freeing names";
    const std::vector<RenameOutcome> outcomes = session.renameSelected().outcomes;
    ++count.clicked;
    if (outcomes.size() != requests.size())
        return std::string("the click did not tell every row");
    for (std::size_t i = 0; i < requests.size(); ++i) {
        // Stopped, the batch takes no step after the one in hand.
        if (isNotTried(outcomes[i])) {
            if (progress.stopAt == SIZE_MAX)
                return requests[i].from + ": not tried, though nobody stopped the batch";
            ++count.stopped;
            continue;
        }
        ++count.rows;
        const RowFate actual = fateOf(requests[i], outcomes[i]);
        if (actual != predicted[i].fate)
            return requests[i].from + " -> " + requests[i].to + ": predicted " + std::to_string(int(predicted[i].fate))
                   + ", was " + std::to_string(int(actual));
    }
    const Folder after = read(folder);
    if (contents(after) != contents(before))
        return std::string("the click lost or overwrote a file");
    for (const auto &entry : after)
        if (temporaryNumber(entry.first))
            return "the click left " + entry.first + " under a temporary name";
    session.undoLast();
    if (read(folder) != before)
        return std::string("undo did not bring the folder back");
    return std::nullopt;
}

// SPDX-License-Identifier: GPL-3.0-or-later

#include "RenameJournal.h"

#include <QCryptographicHash>
#include <charconv>
#include <limits>
#include <optional>

namespace {

constexpr std::string_view magic = "QUILLBOX-JOURNAL ";

std::optional<std::size_t> number(std::string_view text)
{
    std::size_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

// Reads through a text, a line or a counted run of bytes at a time.
struct Reader {
    std::string_view text;
    std::size_t at = 0;

    // The next line without its line feed; nothing when the text ends first.
    std::optional<std::string_view> line()
    {
        const std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos)
            return std::nullopt;
        const std::string_view out = text.substr(at, end - at);
        at = end + 1;
        return out;
    }
    // `count` bytes; nothing when the text ends first.
    std::optional<std::string_view> bytes(std::size_t count)
    {
        if (text.size() - at < count)
            return std::nullopt;
        const std::string_view out = text.substr(at, count);
        at += count;
        return out;
    }
    bool atEnd() const { return at == text.size(); }
};

// A line of the plan: "<tag> <numbers...>".
std::variant<std::vector<std::size_t>, JournalProblem> fields(Reader &reader, char tag, std::size_t count)
{
    const std::optional<std::string_view> line = reader.line();
    if (!line)
        return JournalProblem::CutShort;
    if (line->size() < 2 || (*line)[0] != tag || (*line)[1] != ' ')
        return JournalProblem::Unreadable;
    std::vector<std::size_t> values;
    std::string_view rest = line->substr(2);
    while (values.size() < count) {
        const std::size_t space = rest.find(' ');
        const std::optional<std::size_t> value = number(rest.substr(0, space));
        if (!value)
            return JournalProblem::Unreadable;
        values.push_back(*value);
        rest = space == std::string_view::npos ? std::string_view() : rest.substr(space + 1);
    }
    if (!rest.empty())
        return JournalProblem::Unreadable;
    return values;
}

// Counted bytes followed by a line feed.
std::variant<NameBytes, JournalProblem> counted(Reader &reader, std::size_t length)
{
    const std::optional<std::string_view> name = reader.bytes(length);
    const std::optional<std::string_view> end = reader.bytes(1);
    if (!name || !end)
        return JournalProblem::CutShort;
    if (*end != "\n")
        return JournalProblem::Unreadable;
    return NameBytes(*name);
}

template <class T> bool failed(const std::variant<T, JournalProblem> &value) { return value.index() == 1; }

// Two names counted on one line, read as one run of bytes. Lengths come from
// the file: a sum past any size is damage, never a wrapped count.
std::variant<std::pair<NameBytes, NameBytes>, JournalProblem> countedPair(Reader &reader, std::size_t first,
                                                                          std::size_t second)
{
    if (first > std::numeric_limits<std::size_t>::max() - second)
        return JournalProblem::Unreadable;
    const auto both = counted(reader, first + second);
    if (failed(both))
        return std::get<JournalProblem>(both);
    const NameBytes &names = std::get<NameBytes>(both);
    return std::pair(names.substr(0, first), names.substr(first));
}

// "I <request> <step> <made length> <source length>", from version 5 the
// source's look (its size one up, so that 0 says none, and its time, wrapped
// round where before the epoch), and the two names.
std::variant<FallbackIntent, JournalProblem> intent(Reader &reader, std::size_t version)
{
    const auto values = fields(reader, 'I', version < 5 ? 4 : 6);
    if (failed(values))
        return std::get<JournalProblem>(values);
    const std::vector<std::size_t> &step = std::get<0>(values);
    auto names = countedPair(reader, step[2], step[3]);
    if (failed(names))
        return std::get<JournalProblem>(names);
    auto &[made, source] = std::get<0>(names);
    const FileLook look = step.size() > 4 ? FileLook{std::int64_t(step[4] - 1), std::int64_t(step[5])} : FileLook{};
    // A size no file has is damage too.
    if (step[1] > std::size_t(FallbackStep::Temporary) || !isPlainFileName(made) || !isPlainFileName(source)
        || look.size < -1)
        return JournalProblem::Unreadable;
    return FallbackIntent{step[0], FallbackStep(step[1]), std::move(made), std::move(source), look};
}

// MD5 is quick on a plan of 100,000 pairs and more than enough to catch damage.
std::string checksum(std::string_view text)
{
    return QCryptographicHash::hash(QByteArrayView(text.data(), qsizetype(text.size())), QCryptographicHash::Md5)
        .toHex()
        .toStdString();
}

bool isAbsolute(const NameBytes &path)
{
#ifdef _WIN32
    return path.size() > 2 && (path[1] == ':' || (path[0] == '\\' && path[1] == '\\'));
#else
    return !path.empty() && path.front() == '/';
#endif
}

// "<tag> <fields...> <checksum>" closing the text before it.
bool sealedBy(std::string_view line, std::string_view before)
{
    const std::size_t space = line.rfind(' ');
    return space != std::string_view::npos && line.substr(space + 1) == checksum(before);
}

} // namespace

std::string journalPlan(const NameBytes &folder, const FolderIdentity &identity,
                        const std::vector<RenameRequest> &pairs, std::int64_t writtenAt, std::uint64_t temporaries)
{
    // A plan of a million pairs is written in one pass into one buffer.
    constexpr std::size_t digits = std::numeric_limits<std::size_t>::digits10 + 1;
    std::size_t size = magic.size() + 2 * digits + folder.size() + 64;
    for (const RenameRequest &pair : pairs)
        size += pair.from.size() + pair.to.size() + 3 * digits + 6;
    std::string out;
    out.reserve(size);
    const auto put = [&out](std::uint64_t value) {
        char text[digits + 1];
        out.append(text, std::to_chars(text, text + sizeof text, value).ptr);
    };
    out += magic;
    put(journalVersion);
    out += "\nF ";
    put(folder.size());
    out += ' ';
    put(identity.device);
    out += ' ';
    put(identity.inode);
    out += ' ';
    put(std::uint64_t(writtenAt));
    out += ' ';
    put(temporaries);
    out += '\n';
    out += folder;
    out += '\n';
    for (const RenameRequest &pair : pairs) {
        out += "P ";
        put(pair.from.size());
        out += ' ';
        put(pair.to.size());
        out += ' ';
        put(pair.inode);
        out += '\n';
        out += pair.from;
        out += pair.to;
        out += '\n';
    }
    const std::string sum = checksum(out);
    out += "B ";
    put(pairs.size());
    out += ' ';
    out += sum;
    out += '\n';
    return out;
}

std::string journalMark(std::size_t index) { return "D " + std::to_string(index) + "\n"; }

std::string journalIntent(const FallbackIntent &step)
{
    return "I " + std::to_string(step.request) + ' ' + std::to_string(int(step.step)) + ' '
           + std::to_string(step.made.size()) + ' ' + std::to_string(step.source.size()) + ' '
           + std::to_string(std::uint64_t(step.look.size + 1)) + ' ' + std::to_string(std::uint64_t(step.look.modified))
           + '\n' + step.made + step.source + '\n';
}

std::string journalBlock(const std::string &marks) { return marks + "S " + checksum(marks) + "\n"; }

std::string journalClosingBlocks(const std::string &marks)
{
    return (marks.empty() ? std::string() : journalBlock(marks)) + journalBlock(std::string(journalClosing));
}

bool journalMayBeInterrupted(std::string_view text)
{
    // Only a block of the closing line alone has this seal. A record before it
    // may end in any bytes, a closing line among them, since names may hold "\n".
    static const std::string closed = journalBlock(std::string(journalClosing));
    static const std::string mended = journalBlock(std::string(journalMended));
    const auto endsWith = [text](const std::string &block) {
        return text.size() >= block.size() && text.substr(text.size() - block.size()) == block;
    };
    return !endsWith(closed) && !endsWith(mended);
}

std::variant<Journal, JournalProblem> parseJournal(std::string_view text)
{
    Reader reader{text};
    const std::optional<std::string_view> first = reader.line();
    if (!first)
        return magic.substr(0, text.size()) == text.substr(0, magic.size()) ? JournalProblem::CutShort
                                                                            : JournalProblem::Unreadable;
    if (first->substr(0, magic.size()) != magic)
        return JournalProblem::Unreadable;
    const std::optional<std::size_t> version = number(first->substr(magic.size()));
    if (!version || *version == 0)
        return JournalProblem::Unreadable;
    if (*version > std::size_t(journalVersion))
        return JournalProblem::NewerVersion;
    // Version 1 is read no more.
    if (*version < 2)
        return JournalProblem::Unreadable;

    Journal journal;
    const auto folderFields = fields(reader, 'F', *version < 5 ? 3 : 5);
    if (failed(folderFields))
        return std::get<JournalProblem>(folderFields);
    const std::vector<std::size_t> &folderValues = std::get<0>(folderFields);
    journal.folderIdentity = {folderValues[1], folderValues[2]};
    journal.version = int(*version);
    if (folderValues.size() > 3) {
        journal.writtenAt = std::int64_t(folderValues[3]);
        journal.temporaries = folderValues[4];
    }
    const auto folder = counted(reader, folderValues[0]);
    if (failed(folder))
        return std::get<JournalProblem>(folder);
    journal.folder = std::get<NameBytes>(folder);

    for (;;) {
        if (reader.atEnd())
            return JournalProblem::CutShort;
        if (text[reader.at] == 'B')
            break;
        // Version 2 knew no inode numbers: its files are taken as they are found.
        const auto values = fields(reader, 'P', *version == 2 ? 2 : 3);
        if (failed(values))
            return std::get<JournalProblem>(values);
        const std::vector<std::size_t> &pair = std::get<0>(values);
        auto names = countedPair(reader, pair[0], pair[1]);
        if (failed(names))
            return std::get<JournalProblem>(names);
        auto &[from, to] = std::get<0>(names);
        journal.pairs.push_back({std::move(from), std::move(to), pair.size() > 2 ? pair[2] : 0});
    }
    const std::string_view plan = text.substr(0, reader.at);
    const std::optional<std::string_view> countLine = reader.line();
    if (!countLine)
        return JournalProblem::CutShort;
    if (!sealedBy(*countLine, plan)
        || countLine->substr(0, countLine->rfind(' ')) != "B " + std::to_string(journal.pairs.size()))
        return JournalProblem::Unreadable;
    // Only names that stay inside the folder, in a folder named whole.
    if (!isAbsolute(journal.folder))
        return JournalProblem::Unreadable;
    for (const RenameRequest &pair : journal.pairs)
        if (!isPlainFileName(pair.from) || !isPlainFileName(pair.to))
            return JournalProblem::Unreadable;

    journal.done.assign(journal.pairs.size(), false);
    // Marks and step records count once their block is sealed; what follows
    // the last seal was being written when the program stopped.
    std::size_t blockStart = reader.at;
    std::vector<std::size_t> marks;
    std::vector<FallbackIntent> steps;
    bool closing = false;
    bool mended = false;
    while (!reader.atEnd()) {
        const std::size_t lineStart = reader.at;
        if (text.substr(lineStart, 2) == "I ") {
            auto step = intent(reader, *version);
            // A record cut short was being written when the program stopped.
            if (failed(step) && std::get<JournalProblem>(step) == JournalProblem::CutShort)
                break;
            if (failed(step))
                return std::get<JournalProblem>(step);
            steps.push_back(std::move(std::get<FallbackIntent>(step)));
            continue;
        }
        const std::optional<std::string_view> line = reader.line();
        if (!line)
            break;
        if (line->substr(0, 2) == "S ") {
            if (!sealedBy(*line, text.substr(blockStart, lineStart - blockStart)))
                return JournalProblem::Unreadable;
            for (const std::size_t index : marks)
                journal.done[index] = true;
            for (FallbackIntent &step : steps) {
                // A step's look ties its pair's file to the batch where no inode number does.
                if (step.request < journal.pairs.size() && step.look.known()
                    && !journal.pairs[step.request].look.known())
                    journal.pairs[step.request].look = step.look;
                // A new request's steps follow the last one's, which were taken whole.
                if (!journal.interrupted.empty() && journal.interrupted.front().request != step.request)
                    journal.interrupted.clear();
                journal.interrupted.insert(journal.interrupted.begin(), std::move(step));
            }
            if (closing || mended)
                journal.interrupted.clear();
            journal.closed = journal.closed || closing;
            marks.clear();
            steps.clear();
            closing = false;
            mended = false;
            blockStart = reader.at;
        } else if (*line == "E") {
            closing = true;
        } else if (*line == "R") {
            mended = true;
        } else {
            const std::optional<std::size_t> index
                = line->substr(0, 2) == "D " ? number(line->substr(2)) : std::nullopt;
            if (!index || *index >= journal.pairs.size())
                return JournalProblem::Unreadable;
            marks.push_back(*index);
        }
    }
    return journal;
}

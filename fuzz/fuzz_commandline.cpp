// SPDX-License-Identifier: GPL-3.0-or-later

// The command line, one argument per NUL-separated part of the input, before
// and after Qt has taken its own options.
#include "CommandLine.h"

#include <QCoreApplication>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    QCoreApplication::setApplicationName(QStringLiteral("Quillbox"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLBOX_VERSION));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QStringList arguments{QStringLiteral("quillbox")};
    std::vector<NameBytes> raw{"quillbox"};
    const std::string input(reinterpret_cast<const char *>(data), size);
    for (std::size_t start = 0; start <= input.size();) {
        const std::size_t end = std::min(input.find('\0', start), input.size());
        raw.push_back(input.substr(start, end - start));
        arguments << QString::fromUtf8(raw.back().data(), qsizetype(raw.back().size()));
        start = end + 1;
    }
    readQuestion(arguments);
    const CommandLine line = readCommandLine(arguments, raw);
    // A folder given is always made whole, and only a run opens one.
    if (line.folder && (line.action != CommandLine::Run || line.folder->empty() || line.folder->front() != '/'))
        std::abort();
    if (line.action == CommandLine::Mistake && line.text.isEmpty())
        std::abort();
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later

#include "CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

void describeOptions(QCommandLineParser &parser)
{
    // Qt's options are single-dash words (-platform, -reverse): read them as
    // words, not as runs of letters that might spell -v or -h.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QStringLiteral("Renames many files of one folder in one go."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FOLDER"), QStringLiteral("The folder whose files to list."),
                                 QStringLiteral("[FOLDER]"));
}

namespace {

// Help and version win over everything else on the line, as in Qt's own parser.
bool answerQuestion(const QCommandLineParser &parser, CommandLine &line)
{
    if (parser.isSet(QStringLiteral("help-all"))) {
        line.action = CommandLine::HelpAll;
    } else if (parser.isSet(QStringLiteral("help"))) {
        line.action = CommandLine::Help;
        line.text = parser.helpText();
    } else if (parser.isSet(QStringLiteral("version"))) {
        line.action = CommandLine::Version;
        line.text = QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion()
                    + QLatin1Char('\n');
    }
    return line.action != CommandLine::Run;
}

} // namespace

CommandLine readQuestion(const QStringList &arguments)
{
    QCommandLineParser parser;
    describeOptions(parser);
    parser.parse(arguments);
    CommandLine line;
    answerQuestion(parser, line);
    return line;
}

CommandLine readCommandLine(const QStringList &arguments, const std::vector<NameBytes> &raw)
{
    QCommandLineParser parser;
    describeOptions(parser);
    const bool understood = parser.parse(arguments);
    CommandLine line;
    if (answerQuestion(parser, line))
        return line;
    const QStringList folders = parser.positionalArguments();
    if (!understood || folders.size() > 1) {
        line.action = CommandLine::Mistake;
        const QString why = understood ? QStringLiteral("Only one folder can be given.") : parser.errorText();
        line.text = why + QLatin1Char('\n') + parser.helpText();
    } else if (!folders.isEmpty()) {
        // No option of ours takes a value, so the one argument left that reads
        // as the folder, the last after any "--", is the folder.
        const auto index = std::size_t(arguments.lastIndexOf(folders.front()));
        line.folder = absolutePath(index < raw.size() ? raw[index] : toNativeName(folders.front()));
    }
    return line;
}

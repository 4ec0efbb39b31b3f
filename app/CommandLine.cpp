// SPDX-License-Identifier: GPL-3.0-or-later

#include "CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {

// Qt's options that QApplication takes for itself, with a value and without.
const QStringList qtOptionsWithValue{"platform",     "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
                                     "qwindowicon",  "qwindowtitle",       "session",       "style",  "stylesheet",
                                     "display",      "geometry",           "name",          "title",  "visual",
                                     "qmljsdebugger"};
const QStringList qtFlags{"reverse", "widgetcount", "nograb", "dograb", "sync", "testability"};

QString optionName(const QString &argument)
{
    QString name = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
    return name.left(name.indexOf(QLatin1Char('=')));
}

} // namespace

CommandLine readCommandLine(const QStringList &arguments, const std::vector<NameBytes> &raw)
{
    QStringList ours{arguments.value(0)};
    std::vector<NameBytes> positional;
    bool onlyFolders = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        const NameBytes bytes = std::size_t(i) < raw.size() ? raw[std::size_t(i)] : toNativeName(argument);
        if (!onlyFolders && argument.startsWith(QLatin1Char('-')) && argument.size() > 1) {
            const QString name = optionName(argument);
            if (qtOptionsWithValue.contains(name)) {
                i += argument.contains(QLatin1Char('=')) ? 0 : 1;
                continue;
            }
            if (qtFlags.contains(name))
                continue;
            onlyFolders = argument == QLatin1String("--");
        } else {
            positional.push_back(bytes);
        }
        ours << argument;
    }

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Renames many files of one folder in one go."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FOLDER"), QStringLiteral("The folder whose files to list."),
                                 QStringLiteral("[FOLDER]"));

    CommandLine line;
    if (!parser.parse(ours) || positional.size() > 1) {
        line.action = CommandLine::Mistake;
        const QString why
            = positional.size() > 1 ? QStringLiteral("Only one folder can be given.") : parser.errorText();
        line.text = why + QLatin1Char('\n') + parser.helpText();
    } else if (parser.isSet(QStringLiteral("help"))) {
        line.action = CommandLine::Help;
        line.text = parser.helpText();
    } else if (parser.isSet(QStringLiteral("version"))) {
        line.action = CommandLine::Version;
        line.text = QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion()
                    + QLatin1Char('\n');
    } else if (!positional.empty()) {
        line.folder = positional.front();
    }
    return line;
}

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "NativeNames.h"

#include <QStringList>
#include <optional>
#include <vector>

class QCommandLineParser;

struct CommandLine {
    enum Action { Run, Help, HelpAll, Version, Mistake };
    Action action = Run;
    QString text;                    // what to print for Help, Version and Mistake
    std::optional<NameBytes> folder; // the folder to open, absolute, as the bytes given
};

// Declares `quillbox [FOLDER]` with --help, --help-all and --version.
void describeOptions(QCommandLineParser &parser);

// Before there is a display: answers only what needs none (--help, --help-all,
// --version), and leaves any option it does not know for Qt, whose own it may be.
CommandLine readQuestion(const QStringList &arguments);

// Reads the arguments Qt has left once it took its own options. `raw` holds the
// same arguments as the bytes given, so that a folder whose name is not UTF-8
// arrives whole.
CommandLine readCommandLine(const QStringList &arguments, const std::vector<NameBytes> &raw);

// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "NativeNames.h"

#include <QStringList>
#include <optional>
#include <vector>

struct CommandLine {
    enum Action { Run, Help, Version, Mistake };
    Action action = Run;
    QString text;                    // what to print for Help, Version and Mistake
    std::optional<NameBytes> folder; // the folder to open, as the bytes given
};

// Reads `quillbox [FOLDER]`, --help and --version. `arguments` are the
// program's arguments as text, `raw` the same as the bytes given, so that a
// folder whose name is not UTF-8 arrives whole. Qt's own options (-style,
// -platform, ...) are left to Qt.
CommandLine readCommandLine(const QStringList &arguments, const std::vector<NameBytes> &raw);

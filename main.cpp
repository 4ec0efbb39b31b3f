// SPDX-License-Identifier: GPL-3.0-or-later

#include "AboutWindow.h"
#include "BookCoverWindow.h"
#include "CommandLine.h"
#include "ProgramLook.h"
#include "RenameWindow.h"
#include "SystemServices.h"
#include "WindowRef.h"

#include <QApplication>
#include <cstdio>

namespace {

void nameTheProgram()
{
    QCoreApplication::setApplicationName(QStringLiteral("Quillbox"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUILLBOX_VERSION));
}

// Reads the command line before anything needs a display, so that --help and
// --version work where there is none.
CommandLine commandLine(int argc, char *argv[])
{
    int probeArgc = argc;
    QCoreApplication probe(probeArgc, argv);
    nameTheProgram();
    return readCommandLine(QCoreApplication::arguments(), programArguments(argc, argv));
}

} // namespace

int main(int argc, char *argv[])
{
    const CommandLine line = commandLine(argc, argv);
    if (line.action != CommandLine::Run) {
        std::fputs(line.text.toLocal8Bit().constData(), line.action == CommandLine::Mistake ? stderr : stdout);
        return line.action == CommandLine::Mistake ? 2 : 0;
    }

    QApplication app(argc, argv);
    nameTheProgram();
    QGuiApplication::setDesktopFileName(QStringLiteral(QUILLBOX_APP_ID));
    applyProgramLook(app);

    SystemServices system;
    const Services services = system.services();

    WindowRef bookCover([] { return new BookCoverWindow; });
    WindowRef about([&]() -> QWidget * {
        auto *window = new AboutWindow(services, bookCover);
        if (window->isLoaded())
            return window;
        delete window;
        return nullptr;
    });

    RenameWindow renameWindow(services, about);
    renameWindow.show();
    if (line.folder)
        renameWindow.startWithFolder(*line.folder);
    const int status = app.exec();
    delete bookCover.window();
    return status;
}

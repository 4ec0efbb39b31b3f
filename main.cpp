// SPDX-License-Identifier: GPL-3.0-or-later

#include "AboutWindow.h"
#include "AfterFirstPaint.h"
#include "BookCoverWindow.h"
#include "CommandLine.h"
#include "DisplayApplication.h"
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

// Answers --help, --help-all and --version before anything needs a display,
// so that they work where there is none.
CommandLine question(int argc, char *argv[])
{
    int probeArgc = argc;
    QCoreApplication probe(probeArgc, argv);
    nameTheProgram();
    return readQuestion(QCoreApplication::arguments());
}

int answer(const CommandLine &line, char *program)
{
    if (line.action == CommandLine::HelpAll)
        printHelpWithQtOptions(program);
    std::fputs(line.text.toLocal8Bit().constData(), line.action == CommandLine::Mistake ? stderr : stdout);
    return line.action == CommandLine::Mistake ? 2 : 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (const CommandLine asked = question(argc, argv); asked.action != CommandLine::Run)
        return answer(asked, argv[0]);

    // Qt takes its own options out of argv; what is left is ours.
    const std::unique_ptr<QApplication> app = applicationOnADisplay(argc, argv);
    nameTheProgram();
    const CommandLine line = readCommandLine(QCoreApplication::arguments(), programArguments(argc, argv));
    if (line.action != CommandLine::Run)
        return answer(line, argv[0]);
    QGuiApplication::setDesktopFileName(QStringLiteral(QUILLBOX_APP_ID));
    applyProgramLook(*app);

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
        runAfterFirstPaint(&renameWindow, [&] { renameWindow.startWithFolder(*line.folder); });
    const int status = QApplication::exec();
    delete bookCover.window();
    return status;
}
